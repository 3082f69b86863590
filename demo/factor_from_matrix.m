function F = factor_from_matrix(A)
% FACTOR_FROM_MATRIX  The chol field of a direct last level.
%   F = factor_from_matrix(A) factors the symmetric positive definite A as
%   A(p,p) = L*D*L' (p a fill-reducing order) and stores ld (rows of L, each
%   ending in its pivot), ldT (rows of L', diagonal slot first), p and invp
%   (uint32, 0-based).
  n = rows(A);
  p = symamd(A);
  R = chol(A(p, p));
  d = full(diag(R));
  L = tril(R.' * spdiags(1 ./ d, 0, n, n), -1);   % strictly lower part of the unit factor
  % ld: row i holds L(i, j < i) ascending, then the pivot d(i)^2
  [jj, ii, vv] = find(L.');
  F.ld = rows_with_slot(n, ii, jj, vv, d .^ 2, false);
  % ldT: row i holds the diagonal slot, then L(j > i, i) ascending
  [jj, ii, vv] = find(L);
  F.ldT = rows_with_slot(n, ii, jj, vv, ones(n, 1), true);
  F.p = uint32(p(:) - 1);
  invp = zeros(n, 1);
  invp(p) = 1:n;
  F.invp = uint32(invp - 1);
end

function S = rows_with_slot(n, ii, jj, vv, slot, first)
  % rows ii of entries (ii, jj, vv) sorted by ii, each row with one more
  % slot holding slot(i), first or last
  cnt = accumarray(ii(:), 1, [n 1]);
  ia = [0; cumsum(cnt + 1)];
  before = [0; cumsum(cnt)];
  rank = (1:numel(ii))' - before(ii);
  a = zeros(ia(end), 1);
  ja = zeros(ia(end), 1);
  if first
    s = ia(1:n) + 1;
    pos = ia(ii) + 1 + rank;
  else
    s = ia(2:n+1);
    pos = ia(ii) + rank;
  end
  a(s) = slot;
  ja(s) = (0:n-1)';
  a(pos) = vv;
  ja(pos) = jj - 1;
  S = struct('a', a, 'ia', uint32(ia), 'ja', uint32(ja), 'n', n);
end
