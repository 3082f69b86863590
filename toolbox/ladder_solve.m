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
%   (min(rows(A), 20) when empty or absent).  The stop is judged on the
%   residual computed afresh from X, not only on the recurrence.
%
%   X = LADDER_SOLVE (A, B, TOL, MAXIT, H) reuses the Hierarchy H that
%   LADDER_BUILD made from this A (its precision is H's).
%   X = LADDER_SOLVE (..., OPTS) or (..., NAME, VALUE, ...) passes options:
%   those of LADDER_BUILD ('precision' 'double' or 'single', 'maxdirect',
%   'maxlevels'), and 'verbose', true to print the build's levels and the
%   relative residual every ten iterations.
%
%   [X, FLAG, RELRES, ITER, RESVEC] = LADDER_SOLVE (...) returns, as PCG does:
%     FLAG    0 converged to TOL; 1 MAXIT reached first; 2 the
%             preconditioner gave a direction of no descent; 3 stagnation;
%             4 a scalar of the iteration became zero or not finite;
%     RELRES  norm(B - A*X) / norm(B), computed from X;
%     ITER    the iteration of X (when FLAG is not 0, the iterate of least
%             residual is returned);
%     RESVEC  the residual norm of every iteration, from iteration 0.
%   B may have several columns: each is solved with the one Hierarchy, and
%   FLAG, RELRES and ITER are rows with one entry per column; RESVEC then has
%   one column per column of B, padded with NaN.
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
%     b = rand (rows (A), 1);
%     [x, flag, relres, iter] = ladder_solve (A, b, 1e-8, 50);
%
%   Errors (identifiers, each message naming what is wrong):
%     "kelvara:notNumeric", "kelvara:notSquare", "kelvara:complex",
%     "kelvara:notFinite", "kelvara:notSymmetric" (names the first entry
%     that differs from its transpose beyond round-off),
%     "kelvara:notDiagonallyDominant" (names the first row whose diagonal
%     falls short of its off-diagonal magnitudes by more than 1e-12 of the
%     row), "kelvara:badRightHandSide", "kelvara:badTolerance",
%     "kelvara:badHierarchy", "kelvara:badOption".
%
%   See also LADDER_BUILD, LADDER_DOUBLE, LADDER_SINGLE, PCG.

  if (nargin < 2)
    error ('kelvara:badRightHandSide', 'ladder_solve needs at least a matrix A and a right-hand side B.');
  end
  if (nargin < 3 || isempty (tol))
    tol = 1e-6;
  end
  if (nargin < 4 || isempty (maxit))
    maxit = min (size (A, 1), 20);
  end
  H = [];
  if (~ isempty (varargin) && iscell (varargin{1}))
    H = varargin{1};
    varargin(1) = [];
  end
  opts = ladder_options (varargin{:});
  if (~ (isnumeric (tol) && isscalar (tol) && isreal (tol) && tol > 0 && tol < 1))
    error ('kelvara:badTolerance', 'TOL must be a real scalar between 0 and 1.');
  end
  if (~ (isnumeric (maxit) && isscalar (maxit) && isreal (maxit) && maxit >= 0 && maxit == fix (maxit)))
    error ('kelvara:badTolerance', 'MAXIT must be a whole number of at least 0.');
  end
  if (isempty (H))
    H = ladder_build (A, opts);
  end
  As = hierarchy_matrix (A, H);
  n = size (A, 1);
  if (~ (isnumeric (b) && ndims (b) == 2 && size (b, 1) == n && isreal (b) && ~ issparse (b)))
    error ('kelvara:badRightHandSide', 'B must be a real full matrix of %d rows, one column per right-hand side.', n);
  end
  if (~ all (isfinite (b(:))))
    error ('kelvara:badRightHandSide', 'B must be finite.');
  end
  meta = H{1}.kelvara;
  grounded = double (meta.grounded);
  B = double (b);
  if (meta.doubled)
    B = [B; -B];
  end
  B = project (B, grounded, true);

  k = size (b, 2);
  cg = compiled_cg (meta.precision);
  [X, flag, relres, iter, resvec] = cg (As, B, tol, maxit, H);
  again = strcmp (meta.precision, 'single') & (flag == 2 | flag == 4);
  if (any (again))
    % single precision cannot resolve this matrix's range of values
    warning ('kelvara:singleBreakdown', ...
             'The single-precision cycle broke down on this matrix (flag %d); solving again with a double-precision Hierarchy.', flag(find (again, 1)));
    opts.precision = 'double';
    Hd = ladder_build (A, opts);
    [X(:, again), flag(again), relres(again), iter(again), rd] = ladder_cg_double (As, B(:, again), tol, maxit, Hd);
    rows = max (size (resvec, 1), size (rd, 1));
    resvec(end+1:rows, :) = NaN;
    resvec(:, again) = NaN;
    resvec(1:size (rd, 1), again) = rd;
  end
  if (opts.verbose)
    for c = 1:k
      res = resvec(~ isnan (resvec(:, c)), c);
      show = [10:10:numel(res)-1, numel(res)-1];
      fprintf ('iteration %4d: relative residual %.2e\n', [show; res(show + 1)' / res(1)]);
    end
  end
  X = project (X, grounded, false);
  if (meta.doubled)
    x = (X(1:n, :) - X(n+1:end, :)) / 2;
  else
    x = X;
  end
  for c = find (relres > 0 & meta.doubled)
    relres(c) = norm (B(1:n, c) - A * x(:, c)) / norm (B(1:n, c));
  end
end

function As = hierarchy_matrix (A, H)
  % the matrix a reused Hierarchy was built for, checked against it
  if (~ (iscell (H) && ~ isempty (H) && isstruct (H{1}) && isfield (H{1}, 'kelvara')))
    error ('kelvara:badHierarchy', 'H must be a Hierarchy made by ladder_build.');
  end
  meta = H{1}.kelvara;
  if (size (A, 1) ~= size (A, 2) || size (A, 1) ~= meta.order)
    error ('kelvara:badHierarchy', 'H was built for a matrix of order %d; A is %d-by-%d.', ...
           meta.order, size (A, 1), size (A, 2));
  end
  As = sparse (double (A));
  if (meta.doubled)
    As = ladder_cover (As);
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
  % right-hand side is not already so
  if (~ any (grounded))
    return;
  end
  on = grounded > 0;
  K = max (grounded);
  for c = 1:size (X, 2)
    mu = accumarray (grounded(on), X(on, c), [K 1]) ./ accumarray (grounded(on), 1, [K 1]);
    shift = mu(grounded(on));
    if (warn && norm (shift) > 1e-10 * norm (X(:, c)))
      warning ('kelvara:outsideRange', ...
               'B is not in the range of the singular matrix A (it does not sum to zero on every component without diagonal excess); solving for B less its mean on each such component.');
    end
    X(on, c) = X(on, c) - shift;
  end
end
