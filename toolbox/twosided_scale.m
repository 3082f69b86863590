% TWOSIDED_SCALE  Scale a sparse matrix by one diagonal on both sides.
%   B = twosided_scale(A, v) returns diag(v) * A * diag(v) on the pattern of
%   the sparse double n-by-n matrix A: every stored entry A(r,c) becomes
%   (v(r) * v(c)) * A(r,c), with the factor of the smaller index first, so
%   the mirror entries of a symmetric A stay identical.  Nothing is added to
%   or removed from the pattern: stored zeros stay stored, and a zero factor
%   makes stored zeros (NaN where a factor or an entry is infinite or NaN).
%
%   v is a full double vector of n elements, 1-by-n or n-by-1 (for n = 1
%   any vector; its first element is the factor).  Only its real parts are
%   read.  B has A's class, shape and pattern; the real parts of a complex A
%   are scaled and its imaginary parts returned unchanged.
%
%   Errors: 'Wrong number of input arguments', 'Wrong number of output
%   arguments', 'Input must be a sparse matrix', 'Second arguments must be a
%   full vector' (v sparse or not double), 'Input matrix must be square',
%   'Second arguments must be a vector' (neither dimension of v is 1),
%   'Vector dimensions must agree with matrix dimensions' (neither dimension
%   of v is n), 'Input must be a sparse double matrix' (A sparse logical),
%   'Second argument must not be empty' (an empty v for a 1-by-1 A that
%   stores its entry).
%
%   See also SDD_FROM_WEIGHTS, JITTER_LOWER.
function B = twosided_scale(A, v) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'twosided_scale is not built; run kelvara_build');
end

%!assert (full (twosided_scale (sparse ([1 2; 2 3]), [2 3])), [4 12; 12 27])
%!error <Input must be a sparse matrix> twosided_scale (ones (2), [1 1])
