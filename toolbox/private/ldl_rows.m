% LDL_ROWS  The factor of a Hierarchy's last level in rows.
%   F = ldl_rows(A, p) writes the field "chol" of a last level from its
%   symmetric positive definite matrix A (sparse; its upper triangle under
%   the order p is read) and the order p, a permutation of 1..n:
%   A(p,p) = L*D*L' for a unit lower triangular L and a diagonal D, found
%   row by row without dense kernels.  Where a pivot is not positive, A is
%   factored again with a shift of 1e-12 times its largest diagonal entry.
%     F.ld    the rows of L: row i its entries left of the diagonal,
%             columns ascending, then the pivot D(i)
%     F.ldT   the rows of L': row i a diagonal slot (1), then its entries
%             right of the diagonal, columns ascending
%     F.p     uint32 p - 1, and F.invp, uint32, its inverse
%   ld and ldT hold "a" (double), "ia" (uint32 row starts), "ja" (uint32
%   columns), all 0-based, and "n".
%
%   Errors: 'Wrong number of input arguments', 'Wrong number of output
%   arguments', 'First argument must be a real sparse double matrix', 'First
%   argument must be square', 'Second argument must be a real double vector
%   with one entry per vertex', 'Second argument must be a permutation of 1
%   to the order of the first', 'Matrix must be positive definite', 'Out of
%   memory'.
%
%   See also LADDER_BUILD, LADDER_DOUBLE.
function F = ldl_rows(A, p) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'ldl_rows is not built; run kelvara_build');
end
