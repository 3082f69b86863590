% RELABEL_SETS  Detach weakly attached vertices from their trees.
%   [Q, deg] = relabel_sets(A, G) revises the parent vector G (uint32, row
%   or column, n entries: the 0-based parent of each vertex, or n+1 for
%   none) against the weighted graph A (sparse n-by-n double).  For each
%   vertex v, its group weight is A(G(v), v), the entry joining it to the
%   vertex it names, plus A(v, u) for every vertex u that names v (a vertex
%   naming itself counts its diagonal twice).  A vertex whose group weight
%   is less than one eighth of its weighted degree becomes a root of its own
%   (Q(v+1) = v, also for an entry n+1); every other vertex keeps G's entry.
%   The test is strict and in double: a ratio of exactly 1/8 keeps the
%   entry, and so does a NaN ratio (0/0 for an empty column).
%     Q    uint32, G's shape: the revised parent vector
%     deg  double n-by-1: the sum of every stored value of each column of A
%   With the strongest-neighbour vector of HEAVY_EDGE as G, the group weight
%   is the weight of the forest edges at the vertex.  Only real parts of A
%   are read.  Both outputs must be requested.
%
%   Errors: 'Wrong number of input arguments', 'Wrong number of output
%   arguments' (anything but two), 'First input must be a sparse matrix',
%   'Second input must be a vector', 'Input vector must be of type uint32',
%   'Sparse matrix must be of class double' (a sparse logical A), 'First
%   input must be a square matrix', 'Second input must have one entry per
%   column of the first', 'Too many vertices for 32-bit parent indices'
%   (n >= 2^32-1), 'Unsufficient memory'.
%
%   See also HEAVY_EDGE, TREE_TAGS.
function [Q, deg] = relabel_sets(A, G) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'relabel_sets is not built; run kelvara_build');
end

%!test
%! ## vertex 3 names no parent and no vertex names it: it becomes a root
%! A = sparse ([0 1 9; 1 0 0; 9 0 0]);
%! [Q, deg] = relabel_sets (A, uint32 ([1 0 4]));
%! assert (Q, uint32 ([1 0 2]));
%! assert (deg, [10; 1; 9]);
%!error <Wrong number of output arguments> Q = relabel_sets (speye (2), uint32 ([0 1]))
