function C = ladder_cover (A)
% LADDER_COVER  The matrix [D+N, -P; -P, D+N] of twice the order of the
%   symmetric A = D+N+P (D its diagonal, N and P its negative and positive
%   off-diagonal parts): its off-diagonal entries are not positive, and its
%   solution for [b; -b] is [x; -x] with A*x = b.
  n = size (A, 1);
  [i, j, v] = find (A);
  pos = i ~= j & v > 0;
  P = sparse (i(pos), j(pos), v(pos), n, n);
  N = A - P;
  C = [N, -P; -P, N];
end
