% PAIR_GROUPS  Aggregates of a weighted graph: pairs and the vertices joined to them.
%   [q, m] = pair_groups(W, d, g) groups the vertices of the symmetric
%   weighted graph W (a sparse n-by-n double matrix; its diagonal is
%   ignored) for aggregation.  Every vertex outside the logical mask g, in
%   ascending order and not yet grouped, is paired with the ungrouped
%   neighbour j outside g of least badness d(i)*d(j) / (W(i,j)*(d(i)+d(j))),
%   d being the diagonal the smoothing divides by: the share of an error
%   smooth inside the pair that one Jacobi sweep can leave.  A vertex left
%   without a partner then joins the neighbouring group of least badness
%   (its diagonal summed over the group), or stays alone.
%     q  uint32 n-by-1: the 0-based group of every vertex; vertices of g get
%        group m, a ground that takes part in no group
%     m  the number of groups
%   [q, m] = pair_groups(W, d, g, worst) makes only pairs of badness at most
%   worst (8 when absent) and joins at most worst/4, so that no group spans
%   a weak edge between two strong clusters.
%
%   Errors: 'Wrong number of input arguments', 'Wrong number of output
%   arguments', 'First argument must be a real sparse double matrix', 'First
%   argument must be square', 'Second argument must be a real double vector
%   with one entry per vertex', 'Third argument must be a full logical vector
%   with one entry per vertex', 'Fourth argument must be a positive scalar',
%   'Too many vertices for 32-bit group numbers', 'Out of memory'.
%
%   See also GROUP_SUM, LADDER_BUILD.
function [q, m] = pair_groups(W, d, g, worst) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'pair_groups is not built; run kelvara_build');
end
