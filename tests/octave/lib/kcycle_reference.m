function z = kcycle_reference (H, r)
% KCYCLE_REFERENCE  The K-cycle of the Hierarchy H applied to r, in m-code
%   and double precision: the model the compiled solve loop is checked by.
  z = visit (H, 1, double (r));
end

function x = visit (H, l, b)
  S = H{l};
  if (S.islast && ~ S.iterative)
    x = level_matrix (S) \ b;
    return;
  elseif (S.iterative)
    x = double (S.invD) .* b;
    return;
  end
  A = level_matrix (S);
  d = double (S.invD);
  x = d .* b;
  nc = H{l + 1}.A.n;
  q = double (S.cI) + 1;
  in = q <= nc;
  rc = accumarray (q(in), b(in) - A(in, :) * x, [nc 1]);
  c = coarse (H, l + 1, rc);
  x(in) = x(in) + c(q(in));
  x = x + d .* (b - A * x);
end

function c1 = coarse (H, m, rc)
  % two flexible CG steps where the level above repeats its cycle or has
  % twice the entries; one cycle otherwise or on a last level
  c1 = visit (H, m, rc);
  S = H{m};
  two = H{m - 1}.repeat >= 2 || numel (H{m - 1}.A.a) >= 2 * numel (S.A.a);
  if (~ two || S.islast || S.iterative)
    return;
  end
  A = level_matrix (S);
  v1 = A * c1;
  rho1 = c1' * v1;
  a1 = c1' * rc;
  rt = rc - (a1 / rho1) * v1;
  c2 = visit (H, m, rt);
  g = c2' * v1;
  rho2 = c2' * (A * c2) - g ^ 2 / rho1;
  a2 = c2' * rt;
  c1 = (a1 / rho1 - g * a2 / (rho1 * rho2)) * c1 + (a2 / rho2) * c2;
end

function M = level_matrix (S)
  % the symmetric matrix of a level's rows: the diagonal first in each row,
  % each off-diagonal pair once
  n = S.A.n;
  ia = double (S.A.ia);
  i = repelem ((1:n)', diff (ia));
  j = double (S.A.ja) + 1;
  v = double (S.A.a);
  first = false (ia(end), 1);
  first(ia(1:n) + 1) = true;
  M = sparse (i(first), i(first), v(first), n, n);
  U = sparse (i(~ first), j(~ first), v(~ first), n, n);
  M = M + U + U.';
end
