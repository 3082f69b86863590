% SDD_FROM_WEIGHTS  The matrix diag(d) - A of a weighted adjacency.
%   L = sdd_from_weights(A, d) returns the sparse matrix L = diag(d) - A for
%   a sparse n-by-n adjacency A that stores no diagonal entry and a full
%   double vector d of n elements (1-by-n or n-by-1).  Every stored weight of
%   A is negated (a stored zero stays stored, as -0) and every column gets
%   one diagonal entry, d(k), in its sorted place, stored even when zero.
%   The diagonal is taken from d, not summed from the weights: with
%   d = full(sum(A, 1)) L is the graph Laplacian of a symmetric A.
%
%   L is a real sparse double n-by-n matrix with exactly nnz(A) + n stored
%   entries.  A sparse logical A is read as weights 1 and 0.  Only the real
%   parts of a complex A or d are read.  A need not be symmetric: it is
%   converted column by column.  WEIGHTS_FROM_SDD is the inverse.
%
%   Errors: 'Wrong number of input arguments', 'Wrong number of output
%   arguments', 'Input must be a sparse matrix', 'Second argument must be a
%   non-sparse vector' (d sparse or not double), 'Input must be symmetric'
%   (A not square), 'Inconsistent argument dimensions' (d not 1-by-n or
%   n-by-1), 'Adjacency contains a diagonal element' (A stores an entry on
%   its diagonal, whatever its value).
%
%   See also WEIGHTS_FROM_SDD, TWOSIDED_SCALE.
function L = sdd_from_weights(A, d) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'sdd_from_weights is not built; run kelvara_build');
end

%!test
%! A = sparse ([0 2 1; 2 0 0; 1 0 0]);
%! L = sdd_from_weights (A, full (sum (A, 1)));
%! assert (full (L), [3 -2 -1; -2 2 0; -1 0 1]);
%! assert (nnz (L), nnz (A) + 3);
%!error <Adjacency contains a diagonal element> sdd_from_weights (speye (2), [1 1])
