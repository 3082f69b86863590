% WAVEFRONT  Breadth-first search over the directed graph of a sparse matrix.
%   [d, order, pred] = wavefront(A, s, t) searches the graph of the square
%   sparse matrix A from vertex s.  An entry in row i, column j of A is the
%   edge from j to i; the values of A are not read (a stored zero is an
%   edge).  The out-edges of a vertex are taken in stored order (increasing
%   row), which decides ties.  The search stops as soon as vertex t is
%   reached; t = 0 searches every vertex reachable from s.
%
%   s is a double scalar (class double, one element); t is any numeric
%   scalar.  Both are 1-based and truncated toward zero (2.7 is vertex 2).
%
%   d      n-by-1 double: edges on a shortest path from s, 0 at s
%   order  n-by-1 double: 1 for s, then 2, 3, ... in the order of discovery
%   pred   1-by-n double: the vertex from which each vertex was reached,
%          0 for s; the input of ROUTE_UNWIND
%   A vertex not reached has d = -1, order = -1 and pred = 0.
%
%   Errors: '3 inputs required.', 'Input must be a square sparse matrix.',
%   'Invalid scalar.' (s not a double scalar, or t not numeric), 'Graph too
%   large: 2^31 or more vertices.', and with identifier
%   'kelvara:invalidParameter': 'start vertex (S) not a valid vertex.' and
%   'target vertex (T) not a valid vertex.', S and T the truncated values.
%
%   See also ROUTE_UNWIND, GRAPH_ISLANDS, DAG_SEQUENCE.
function [d, order, pred] = wavefront(A, s, t) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'wavefront is not built; run kelvara_build');
end

%!test
%! A = sparse ([2 3], [1 2], 1, 4, 4);    # edges 1->2->3; vertex 4 unreached
%! [d, order, pred] = wavefront (A, 1, 0);
%! assert ([d, order], [0 1; 1 2; 2 3; -1 -1]);
%! assert (pred, [0 1 2 0]);
%!error <start vertex \(5\) not a valid vertex> wavefront (sparse (4, 4), 5, 0)
