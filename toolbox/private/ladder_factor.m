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
  r = full (diag (R));
  L = tril (R.' * spdiags (1 ./ r, 0, n, n), -1);
  [jj, ii, vv] = find (L.');
  F.ld = rows_with_slot (n, ii, jj, vv, r .^ 2, false);
  [jj, ii, vv] = find (L);
  F.ldT = rows_with_slot (n, ii, jj, vv, ones (n, 1), true);
  F.p = uint32 (p(:) - 1);
  invp = zeros (n, 1);
  invp(p) = 1:n;
  F.invp = uint32 (invp - 1);
end

function S = rows_with_slot (n, ii, jj, vv, slot, first)
  % rows ii of the entries (ii, jj, vv), sorted by ii, each row with one
  % slot more holding slot(i), first or last
  cnt = accumarray (ii(:), 1, [n 1]);
  ia = [0; cumsum(cnt + 1)];
  before = [0; cumsum(cnt)];
  rank = (1:numel (ii))' - before(ii);
  if (first)
    s = ia(1:n) + 1;
    pos = ia(ii) + 1 + rank;
  else
    s = ia(2:n+1);
    pos = ia(ii) + rank;
  end
  a = zeros (ia(end), 1);
  ja = zeros (ia(end), 1);
  a(s) = slot;
  ja(s) = (0:n-1)';
  a(pos) = vv;
  ja(pos) = jj - 1;
  S = struct ('a', a, 'ia', uint32 (ia), 'ja', uint32 (ja), 'n', n);
end
