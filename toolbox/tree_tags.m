% TREE_TAGS  Labels, count and sizes of the trees of a parent vector.
%   [labels, K, sizes] = tree_tags(P) numbers the connected pieces of the
%   graph that joins every vertex to its parent.  P is a uint32 vector (row
%   or column) of n entries: P(i) is the 0-based parent of vertex i-1, or
%   n+1 when it has none; a root names itself or forms a two-vertex cycle
%   with its partner (longer cycles are pieces too).
%     labels  uint32 n-by-1 (a column whatever P's orientation): the piece
%             of each vertex, 1 to K, numbered in order of their lowest
%             vertex not marked n+1; 0 for a vertex marked n+1 that no
%             vertex names
%     K       the number of pieces (double)
%     sizes   double 1-by-K: the number of vertices of each piece; computed
%             only when asked for
%   A vertex marked n+1 that other vertices' parents lead to ends their
%   walk as a root: it is labelled and counted with them.  The output of
%   HEAVY_EDGE, TREE_CLEAVE or RELABEL_SETS is read unchanged.
%
%   Errors: 'Wrong number of input arguments', 'Wrong number of output
%   arguments' (more than three), 'Input must be a vector' (a 0-by-0 array
%   too), 'Input vector must be of type uint32', 'Too many vertices for
%   32-bit parent indices' (n >= 2^32-1), 'Parent entries must be vertex
%   indices below n, or n+1 for none' (an entry n, or above n+1),
%   'Unsufficient memory', 'Out of memory'.
%
%   See also HEAVY_EDGE, TREE_CLEAVE.
function [labels, K, sizes] = tree_tags(P) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'tree_tags is not built; run kelvara_build');
end

%!test
%! [labels, K, sizes] = tree_tags (uint32 ([1 0 2 2]));
%! assert (labels, uint32 ([1; 1; 2; 2]));
%! assert ({K, sizes}, {2, [2 2]});
%!error <Input vector must be of type uint32> tree_tags ([1 0])
