function x = ladder_reference(H, b)
% LADDER_REFERENCE  One multigrid cycle of a Hierarchy, in plain Octave.
%   x = ladder_reference(H, b) computes in double what ladder_double does,
%   from the Hierarchy's fields, with Octave's own sparse products and an
%   exact solve on a direct last level.
  k = max(rows(H), columns(H));
  L = k;
  if k > 1 && H{k - 1}.islast
    L = k - 1;
  end
  b = double(b(:));
  n = H{1}.A.n;
  x = zeros(size(b));
  x(1:n) = visit(H, L, 1, b(1:n), 1);
end

function x = visit(H, L, i, b, cycles)
  V = H{i};
  A = level_matrix(V.A);
  if V.islast == 1 && V.iterative == 0
    x = A \ b;
  elseif V.iterative == 1
    x = double(V.invD(:)) .* b;
  else
    invD = double(V.invD(:));
    cI = double(V.cI(:)) + 1;
    nc = fix(V.nc);
    keep = true(size(cI));
    if V.dc
      keep = cI < nc;
    end
    x = zeros(size(b));
    for c = 1:cycles
      x = x + invD .* (b - A * x);
      r = b - A * x;
      rc = accumarray(cI(keep), r(keep), [nc 1]);
      nn = H{i + 1}.A.n;
      ec = zeros(nc, 1);
      ec(1:nn) = visit(H, L, i + 1, rc(1:nn), fix(V.repeat));
      e = zeros(size(x));
      e(keep) = ec(cI(keep));
      x = x + e;
      x = x + invD .* (b - A * x);
    end
  end
end

function A = level_matrix(S)
  % the symmetric matrix of a level's segments
  n = S.n;
  ia = double(S.ia(:));
  ja = double(S.ja(:)) + 1;
  a = double(S.a(:));
  seg = repelem((1:n)', diff(ia));
  first = false(ia(end), 1);
  first(ia(1:n) + 1) = true;
  U = sparse(seg(~first), ja(~first), a(~first), n, n);
  A = U + U.' + sparse(1:n, 1:n, a(first), n, n);
end
