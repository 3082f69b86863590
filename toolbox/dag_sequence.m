% DAG_SEQUENCE  Topological order of the graph of a sparse matrix.
%   [order, isdag] = dag_sequence(A) orders the vertices of the directed
%   graph of the square sparse matrix A so that every edge leads from an
%   earlier to a later vertex.  An entry in row i, column j is the edge from
%   j to i, so j comes before i; values are not read, a diagonal entry is a
%   self-loop.  The order is the reverse finishing order of a depth-first
%   search from vertices 1, 2, ... (a graph without edges gives n, ..., 1).
%
%   order  n-by-1 double: the vertices in topological order
%   isdag  1 when the graph is acyclic, 0 when a cycle was found; order is
%          then not an order: its trailing entries hold the vertices that
%          finished before the cycle was met, the others hold 1
%
%   Errors: '1 inputs required.', 'Input must be a noncomplex square sparse
%   matrix.' (a complex matrix is accepted), 'Graph too large: 2^31 or more
%   vertices.'
%
%   See also GRAPH_ISLANDS, WAVEFRONT.
function [order, isdag] = dag_sequence(A) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'dag_sequence is not built; run kelvara_build');
end

%!test
%! A = sparse ([2 3], [1 2], 1, 3, 3);    # edges 1->2->3
%! [order, isdag] = dag_sequence (A);
%! assert ({order, isdag}, {[1; 2; 3], 1});
%! [~, isdag] = dag_sequence (A + A');
%! assert (isdag, 0);
%!error <Input must be a noncomplex square sparse matrix> dag_sequence (ones (2))
