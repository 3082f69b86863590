## ladder_build and ladder_solve: convergence on every kind of symmetric
## diagonally dominant matrix, both precisions, several right-hand sides,
## the singular cases, and every refusal with its identifier.

%!function check_solve (A, b, prec)
%!  [x, flag, relres, iter] = ladder_solve (A, b, 1e-8, 100, "precision", prec);
%!  assert (flag, zeros (1, columns (b)));
%!  for c = 1:columns (b)
%!    assert (norm (b(:, c) - A * x(:, c)) <= 1e-8 * norm (b(:, c)));
%!  endfor
%!  assert (relres <= 1e-8);
%!endfunction

## Grounded grids, unit and widely varying weights, in both precisions.
%!test
%! rand ("seed", 1);
%! for prec = {"double", "single"}
%!   check_solve (grid_sdd (40, 1, 1), rand (1600, 1), prec{1});
%!   check_solve (grid_sdd (40, 1, 10 .^ (6 * rand (3120, 1) - 3)), rand (1600, 1), prec{1});
%! endfor

## A multilevel Hierarchy: its levels, flags and classes are what the
## cycle modules accept, and pcg converges with it.
%!test
%! A = grid_sdd (60, 1, 1);
%! for prec = {"double", "single"}
%!   H = ladder_build (A, "precision", prec{1}, "maxdirect", 50);
%!   assert (numel (H) >= 3);
%!   assert (class (H{1}.A.a), prec{1});
%!   assert (H{end}.islast, 1);
%!   b = rand (3600, 1);
%!   if (strcmp (prec{1}, "single"))
%!     f = @(r) double (ladder_single (H, single (r)));
%!   else
%!     f = @(r) ladder_double (H, r);
%!   endif
%!   [x, flag] = pcg (A, b, 1e-8, 60, f);
%!   assert (flag, 0);
%! endfor

## Several right-hand sides with one Hierarchy; a reused Hierarchy.
%!test
%! A = grid_sdd (30, 1, 1);
%! B = rand (900, 3);
%! B(:, 2) = 0;
%! [X, flag, relres, iter, resvec] = ladder_solve (A, B, 1e-8, 100);
%! assert (size (X), [900 3]);
%! assert (flag, [0 0 0]);
%! assert (X(:, 2), zeros (900, 1));
%! assert (iter(2), 0);
%! assert (columns (resvec), 3);
%! assert (resvec(1, 1), norm (B(:, 1)), 1e-12 * norm (B(:, 1)));
%! H = ladder_build (A);
%! x = ladder_solve (A, B(:, 1), 1e-8, 100, H);
%! assert (norm (B(:, 1) - A * x) <= 1e-8 * norm (B(:, 1)));

## Singular Laplacians, connected and disconnected: b in range is solved
## and x has mean zero on every component; b outside the range warns and
## solves the projected system.
%!test
%! L1 = grid_sdd (20, 0, 1);
%! L2 = grid_sdd (15, 0, 2);
%! L = blkdiag (L1, L2, sparse (1, 1));
%! n = rows (L);
%! comp = [ones(400, 1); 2 * ones(225, 1); 3];
%! b = rand (n, 1);
%! b -= accumarray (comp, b) (comp) ./ accumarray (comp, 1) (comp);
%! [x, flag] = ladder_solve (L, b, 1e-8, 100);
%! assert (flag, 0);
%! assert (norm (b - L * x) <= 1e-8 * norm (b));
%! assert (accumarray (comp, x) ./ accumarray (comp, 1), zeros (3, 1), 1e-10);
%! lastwarn ("");
%! [x, flag, relres] = ladder_solve (L, b + 1, 1e-8, 100);
%! [~, id] = lastwarn ();
%! assert (id, "kelvara:outsideRange");
%! assert (flag, 0);
%! assert (norm (b - L * x) <= 1e-8 * norm (b));

## Isolated vertices (with and without excess), zero-weight edges, a
## component held only by its excess.
%!test
%! A = grid_sdd (20, 1, [ones(380, 1); zeros(380, 1)]);
%! A = blkdiag (A, speye (3), sparse (2, 2), 5);
%! n = rows (A);
%! b = rand (n, 1);
%! b(404:405) = 0;
%! check_solve (A, b, "double");

## A matrix with positive off-diagonal entries goes through the Laplacian
## of twice the order.
%!test
%! A = grid_sdd (25, 1, 1);
%! [i, j, v] = find (triu (A, 1));
%! v(1:3:end) *= -1;
%! U = sparse (i, j, v, 625, 625);
%! A = U + U.' + diag (diag (A));
%! check_solve (A, rand (625, 2), "double");
%! check_solve (A, rand (625, 1), "single");

## Orders 0 and 1; full and single inputs are accepted.
%!test
%! [x, flag] = ladder_solve (sparse (0, 0), zeros (0, 1));
%! assert (size (x), [0 1]);
%! assert (flag, 0);
%! [x, flag] = ladder_solve (sparse (4), 8, 1e-8, 5);
%! assert (x, 2, 1e-12);
%! assert (flag, 0);
%! x = ladder_solve (full (grid_sdd (5, 1, 1)), ones (25, 1), 1e-10, 50);
%! assert (norm (full (grid_sdd (5, 1, 1)) * x - 1) < 1e-9 * 5);
%! x = ladder_solve (single (full (grid_sdd (5, 1, 1))), single (ones (25, 1)), 1e-10, 50);
%! assert (class (x), "double");

## Inputs are left as they were, H included; Hierarchies built from one
## matrix share no workspace.
%!test
%! A = grid_sdd (30, 1, 1);
%! A0 = A;
%! b = rand (900, 1);
%! b0 = b;
%! H1 = ladder_build (A, "maxdirect", 50);
%! H2 = ladder_build (A, "maxdirect", 50);
%! ladder_solve (A, b, 1e-8, 100, H1);
%! assert (isequal (A, A0) && isequal (b, b0) && isequal (H1, H2));
%! ladder_double (H1, b);
%! assert (any (H1{1}.lws1 != 0));
%! for i = 1:numel (H2) - 1
%!   assert (! any ([H2{i}.lws1; H2{i}.lws2; H2{i}.sws1; H2{i}.sws2]));
%! endfor

## The flag of a solve stopped by maxit, and its best iterate.
%!test
%! A = grid_sdd (40, 1, 10 .^ (12 * rand (3120, 1) - 6));
%! b = rand (1600, 1);
%! [x, flag, relres, iter, resvec] = ladder_solve (A, b, 1e-14, 2);
%! assert (flag, 1);
%! assert (iter <= 2);
%! assert (relres, norm (b - A * x) / norm (b), 1e-12);
%! assert (numel (resvec), 3);

## Every refusal, with its identifier and the offending place.
%!test
%! A = grid_sdd (4, 1, 1);
%! b = ones (16, 1);
%! N = A; N(2, 3) = -2; N(3, 2) = -2;
%! U = A; U(1, 2) = -0.5;
%! F = A; F(5, 5) = Inf;
%! small = ladder_build (grid_sdd (3, 1, 1));
%! cases = {
%!   {{1}, b},                     "kelvara:notNumeric",            "cell";
%!   {A(:,1:15), b},               "kelvara:notSquare",             "16-by-15";
%!   {A * 1i, b},                  "kelvara:complex",               "real";
%!   {F, b},                       "kelvara:notFinite",             "A(5,5)";
%!   {U, b},                       "kelvara:notSymmetric",          "A(2,1)";
%!   {N, b},                       "kelvara:notDiagonallyDominant", "Row 2";
%!   {A, ones(15,1)},              "kelvara:badRightHandSide",      "16 rows";
%!   {A, b, 2},                    "kelvara:badTolerance",          "TOL";
%!   {A, b, 1e-6, -1},             "kelvara:badTolerance",          "MAXIT";
%!   {A, b, [], [], "precision", "half"}, "kelvara:badOption",      "precision";
%!   {A, b, [], [], "colour", 1},  "kelvara:badOption",             "colour";
%!   {A, b, [], [], {struct()}},   "kelvara:badHierarchy",          "ladder_build";
%!   {A, b, [], [], small},        "kelvara:badHierarchy",          "order 9";
%! };
%! for k = 1:rows (cases)
%!   try
%!     ladder_solve (cases{k, 1}{:});
%!     error ("no error for case %d", k);
%!   catch e
%!     assert (e.identifier, cases{k, 2});
%!     assert (! isempty (strfind (e.message, cases{k, 3})), e.message);
%!   end_try_catch
%! endfor

## Round-off asymmetry and dominance deficits below 1e-12 pass.
%!test
%! A = grid_sdd (10, 0, 1);
%! A(1, 2) *= 1 + 1e-14;
%! A(1, 1) *= 1 - 1e-14;
%! b = rand (100, 1);
%! b -= mean (b);
%! [x, flag] = ladder_solve (A, b, 1e-8, 100);
%! assert (flag, 0);

## Values beyond single precision's range break the single cycle down: the
## solve warns and finishes with a double-precision Hierarchy.
%!test
%! A = grid_sdd (20, 1e39, 1e39 * (1 + rand (760, 1)));
%! b = rand (400, 1);
%! lastwarn ("");
%! [x, flag] = ladder_solve (A, b, 1e-8, 200, "precision", "single", "maxdirect", 20);
%! [~, id] = lastwarn ();
%! assert (id, "kelvara:singleBreakdown");
%! assert (flag, 0);
%! assert (norm (b - A * x) <= 1e-8 * norm (b));
