% LADDER_FINGERPRINT  A 64-bit fingerprint of a sparse matrix's values and pattern.
%   f = ladder_fingerprint(A) reads the stored entries of the real sparse
%   square double matrix A once and returns a uint64 scalar that mixes every
%   nonzero value with its row and column, and the order of A.  A matrix of
%   another order or pattern, or with any value changed, moved or swapped
%   with another, gives another fingerprint (but for a chance of about
%   2^-64); stored zeros count as absent.  LADDER_BUILD stores it in the
%   Hierarchy (H{1}.kelvara.fingerprint of sparse(double(A))), and
%   LADDER_SOLVE refuses a reused Hierarchy whose fingerprint is not that
%   of the matrix it is given.
%
%   Errors: 'Wrong number of input arguments', 'Wrong number of output
%   arguments', 'Input must be a real sparse double matrix', 'Input must be
%   square', 'Out of memory'.
%
%   See also LADDER_BUILD, LADDER_SOLVE.
function f = ladder_fingerprint(A) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'ladder_fingerprint is not built; run kelvara_build');
end

