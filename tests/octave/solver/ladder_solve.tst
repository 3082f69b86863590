## ladder_build and ladder_solve: convergence on every kind of symmetric
## diagonally dominant matrix, both precisions, several right-hand sides,
## the singular cases, and every refusal with its identifier; what a
## converged flag promises for right-hand sides of any magnitude, reused
## and altered Hierarchies, warm starts, stagnation, the preconditioner
## handle in Octave's own solvers, and an interrupted solve.

%!function varargout = solve_kept (varargin)
%!  ## ladder_solve (varargin{:}), asserting that no argument but a
%!  ## Hierarchy changes: each is compared with a copy made beforehand in
%!  ## an array of its own, so a write through shared data shows
%!  kept = cellfun (@own_copy, varargin, "uniformoutput", false);
%!  [varargout{1:max (nargout, 1)}] = ladder_solve (varargin{:});
%!  for k = 1:numel (varargin)
%!    assert (isequal (varargin{k}, kept{k}), "argument %d changed", k);
%!  endfor
%!endfunction
%!function c = own_copy (v)
%!  ## v, in an array of its own when it is a nonempty numeric array
%!  c = v;
%!  if (isnumeric (v) && ! isempty (v))
%!    c(1) = v(1);
%!  endif
%!endfunction
%!function r = true_relres (A, b, x)
%!  ## norm(b - A*x) / norm(b) for each column, 0 where b is 0
%!  r = zeros (1, columns (b));
%!  for c = 1:columns (b)
%!    if (any (b(:, c)))
%!      r(c) = norm (b(:, c) - double (A) * x(:, c)) / norm (b(:, c));
%!    endif
%!  endfor
%!endfunction

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

## Inputs are left as they were, the Hierarchy and its workspaces
## included; Hierarchies built from one matrix share no workspace.
%!test
%! A = grid_sdd (30, 1, 1);
%! b = rand (900, 2);
%! H1 = ladder_build (A, "maxdirect", 50);
%! H2 = ladder_build (A, "maxdirect", 50);
%! solve_kept (A, b, 1e-8, 100, H1, rand (900, 2));
%! assert (isequal (H1, H2));
%! ladder_double (H1, b(:, 1));
%! assert (any (H1{1}.lws1 != 0));
%! for i = 1:numel (H2) - 1
%!   assert (! any ([H2{i}.lws1; H2{i}.lws2; H2{i}.sws1; H2{i}.sws2; H2{i}.sws3]));
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
%!   {A},                          "kelvara:badRightHandSide",      "B";
%!   {A, sparse(b)},               "kelvara:badRightHandSide",      "B must be a real full";
%!   {A, [b, NaN(16,1)]},          "kelvara:badRightHandSide",      "B must be finite";
%!   {A, b, 0},                    "kelvara:badTolerance",          "TOL";
%!   {A, b, NaN},                  "kelvara:badTolerance",          "TOL";
%!   {A, b, 1e-6, 1.5},            "kelvara:badTolerance",          "MAXIT";
%!   {A, b, 1e-6, NaN},            "kelvara:badTolerance",          "MAXIT";
%!   {A, b, 1e-6, 10, 5},          "kelvara:badHierarchy",          "H must be";
%!   {A, b, 1e-6, 10, [], ones(15,1)}, "kelvara:badInitialGuess",   "X0";
%!   {A, b, 1e-6, 10, [], int32(b)},   "kelvara:badInitialGuess",   "X0";
%!   {A, b, 1e-6, 10, [], {b}},    "kelvara:badInitialGuess",       "X0";
%!   {A, b, 1e-6, 10, [], b * NaN},    "kelvara:badInitialGuess",   "X0 must be finite";
%!   {A, b, 1e-6, 10, [], b * 1i}, "kelvara:badInitialGuess",       "X0";
%!   {A, b, 1e-6, 10, [], [], "verbose"}, "kelvara:badOption",      "name/value";
%! };
%! for k = 1:rows (cases)
%!   try
%!     solve_kept (cases{k, 1}{:});
%!     error ("no error for case %d", k);
%!   catch e
%!     assert (e.identifier, cases{k, 2});
%!     assert (! isempty (strfind (e.message, cases{k, 3})), e.message);
%!   end_try_catch
%! endfor
%! try
%!   ladder_build ();
%!   error ("no error");
%! catch e
%!   assert (e.identifier, "kelvara:notNumeric");
%! end_try_catch

## MAXIT may be Inf or beyond any count of iterations; H = [] builds a
## Hierarchy, as pcg takes [] for no preconditioner.
%!test
%! A = grid_sdd (20, 1, 1);
%! b = rand (400, 1);
%! for args = {{1e-8, Inf}, {1e-8, 1e10}, {1e-8, 100, []}, {1e-8, Inf, [], []}, {[], [], [], [], "maxdirect", 50}}
%!   [x, flag, relres] = solve_kept (A, b, args{1}{:});
%!   assert (flag, 0);
%!   assert (relres, true_relres (A, b, x), 1e-15);
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

## Right-hand sides far from norm 1: tiny ones whose squares underflow,
## subnormal ones, and huge ones whose squares overflow, alone and beside
## a column of norm 1 in one call.  Flag 0 is given only when the true
## relative residual is within TOL, and RELRES is that residual.
%!test
%! A = grid_sdd (30, 1, 1);
%! randn ("seed", 3);
%! g = randn (900, 1);
%! for prec = {"double", "single"}
%!   for B = {1e-170 * g, 2^-1040 * g, 1e200 * g, 1e300 * g, [1e-170 * g, g, 1e200 * g]}
%!     [x, flag, relres] = solve_kept (A, B{1}, 1e-8, 100, "precision", prec{1}, "maxdirect", 50);
%!     r = true_relres (A, B{1}, x);
%!     assert (flag, zeros (1, columns (B{1})));
%!     assert (r <= 1e-8);
%!     assert (relres, r, 1e-15);
%!   endfor
%! endfor

## A Hierarchy reused with a matrix it was not built from, or with its
## meta-data altered: each is refused, naming what does not match.
%!function H = with_meta (H, name, value)
%!  H{1}.kelvara.(name) = value;
%!endfunction
%!test
%! A = grid_sdd (20, 1, 1);
%! [i, j, v] = find (A);
%! flip = i != j & mod (i + j, 3) == 0;
%! v(flip) = -v(flip);
%! P = sparse (i, j, v, 400, 400);          # positive off-diagonal entries
%! b = rand (400, 1);
%! H = ladder_build (A, "maxdirect", 50);
%! HP = ladder_build (P, "maxdirect", 50);
%! meta = H{1}.kelvara;
%! cases = {
%!   A,     ladder_build(grid_sdd(20, 1, 2)),   "fingerprints differ";   # same pattern, other values
%!   A,     ladder_build(grid_sdd(20, 0, 1)),   "fingerprints differ";   # the singular Laplacian of its graph
%!   A,     ladder_build(A + sparse(400, 400, 1e-9)), "fingerprints differ";
%!   A,     ladder_build(random_sdd(400, 0.01)), "fingerprints differ";
%!   A,     HP,                                   "fingerprints differ";
%!   A,     with_meta(H, "order", int32(400)),  "order must be";
%!   A,     with_meta(H, "order", 401),          "401";
%!   A,     with_meta(H, "doubled", 0),          "doubled must be";
%!   A,     with_meta(with_meta(H, "doubled", true), "grounded", zeros(800, 1, "uint32")), "doubled\" is 1";
%!   P,     with_meta(with_meta(HP, "doubled", false), "grounded", zeros(400, 1, "uint32")), "doubled\" is 0";
%!   A,     with_meta(H, "grounded", zeros(399, 1, "uint32")), "grounded must be";
%!   A,     with_meta(H, "grounded", zeros(400, 1)),  "grounded must be";
%!   A,     with_meta(H, "grounded", ones(400, 1, "uint32")), "singular components";
%!   A,     with_meta(H, "precision", "half"),   "precision must be";
%!   A,     with_meta(H, "fingerprint", double(meta.fingerprint)), "fingerprint must be";
%!   A,     with_meta(H, "fingerprint", meta.fingerprint + 1), "fingerprints differ";
%!   A,     {setfield(H{1}, "kelvara", rmfield(meta, "fingerprint"))}, "no field \"fingerprint\"";
%!   A,     {setfield(H{1}, "kelvara", 1)},      "must be a struct";
%!   A,     {rmfield(H{1}, "kelvara")},          "ladder_build";
%! };
%! for k = 1:rows (cases)
%!   try
%!     solve_kept (cases{k, 1}, b, 1e-8, 100, cases{k, 2});
%!     error ("no error for case %d", k);
%!   catch e
%!     assert (e.identifier, "kelvara:badHierarchy", e.message);
%!     assert (! isempty (strfind (e.message, cases{k, 3})), e.message);
%!   end_try_catch
%! endfor
%! ## a copy of H, with the same matrix made again, is accepted
%! H2 = H;
%! [~, flag] = solve_kept (grid_sdd (20, 1, 1), b, 1e-8, 100, H2);
%! assert (flag, 0);

## A workspace of H that shares its data with B or X0 (as an assignment
## makes it): the solve is refused or leaves them as they were.
%!test
%! A = grid_sdd (20, 1, 1);
%! b = rand (400, 1);
%! x0 = rand (400, 1);
%! for field = {"lws1", "lws2"}
%!   for shared = {"b", "x0"}
%!     H = ladder_build (A, "maxdirect", 50);
%!     if (strcmp (shared{1}, "b"))
%!       H{1}.(field{1}) = b;
%!     else
%!       H{1}.(field{1}) = x0;
%!     endif
%!     try
%!       solve_kept (A, b, 1e-8, 100, H, x0);
%!     catch e
%!       assert (e.identifier, "kelvara:badHierarchy", e.message);
%!     end_try_catch
%!   endfor
%! endfor

## A warm start: from near the solution the solve takes fewer iterations,
## from the solution none; several columns and a matrix with positive
## off-diagonal entries start from theirs.
%!test
%! A = grid_sdd (30, 1, 10 .^ (2 * rand (1740, 1) - 1));
%! [i, j, v] = find (A);
%! flip = i != j & mod (i + j, 3) == 0;
%! v(flip) = -v(flip);
%! P = sparse (i, j, v, 900, 900);
%! B = rand (900, 2);
%! for M = {A, P}
%!   H = ladder_build (M{1}, "maxdirect", 50);
%!   [x, flag, ~, cold] = solve_kept (M{1}, B, 1e-10, 100, H);
%!   assert (flag, [0 0]);
%!   [y, flag, relres, warm] = solve_kept (M{1}, B, 1e-10, 100, H, x + 1e-6 * rand (900, 2));
%!   assert (flag, [0 0]);
%!   assert (warm < cold);
%!   assert (relres, true_relres (M{1}, B, y), 1e-15);
%!   [~, flag, ~, none] = solve_kept (M{1}, B, 1e-6, 100, H, x);
%!   assert ([flag, none], [0 0 0 0]);
%! endfor
%! [~, flag] = solve_kept (A, B(:, 1), 1e-10, 100, [], single (B(:, 1)));
%! assert (flag, 0);

## RELRES is the true residual of the X returned for every flag and every
## kind of matrix, the cover of positive off-diagonals included; an
## integer matrix with positive off-diagonal entries is solved.
%!test
%! A = grid_sdd (30, 1, 10 .^ (12 * rand (1740, 1) - 6));
%! [i, j, v] = find (A);
%! flip = i != j & mod (i + j, 3) == 0;
%! v(flip) = -v(flip);
%! P = sparse (i, j, v, 900, 900);
%! b = rand (900, 1);
%! for M = {A, P}
%!   for prec = {"double", "single"}
%!     [x, flag, relres] = solve_kept (M{1}, b, 1e-14, 2, "precision", prec{1}, "maxdirect", 50);
%!     assert (flag != 0);
%!     assert (relres, true_relres (M{1}, b, x), 1e-15);
%!   endfor
%! endfor
%! G = grid_sdd (10, 1, 1);
%! G(1, 2) = G(2, 1) = 1;
%! Z = int32 (full (G));
%! [x, flag, relres] = solve_kept (Z, ones (100, 1), 1e-10, 50);
%! assert (flag, 0);
%! assert (relres, true_relres (G, ones (100, 1), x), 1e-15);
%! assert (relres <= 1e-10);

## A tolerance below what the matrix allows: a unit grid with an excess of
## 1e-6 at one vertex, where \ itself reaches only about 1e-7.  The solve
## stops on stagnation long before MAXIT with the iterate of least true
## residual, which RELRES reports.
%!test
%! A = grid_sdd (300, 0, 1);
%! A(1, 1) += 1e-6;
%! randn ("seed", 11);
%! b = randn (90000, 1);
%! [x, flag, relres, iter, resvec] = solve_kept (A, b, 1e-8, 1000);
%! assert (flag, 3);
%! assert (rows (resvec) < 300);
%! assert (relres, true_relres (A, b, x), 1e-15);
%! assert (relres < 1e-6);

## The Hierarchy as a preconditioner handle in pcg, pcr, gmres and
## bicgstab, in both precisions: a grounded grid, a singular Laplacian
## with a right-hand side in its range, and positive off-diagonal entries.
## Each converges to its own measure; gmres, preconditioned on the left,
## measures the preconditioned residual, and the true one is then only
## checked to be small.  pcr needs a preconditioner linear to the last
## bit, which a single-precision cycle is not.
%!test
%! G = grid_sdd (20, 1, 10 .^ (2 * rand (760, 1) - 1));
%! L = grid_sdd (20, 0, 1);
%! [i, j, v] = find (G);
%! flip = i != j & mod (i + j, 3) == 0;
%! v(flip) = -v(flip);
%! P = sparse (i, j, v, 400, 400);
%! b = rand (400, 1);
%! ## each solver, the precisions it takes, the true residual it promises
%! solvers = {@(A, b, M) pcg (A, b, 1e-8, 100, M),      "both",   1e-8;
%!            @(A, b, M) pcr (A, b, 1e-8, 100, M),      "double", 1e-8;
%!            @(A, b, M) gmres (A, b, 30, 1e-8, 4, M),  "both",   1e-4;
%!            @(A, b, M) bicgstab (A, b, 1e-8, 100, M), "both",   1e-8};
%! for M = {G, L, P}
%!   rhs = b - mean (b) * isequal (M{1}, L);
%!   for prec = {"double", "single"}
%!     pre = ladder_preconditioner (ladder_build (M{1}, "precision", prec{1}, "maxdirect", 50));
%!     for s = 1:rows (solvers)
%!       if (! any (strcmp (solvers{s, 2}, {"both", prec{1}})))
%!         continue;
%!       endif
%!       [x, flag, relres] = solvers{s, 1} (M{1}, rhs, pre);
%!       assert ([flag, relres <= 1e-8], [0 1]);
%!       assert (true_relres (M{1}, rhs, x) <= solvers{s, 3});
%!     endfor
%!   endfor
%! endfor
%! fail ("ladder_preconditioner ({struct()})", "Hierarchy made by ladder_build");

## Ctrl-C during a long solve, in an interactive session of its own: the
## session answers long before the solve would end, the interrupted line
## goes no further, and the session solves again.  The solve is long on
## purpose: 32 columns on a grid whose weights span twelve decades, to a
## tolerance below what they allow, run hundreds of iterations until their
## residuals stop falling, about a minute.
%!function text = read_until (out, text, want, seconds)
%!  ## text with what the pipe out gives until it matches the pattern want,
%!  ## or seconds pass
%!  t0 = time ();
%!  while (isempty (regexp (text, want, "once")) && time () - t0 < seconds)
%!    s = fgets (out);
%!    if (ischar (s))
%!      text = [text s];
%!    else
%!      fclear (out);
%!      pause (0.05);
%!    endif
%!  endwhile
%!endfunction
%!test
%! cli = fullfile (OCTAVE_HOME, "bin", "octave-cli");
%! [in, out, pid] = popen2 ("/bin/sh", {"-c", ["exec " cli " --norc --no-history --no-window-system --interactive 2>&1"]});
%! unwind_protect
%!   fprintf (in, "addpath ('%s', '%s');\n", fileparts (which ("ladder_double")), fileparts (which ("grid_sdd")));
%!   fputs (in, ["rand ('seed', 5); A = grid_sdd (300, 1, 10 .^ (12 * rand (179400, 1) - 6));\n", ...
%!               "H = ladder_build (A); B = rand (90000, 32);\n", ...
%!               "disp ('started'); ladder_solve (A, B, 1e-12, Inf, H); disp ('finished')\n"]);
%!   fflush (in);
%!   text = read_until (out, "", "started", 120);
%!   assert (! isempty (strfind (text, "started")), text);
%!   pause (2);
%!   kill (pid, 2);
%!   ## the next prompt shows that the session has answered
%!   text = read_until (out, text, 'started(.|\n)*octave:\d+>', 20);
%!   assert (! isempty (regexp (text, 'started(.|\n)*octave:\d+>', "once")), ["no answer to the interrupt:\n" text]);
%!   assert (isempty (strfind (text, "finished")), text);
%!   fputs (in, "[~, flag] = ladder_solve (A, B(:, 1), 1e-4, 200, H); printf ('flag %d\\n', flag); exit\n");
%!   fflush (in);
%!   text = read_until (out, text, "flag \\d", 60);
%!   assert (! isempty (regexp (text, "flag 0", "once")), text);
%! unwind_protect_cleanup
%!   fclose (in);
%!   fclose (out);
%!   kill (pid, 9);
%!   waitpid (pid);
%! end_unwind_protect
