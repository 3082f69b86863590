% WEIGHTS_FROM_SDD  The weighted adjacency -offdiag(L) of a Laplacian.
%   W = weights_from_sdd(L) returns the sparse matrix W = -offdiag(L) for a
%   sparse n-by-n matrix L that stores a diagonal entry in every column: the
%   diagonal is dropped (its values are not used) and every other stored
%   entry is negated, in place (a stored zero stays stored, as -0).
%
%   W is a real sparse double n-by-n matrix with exactly nnz(L) - n stored
%   entries.  A sparse logical L is read as values 1 and 0.  Only the real
%   parts of a complex L are read.  For an adjacency A without diagonal,
%   weights_from_sdd(sdd_from_weights(A, d)) returns A for any d.
%
%   Errors: 'Wrong number of input arguments', 'Wrong number of output
%   arguments', 'Input must be a sparse matrix', 'Input must be symmetric'
%   (L not square), 'Laplacian missing a diagonal element' (a column of L
%   stores no diagonal entry; a diagonal zero that is not stored is missing).
%
%   See also SDD_FROM_WEIGHTS.
function W = weights_from_sdd(L) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'weights_from_sdd is not built; run kelvara_build');
end

%!test
%! A = sparse ([0 2 1; 2 0 0; 1 0 0]);
%! assert (weights_from_sdd (sdd_from_weights (A, [5 6 7])), A);
%!error <Laplacian missing a diagonal element> weights_from_sdd (sparse ([0 1; 1 0]))
