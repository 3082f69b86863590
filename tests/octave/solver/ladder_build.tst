## ladder_build's levels as the solve sees them: the caller's numbering
## does not matter, a small diagonal excess is an excess, and the matrix's
## scale changes nothing; the levels keep the Hierarchy format.

%!function [x, flag, iter] = solve (A, b, H)
%!  [x, flag, ~, iter] = ladder_solve (A, b, 1e-8, 200, H);
%!endfunction

## A matrix and a random symmetric permutation of it: the same iteration
## count (within one) and the permuted solution.
%!test
%! rand ("seed", 21);
%! L = grid_sdd (60, 1, 10 .^ (6 * rand (7080, 1) - 3));
%! W = sprandsym (3000, 0.002) != 0;
%! G = spdiags (full (sum (W, 2)) + 1e-3, 0, 3000, 3000) - W;
%! for A = {L, G}
%!   A = A{1};
%!   n = rows (A);
%!   b = rand (n, 1);
%!   p = randperm (n);
%!   [x, flag, iter] = solve (A, b, ladder_build (A, "maxdirect", 30));
%!   [y, flagp, iterp] = solve (A(p, p), b(p), ladder_build (A(p, p), "maxdirect", 30));
%!   assert ([flag flagp], [0 0]);
%!   assert (abs (iter - iterp) <= 1, sprintf ("%d against %d", iter, iterp));
%!   assert (norm (y - x(p)) <= 1e-6 * norm (x));
%! endfor

## A Laplacian with an excess of 1e-13 of the diagonal on one row of each
## component is nonsingular: nothing is grounded, no right-hand side is
## projected, and the solution is A's own (a grounded solve would return
## the one of mean zero, about 0.87 of x0 away).  Its near-null vector
## leaves x0 resolved to about 0.3 even by a direct solve.
%!test
%! L = blkdiag (grid_sdd (30, 0, 1), grid_sdd (20, 0, 2));
%! n = rows (L);
%! k = [450; 1100];
%! A = L + sparse (k, k, 1e-13 * full (diag (L)(k)), n, n);
%! rand ("seed", 23);
%! x0 = rand (n, 1);
%! b = A * x0;
%! for maxdirect = [2000 100]
%!   H = ladder_build (A, "maxdirect", maxdirect);
%!   assert (! any (H{1}.kelvara.grounded));
%!   lastwarn ("");
%!   [x, flag] = solve (A, b, H);
%!   assert (lastwarn (), "");
%!   assert (flag, 0);
%!   assert (norm (b - A * x) <= 1e-8 * norm (b));
%!   assert (norm (x - x0) < 0.5 * norm (x0));
%! endfor
%! H = ladder_build (L);
%! assert (unique (H{1}.kelvara.grounded)', uint32 ([1 2]));

## The matrix scaled by 1e-200 and 1e200: the same levels, the same
## iterations of the cycle inside pcg and of ladder_solve, and a solve to
## the tolerance.
%!test
%! rand ("seed", 22);
%! A = grid_sdd (50, 1, 10 .^ (4 * rand (4900, 1) - 2));
%! b = rand (2500, 1);
%! H = ladder_build (A, "maxdirect", 20);
%! [~, ~, ~, iter] = pcg (A, b, 1e-8, 200, @(r) ladder_double (H, r));
%! [~, ~, its] = solve (A, b, H);
%! for s = [1e-200 1e200]
%!   Hs = ladder_build (s * A, "maxdirect", 20);
%!   assert (numel (Hs), numel (H));
%!   for i = 1:numel (H) - 1
%!     assert (Hs{i}.cI, H{i}.cI);
%!   endfor
%!   [~, flag, ~, iters] = pcg (s * A, s * b, 1e-8, 200, @(r) ladder_double (Hs, r));
%!   assert ([flag iters], [0 iter]);
%!   [x, flag, iters] = solve (s * A, s * b, Hs);
%!   assert ([flag iters], [0 its]);
%!   assert (norm (s * b - s * A * x) <= 1e-8 * norm (s * b));
%! endfor

## Every level in the Hierarchy format: classes, sizes and flags as the
## cycle modules read them, workspaces of their own, rows holding the
## caller's matrix on the finest level.
%!test
%! A = grid_sdd (40, 1, 1);
%! for prec = {"double", "single"}
%!   H = ladder_build (A, "precision", prec{1}, "maxdirect", 40);
%!   L = numel (H);
%!   assert (L >= 3);
%!   a = double (H{1}.A.a);
%!   ia = double (H{1}.A.ia);
%!   d = a(ia(1:end-1) + 1);
%!   assert (d, full (diag (A)));
%!   for i = 1:L
%!     s = H{i};
%!     n = s.A.n;
%!     assert (class (s.A.a), prec{1});
%!     assert ([class(s.A.ia) class(s.A.ja)], "uint32uint32");
%!     assert (numel (s.A.ia), n + 1);
%!     assert (s.islast, double (i == L));
%!     if (i < L)
%!       assert (class (s.cI), "uint32");
%!       assert (max (s.cI) < s.nc);
%!       assert (H{i + 1}.A.n, s.nc - s.dc);
%!       assert (size (s.sws1), [s.nc 1]);
%!       assert (class (s.lws1), prec{1});
%!       assert (size (s.invD), [n 1]);
%!     endif
%!   endfor
%!   assert (isfield (H{L}, "chol"));
%!   assert (H{L}.chol.ld.n, H{L}.A.n);
%! endfor
