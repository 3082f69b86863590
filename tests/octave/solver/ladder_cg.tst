## The compiled solve loop against its m-code model on Hierarchies that
## ladder_build makes: one iteration moves x along the K-cycle of b, in both
## precisions and for several right-hand sides at once; the loop's counts
## and residuals match a solve of each column alone.

%!function cg = ifelse_cg (prec)
%!  if (strcmp (prec, "single"))
%!    cg = private_fn ("ladder_cg_single");
%!  else
%!    cg = private_fn ("ladder_cg_double");
%!  endif
%!endfunction

%!function t = ifelse_tol (prec)
%!  t = 1e-10 + 1e-4 * strcmp (prec, "single");
%!endfunction

%!test
%! rand ("seed", 3);
%! for A = {grid_sdd(40, 1, 1), grid_sdd(40, 1, 10 .^ (6 * rand (3120, 1) - 3)), random_sdd(500, 0.01)}
%!   A = A{1};
%!   n = rows (A);
%!   B = rand (n, 3) - 0.5;
%!   for prec = {"double", "single"}
%!     H = ladder_build (A, "precision", prec{1}, "maxdirect", 30);
%!     assert (numel (H) >= 4);
%!     cg = ifelse_cg (prec{1});
%!     X1 = cg (A, B, 1e-8, 1, H);
%!     for c = 1:3
%!       z = kcycle_reference (H, B(:, c));
%!       assert (abs (X1(:, c)' * z) / (norm (X1(:, c)) * norm (z)), 1, ifelse_tol (prec{1}));
%!     endfor
%!     [X, flag, relres, iter] = cg (A, B, 1e-8, 100, H);
%!     assert (flag, [0 0 0]);
%!     [x2, flag2, relres2, iter2] = cg (A, B(:, 2), 1e-8, 100, H);
%!     assert (X(:, 2), x2);
%!     assert ([relres(2) iter(2)], [relres2 iter2]);
%!     for c = 1:3
%!       assert (relres(c), norm (B(:, c) - A * X(:, c)) / norm (B(:, c)), 1e-12);
%!     endfor
%!   endfor
%! endfor
