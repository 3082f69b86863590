function F = ladder_factor (A)
% LADDER_FACTOR  The chol field of a last level: A(p,p) = L*D*L' under a
%   fill-reducing order p, with ld the rows of L each ending in its pivot,
%   ldT the rows of L' each starting with a diagonal slot, and p, invp
%   0-based uint32.
  F = ldl_rows (A, amd (A));
end
