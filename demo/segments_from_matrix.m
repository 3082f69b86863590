function S = segments_from_matrix(A, cls)
% SEGMENTS_FROM_MATRIX  Level matrix struct of a symmetric sparse matrix.
%   S = segments_from_matrix(A, cls) stores the symmetric matrix A as the
%   fields a (class cls), ia, ja (uint32, 0-based), n and issym of a
%   Hierarchy level: segment i holds A(i,i) first, then A(i,j) for j > i.
  n = rows(A);
  [jj, ii, vv] = find(triu(A, 1).');   % entries (ii, jj) of the upper part, by row ii
  off = accumarray(ii(:), 1, [n 1]);
  ia = [0; cumsum(off + 1)];
  first = [0; cumsum(off)];
  pos = ia(ii) + 1 + ((1:numel(ii))' - first(ii));
  a = zeros(ia(end), 1);
  ja = zeros(ia(end), 1);
  a(ia(1:n) + 1) = full(diag(A));
  ja(ia(1:n) + 1) = (0:n-1)';
  a(pos) = vv;
  ja(pos) = jj - 1;
  S = struct('a', cast(a, cls), 'ia', uint32(ia), 'ja', uint32(ja), 'n', n, 'issym', 1);
end
