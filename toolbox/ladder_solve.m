function [x, flag, relres, iter, resvec] = ladder_solve (A, b, tol, maxit, varargin)
% LADDER_SOLVE  Solve a symmetric diagonally dominant system by multigrid-preconditioned CG.
%   X = LADDER_SOLVE (A, B) solves A*X = B for the sparse symmetric
%   diagonally dominant matrix A (a graph Laplacian, a Laplacian plus a
%   non-negative diagonal, or a matrix with positive off-diagonal entries)
%   by the conjugate gradient method, preconditioned by one multigrid cycle
%   of the Hierarchy that LADDER_BUILD makes from A.
%
%   X = LADDER_SOLVE (A, B, TOL, MAXIT) stops when norm(B - A*X) <=
%   TOL*norm(B) (TOL 1e-6 when empty or absent) or after MAXIT iterations
%   (min(size(A, 1), 20) when empty or absent; Inf for no limit, the
%   solve then ending when the residual stops falling).  The stop is judged
%   on the residual computed afresh from X, not only on the recurrence.
%
%   X = LADDER_SOLVE (A, B, TOL, MAXIT, H) reuses the Hierarchy H that
%   LADDER_BUILD made from this A (its precision is H's); H = [] builds one,
%   as PCG takes [] for no preconditioner.  A Hierarchy of another matrix is
%   refused: H carries the order of A, whether it has positive off-diagonal
%   entries, its singular components and a fingerprint of its values, and
%   each is checked against A.
%   X = LADDER_SOLVE (A, B, TOL, MAXIT, H, X0) starts from the initial
%   guess X0 (a real full matrix of the size of B, or []); the stop is still
%   judged against norm(B), as PCG does.
%   X = LADDER_SOLVE (..., OPTS) or (..., NAME, VALUE, ...) passes options:
%   those of LADDER_BUILD ('precision' 'double' or 'single', 'maxdirect',
%   'maxlevels'), and 'verbose', true to print the build's levels and the
%   relative residual every ten iterations.
%
%   [X, FLAG, RELRES, ITER, RESVEC] = LADDER_SOLVE (...) returns, as PCG does:
%     FLAG    0 converged: norm(B - A*X) <= TOL*norm(B) for the X returned;
%             1 MAXIT reached first; 2 the preconditioner gave a direction
%             of no descent; 3 stagnation (the residual stopped falling);
%             4 a scalar of the iteration became zero or not finite;
%     RELRES  norm(B - A*X) / norm(B), computed from X whatever FLAG is
%             (0 for B = 0);
%     ITER    the iteration of X (when FLAG is not 0, the iterate of least
%             residual is returned);
%     RESVEC  the residual norm of every iteration, from iteration 0.
%   B may have several columns: all are solved together with the one
%   Hierarchy, each pass over a level's matrix serving every column, and
%   FLAG, RELRES and ITER are rows with one entry per column; RESVEC then has
%   one column per column of B, padded with NaN.  Right-hand sides of any
%   magnitude within double's range, subnormal ones included, are solved
%   alike.
%
%   In single precision, a cycle that breaks down on a matrix whose values
%   span more than single precision resolves (FLAG 2 or 4) is replaced by a
%   double-precision Hierarchy, with a warning ("kelvara:singleBreakdown").
%
%   A singular Laplacian (a connected component whose rows all sum to zero)
%   has solutions only for a B that sums to zero on every such component.
%   For any other B, LADDER_SOLVE warns ("kelvara:outsideRange") and solves
%   the projected system, B less its mean on each such component; RELRES is
%   then that of the projected system.  X has mean zero on every such
%   component.
%
%   Example:
%     A = gallery ('poisson', 300);             % 2-D grid, 9*10^4 unknowns
%     b = rand (size (A, 1), 1);
%     H = ladder_build (A);
%     [x, flag, relres, iter] = ladder_solve (A, b, 1e-8, 50, H);
%     x = ladder_solve (A, b + 1e-3, 1e-8, 50, H, x);   % warm start
%
%   Errors (identifiers, each message naming the argument):
%     "kelvara:notNumeric", "kelvara:notSquare", "kelvara:complex",
%     "kelvara:notFinite", "kelvara:notSymmetric" (names the first entry
%     that differs from its transpose beyond round-off),
%     "kelvara:notDiagonallyDominant" (names the first row whose diagonal
%     falls short of its off-diagonal magnitudes by more than 1e-12 of the
%     row), all for A; "kelvara:badRightHandSide" (B),
%     "kelvara:badTolerance" (TOL or MAXIT), "kelvara:badHierarchy" (H, also
%     when it was built from another matrix), "kelvara:badInitialGuess"
%     (X0), "kelvara:badOption".
%
%   See also LADDER_BUILD, LADDER_PRECONDITIONER, LADDER_DOUBLE, PCG.

  if (nargin < 2)
    error ('kelvara:badRightHandSide', 'ladder_solve needs at least a matrix A and a right-hand side B.');
  end
  if (nargin < 3 || isempty (tol))
    tol = 1e-6;
  end
  if (nargin < 4 || isempty (maxit))
    maxit = min (size (A, 1), 20);
  end
  [H, x0, varargin] = positional (varargin);
  opts = ladder_options (varargin{:});
  if (~ (isnumeric (tol) && isscalar (tol) && isreal (tol) && tol > 0 && tol < 1))
    error ('kelvara:badTolerance', 'TOL must be a real scalar between 0 and 1.');
  end
  if (~ (isnumeric (maxit) && isscalar (maxit) && isreal (maxit) && maxit >= 0 && maxit == fix (maxit)))
    error ('kelvara:badTolerance', 'MAXIT must be a whole number of at least 0, or Inf.');
  end
  tol = double (tol);
  maxit = double (maxit);
  if (isempty (H))
    H = ladder_build (A, opts);
    Ad = sparse (double (A));
  else
    Ad = hierarchy_matrix (A, H);
  end
  meta = H{1}.kelvara;
  n = size (Ad, 1);
  if (~ (isnumeric (b) && ndims (b) == 2 && size (b, 1) == n && isreal (b) && ~ issparse (b)))
    error ('kelvara:badRightHandSide', 'B must be a real full matrix of %d rows, one column per right-hand side.', n);
  end
  if (~ all (isfinite (b(:))))
    error ('kelvara:badRightHandSide', 'B must be finite.');
  end
  k = size (b, 2);
  if (~ (isempty (x0) || (isfloat (x0) && isreal (x0) && ~ issparse (x0) && isequal (size (x0), [n k]))))
    error ('kelvara:badInitialGuess', 'X0 must be [] or a real full double or single matrix of the size of B, %d-by-%d.', n, k);
  end
  if (~ all (isfinite (x0(:))))
    error ('kelvara:badInitialGuess', 'X0 must be finite.');
  end

  % the system of H's finest level: A, or its cover of twice the order
  % with the right-hand side [B; -B]; B less its mean on every singular
  % component
  As = Ad;
  B = double (b);
  X0 = double (x0);
  if (meta.doubled)
    As = ladder_cover (Ad);
    B = [B; -B];
    if (~ isempty (X0))
      X0 = [X0; -X0];
    end
  end
  grounded = double (meta.grounded);
  B = project (B, grounded, true);

  cg = compiled_cg (meta.precision);
  [X, flag, ~, iter, resvec] = cg (As, B, tol, maxit, H, X0);
  again = find (flag == 2 | flag == 4);
  if (strcmp (meta.precision, 'single') && ~ isempty (again))
    % single precision cannot resolve this matrix's range of values
    warning ('kelvara:singleBreakdown', ...
             'The single-precision cycle broke down on this matrix (flag %d); solving again with a double-precision Hierarchy.', flag(again(1)));
    opts.precision = 'double';
    Hd = ladder_build (Ad, opts);
    X0a = [];
    if (~ isempty (X0))
      X0a = X0(:, again);
    end
    [X(:, again), flag(again), ~, iter(again), res] = ladder_cg_double (As, B(:, again), tol, maxit, Hd, X0a);
    rows = max (size (resvec, 1), size (res, 1));
    resvec(end+1:rows, :) = NaN;
    resvec(:, again) = NaN;
    resvec(1:size (res, 1), again) = res;
  end
  if (opts.verbose)
    for c = 1:k
      last = find (~ isnan (resvec(:, c)), 1, 'last') - 1;
      show = unique ([10:10:last, last]);
      fprintf ('iteration %4d: relative residual %.2e\n', [show; resvec(show + 1, c)' / resvec(1, c)]);
    end
  end

  X = project (X, grounded, false);
  if (meta.doubled)
    x = (X(1:n, :) - X(n+1:end, :)) / 2;
  else
    x = X;
  end
  % the relative residual of the x returned, for the caller's A and the
  % (projected) B, whatever the flag; a converged solve whose reduction to
  % the caller's system lost the tolerance to rounding reports stagnation
  relres = zeros (1, k);
  for c = 1:k
    nb = norm (B(1:n, c));
    if (nb > 0)
      relres(c) = norm (B(1:n, c) - Ad * x(:, c)) / nb;
    end
  end
  flag(flag == 0 & relres > tol) = 3;
end

function [H, x0, rest] = positional (args)
  % H and X0 from the arguments after MAXIT: the first is H unless it is a
  % name or an options struct ([] for none), the next X0 on the same terms
  H = [];
  x0 = [];
  rest = args;
  if (~ isempty (rest) && ~ (ischar (rest{1}) || isstruct (rest{1})))
    H = rest{1};
    rest(1) = [];
    if (~ isempty (rest) && ~ (ischar (rest{1}) || isstruct (rest{1})))
      x0 = rest{1};
      rest(1) = [];
    end
  end
  if (~ (iscell (H) || (isnumeric (H) && isempty (H))))
    error ('kelvara:badHierarchy', 'H must be a Hierarchy made by ladder_build, or [] to build one; it is of class %s.', class (H));
  end
  if (~ (isnumeric (x0) || islogical (x0)))
    error ('kelvara:badInitialGuess', 'X0 must be [] or a real full matrix of the size of B; it is of class %s.', class (x0));
  end
end

function Ad = hierarchy_matrix (A, H)
  % A as a sparse double matrix, checked to be the matrix that the reused
  % Hierarchy H was built from: the order, the doubling, the singular
  % components and the fingerprint of its values
  if (~ (isnumeric (A) || islogical (A)) || ndims (A) ~= 2)
    error ('kelvara:notNumeric', 'A must be a numeric matrix; it is of class %s.', class (A));
  end
  if (size (A, 1) ~= size (A, 2))
    error ('kelvara:notSquare', 'A must be square; it is %d-by-%d.', size (A, 1), size (A, 2));
  end
  if (iscomplex (A))
    error ('kelvara:complex', 'A must be real; it is complex (pass real (A) if its imaginary part is round-off).');
  end
  if (~ (~ isempty (H) && isstruct (H{1}) && isscalar (H{1}) && isfield (H{1}, 'kelvara')))
    error ('kelvara:badHierarchy', 'H must be a Hierarchy made by ladder_build (its first level a struct with a field "kelvara").');
  end
  n = size (A, 1);
  meta = ladder_meta (H{1}.kelvara);
  if (meta.order ~= n)
    error ('kelvara:badHierarchy', 'H was built for a matrix of order %d; A is %d-by-%d.', meta.order, n, n);
  end
  Ad = sparse (double (A));
  if (ladder_fingerprint (Ad) ~= meta.fingerprint)
    error ('kelvara:badHierarchy', 'H was built from another matrix than A (their fingerprints differ); build one for A with ladder_build.');
  end
  positive = nnz (Ad > 0) - nnz (diag (Ad) > 0);
  if (meta.doubled ~= (positive > 0))
    error ('kelvara:badHierarchy', 'H''s field "doubled" is %d, but A has %d positive off-diagonal entries.', ...
           meta.doubled, positive);
  end
  if (any (meta.grounded))
    [ok, i] = ladder_grounding (Ad, meta.grounded, meta.doubled);
    if (~ ok)
      error ('kelvara:badHierarchy', 'H''s singular components (field "grounded") do not match those of A at row %d.', i);
    end
  end
end

function cg = compiled_cg (precision)
  % the compiled conjugate gradients of the Hierarchy's precision
  if (strcmp (precision, 'single'))
    cg = @ladder_cg_single;
  else
    cg = @ladder_cg_double;
  end
end

function X = project (X, grounded, warn)
  % X less its mean on every grounded component, with a warning when a
  % right-hand side is not already so; each column's mean is taken of it
  % scaled by a power of two to below 2, so no sum overflows
  if (~ any (grounded))
    return;
  end
  on = grounded > 0;
  g = grounded(on);
  K = max (g);
  count = accumarray (g, 1, [K 1]);
  for c = 1:size (X, 2)
    s = pow2 (floor (log2 (max (abs (X(on, c))))));
    if (s == 0)
      continue;
    end
    mu = accumarray (g, X(on, c) / s, [K 1]) ./ count;
    shift = s * mu(g);
    if (warn && norm (shift) > 1e-10 * norm (X(:, c)))
      warning ('kelvara:outsideRange', ...
               'B is not in the range of the singular matrix A (it does not sum to zero on every component without diagonal excess); solving for B less its mean on each such component.');
    end
    X(on, c) = X(on, c) - shift;
  end
end

%!test
%! ## a grounded grid, one and two right-hand sides, a reused Hierarchy
%! e = ones (30, 1);
%! T = spdiags ([-e 2*e -e], -1:1, 30, 30);
%! A = kron (T, speye (30)) + kron (speye (30), T);
%! B = rand (900, 2);
%! H = ladder_build (A, 'maxdirect', 50);
%! [X, flag, relres] = ladder_solve (A, B, 1e-8, 50, H);
%! assert (flag, [0 0]);
%! assert (relres <= 1e-8);
%! assert (norm (B - A * X) <= 1e-8 * norm (B));

%!test
%! ## a singular Laplacian: b summing to zero is solved, x has mean zero
%! L = sparse ([1 -1 0 0; -1 2 -1 0; 0 -1 2 -1; 0 0 -1 1]);
%! [x, flag] = ladder_solve (L, [1; 0; 0; -1], 1e-10, 10);
%! assert (flag, 0);
%! assert (L * x, [1; 0; 0; -1], 1e-9);
%! assert (sum (x), 0, 1e-12);

%!error id=kelvara:badHierarchy ladder_solve (speye (3), ones (3, 1), 1e-8, 10, ladder_build (speye (3) * 2))
%!error id=kelvara:badTolerance ladder_solve (speye (3), ones (3, 1), 2)
