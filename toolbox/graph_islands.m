% GRAPH_ISLANDS  Strongly connected components of the graph of a sparse matrix.
%   [labels, sizes] = graph_islands(A) labels the strongly connected
%   components of the directed graph of the square sparse matrix A (an entry
%   in row i, column j is the edge from j to i; values are not read).  For a
%   symmetric pattern these are the connected components.
%
%   labels  n-by-1 double: the component of each vertex, 1..K, numbered in
%           the order in which a depth-first search from vertices 1, 2, ...
%           completes them (for a symmetric pattern: in the order of their
%           lowest vertex, so vertex 1 has label 1)
%   sizes   K-by-1 double: the number of vertices with label k; for an empty
%           A the 1-by-1 array 0
%
%   Errors: '1 inputs required.', 'Input must be a square sparse matrix.',
%   'Graph too large: 2^31 or more vertices.'
%
%   See also WAVEFRONT, DAG_SEQUENCE.
function [labels, sizes] = graph_islands(A) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'graph_islands is not built; run kelvara_build');
end

%!test
%! A = sparse ([2 1 4 3], [1 2 3 4], 1, 5, 5);
%! [labels, sizes] = graph_islands (A);
%! assert ([labels; sizes], [1; 1; 2; 2; 3; 2; 2; 1]);
%!error <Input must be a square sparse matrix> graph_islands (sparse (2, 3))
