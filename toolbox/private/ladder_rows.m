function S = ladder_rows (W, d, cls)
% LADDER_ROWS  The level matrix diag(d) - W of a Hierarchy in rows: row i
%   holds its diagonal d(i) first, then -W(i,j) for j > i; values of class
%   cls, indices uint32 and 0-based.
  n = rows (W);
  [r, c, w] = find (tril (W, -1));      % column c below the diagonal is row c right of it
  ia = [0; cumsum(accumarray (c, 1, [n 1]) + 1)];
  pos = (1:numel (r))' + c;             % after the c diagonals up to row c
  a = zeros (ia(end), 1, cls);
  ja = zeros (ia(end), 1, "uint32");
  a(ia(1:n) + 1) = d;
  ja(ia(1:n) + 1) = 0:n-1;
  a(pos) = -w;
  ja(pos) = r - 1;
  S = struct ("a", a, "ia", uint32 (ia), "ja", ja, "n", n, "issym", 1);
end
