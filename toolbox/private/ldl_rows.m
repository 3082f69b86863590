% LDL_ROWS  The factor of a Hierarchy's last level in rows, from its Cholesky factor.
%   F = ldl_rows(R, p) writes the field "chol" of a last level from the
%   Cholesky factor R (sparse upper triangular with a nonzero diagonal,
%   R'*R = A(p,p)) of the level's matrix A under the order p, a permutation
%   of 1..n.  With r = diag(R), A(p,p) = L*D*L' for the unit lower
%   triangular L = R'*diag(1./r) and D = diag(r.^2).
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
%   argument must be square', 'First argument must be upper triangular with
%   a nonzero diagonal', 'Second argument must be a real double vector with
%   one entry per vertex', 'Second argument must be a permutation of 1 to
%   the order of the first', 'Out of memory'.
%
%   See also LADDER_BUILD, LADDER_DOUBLE.
function F = ldl_rows(R, p) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'ldl_rows is not built; run kelvara_build');
end
