% JITTER_LOWER  Random scaling of the strictly lower triangle of a sparse matrix.
%   B = jitter_lower(A, lo, hi) returns a matrix with the pattern of the
%   sparse double n-by-n matrix A in which every stored entry a strictly
%   below the diagonal becomes ((hi - lo) * r + lo) * a, r uniform in (0, 1)
%   and drawn for that entry alone, and every stored entry on or above the
%   diagonal becomes a stored zero.  B is not symmetric even when A is.
%
%   The random numbers come from one call rand(nnz(A), 1), one number per
%   stored entry in column order (also for the entries that become zero):
%   the result depends on, and advances, the state of rand.  lo and hi are
%   doubles with one column and at least one row; their first elements are
%   used.  A NaN bound passes the range test and makes every lower entry
%   NaN.  B has A's class and shape; the imaginary parts of a complex A are
%   returned unchanged.
%
%   Errors: 'Wrong number of input arguments', 'Wrong number of output
%   arguments', 'Input must be a sparse matrix', 'Second and third arguments
%   must be scalars' (lo or hi sparse, not double, not one column, or with
%   no rows), 'Third argument must be larger than second' (hi <= lo), 'Input
%   must be symmetric' (A not square), 'Input must be a sparse double matrix'
%   (A sparse logical), 'rand must return a real double array of at least N
%   elements' (rand shadowed by a function that answers otherwise), and any
%   error raised by rand itself.
%
%   See also RAND, TWOSIDED_SCALE.
function B = jitter_lower(A, lo, hi) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'jitter_lower is not built; run kelvara_build');
end

%!test
%! B = jitter_lower (sparse (ones (4)), 1, 2);
%! assert (nnz (triu (B)), 0);
%! v = nonzeros (tril (B, -1));
%! assert (numel (v), 6);
%! assert (all (v > 1 & v < 2));
%!error <Third argument must be larger than second> jitter_lower (speye (2), 2, 1)
