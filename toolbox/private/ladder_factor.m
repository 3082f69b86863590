function F = ladder_factor (A)
% LADDER_FACTOR  The chol field of a last level: A(p,p) = L*D*L' under a
%   fill-reducing order p, with ld the rows of L each ending in its pivot,
%   ldT the rows of L' each starting with a diagonal slot, and p, invp
%   0-based uint32.
  n = size (A, 1);
  p = amd (A);
  [R, fail] = chol (A(p, p));
  if (fail)
    % not numerically positive definite: a shift of round-off size
    R = chol (A(p, p) + 1e-12 * max (abs (diag (A))) * speye (n));
  end
  F = ldl_rows (R, p);
end
