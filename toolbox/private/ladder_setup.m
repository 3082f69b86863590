% LADDER_SETUP  The levels of a Hierarchy, built in one compiled call.
%   [H, M, grounded] = ladder_setup(A, maxdirect, maxlevels, single) builds
%   the levels of the Hierarchy of the real sparse symmetric diagonally
%   dominant matrix A without positive off-diagonal entries, reading A in
%   place.  Each level groups its unknowns in aggregates of about four
%   strongly connected vertices (pairs, then pairs of pairs); the next
%   level's matrix sums the level's over the aggregates.  Levels are made
%   while the last has more than maxdirect unknowns, there are fewer than
%   maxlevels and coarsening goes on.  Vertices held mostly by their
%   diagonal excess, isolated vertices and one vertex of each component
%   without excess (its lowest) take part in no aggregate.
%     H         1-by-L cell of level structs in the Hierarchy format, values
%               of class single when single is true, else double; every
%               field but the workspaces ("lws1", "lws2", "sws1", "sws2",
%               "sws3"), the last level's "chol" and the meta-data
%     M         the last level's matrix, sparse, when it is to be factored;
%               [] when it is solved by diagonal scaling
%     grounded  uint32 n-by-1: each vertex's component among those without
%               diagonal excess, numbered from 1 (0 elsewhere)
%   The finest level holds A in the caller's order.  Aggregation visits
%   its vertices by ascending diagonal and numbers the aggregates in the
%   breadth-first order of A's graph from each component's largest
%   diagonal, so that the coarse levels are local in memory, and alike for
%   a symmetric permutation of A where the values differ.
%
%   Errors: 'Wrong number of input arguments', 'Wrong number of output
%   arguments', 'First argument must be a real sparse double matrix', 'First
%   argument must be square', 'Too many vertices for 32-bit group numbers',
%   'Second argument must be a number of at least 1' (and so for the
%   third), 'Fourth argument must be a scalar, true for single precision',
%   'Too many entries for 32-bit row starts', 'Out of memory'.
%
%   See also LADDER_BUILD, LADDER_DOUBLE.
function [H, M, grounded] = ladder_setup(A, maxdirect, maxlevels, single) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'ladder_setup is not built; run kelvara_build');
end
