function H = ladder_build (A, varargin)
% LADDER_BUILD  Multigrid hierarchy of a symmetric diagonally dominant matrix.
%   H = LADDER_BUILD (A) builds, from the sparse symmetric diagonally
%   dominant matrix A, the Hierarchy that LADDER_DOUBLE applies as one
%   multigrid cycle, a preconditioner for A.  A graph Laplacian, a Laplacian
%   plus a non-negative diagonal, and a matrix with positive off-diagonal
%   entries are all accepted; so are singular and disconnected Laplacians,
%   isolated vertices, zero-weight edges and orders 0 and 1.
%
%   H = LADDER_BUILD (A, OPTS) or LADDER_BUILD (A, NAME, VALUE, ...) sets
%   options, given as fields of the struct OPTS or as name/value pairs:
%
%     'precision'  'double' (default) for LADDER_DOUBLE, or 'single' for
%                  LADDER_SINGLE: values and workspaces in single precision.
%     'maxdirect'  largest order of the last level, solved directly by a
%                  sparse LDL' factor (default 1000).
%     'maxlevels'  largest number of levels (default 50).
%     'verbose'    true to print one line per level (default false).
%
%   Coarse levels group the unknowns in aggregates of about four strongly
%   connected vertices (pairs, then pairs of pairs), each aggregate one
%   unknown of the next level, whose matrix sums the fine matrix over the
%   aggregates.  A vertex held mostly by its diagonal excess (an edge to a
%   ground outside the graph) takes part in no aggregate and is left to the
%   smoothing; a component without excess is grounded at one vertex.
%
%   For a matrix with positive off-diagonal entries, H is the Hierarchy of
%   the Laplacian of twice the order that has A's solutions: apply it with
%   LADDER_SOLVE, which makes that reduction, or through the handle of
%   LADDER_PRECONDITIONER.  Every workspace of H is an array of its own;
%   copy H only as a whole, and do not share its arrays with other
%   variables.
%
%   Example:
%     A = gallery ('poisson', 100);             % 2-D grid, 10^4 unknowns
%     H = ladder_build (A);
%     b = rand (size (A, 1), 1);
%     x = pcg (A, b, 1e-8, 50, ladder_preconditioner (H));
%
%   H{1} also carries a field "kelvara" that LADDER_SOLVE checks against A
%   when H is reused: "order" (of A), "doubled" (true when A has positive
%   off-diagonal entries and was reduced to twice its order), "grounded"
%   (the number of each vertex's component without diagonal excess, 0
%   elsewhere), "precision", and "fingerprint" (LADDER_FINGERPRINT of
%   sparse(double(A))); the cycle modules ignore it.
%
%   Errors (identifiers, each message naming what is wrong):
%   "kelvara:notNumeric", "kelvara:notSquare", "kelvara:complex",
%   "kelvara:notFinite", "kelvara:notSymmetric",
%   "kelvara:notDiagonallyDominant" (as LADDER_SOLVE describes them, all
%   for A); "kelvara:badOption" for an unknown option or a bad value.
%
%   See also LADDER_SOLVE, LADDER_PRECONDITIONER, LADDER_DOUBLE, LADDER_SINGLE.

  if (nargin < 1)
    error ('kelvara:notNumeric', 'ladder_build needs a matrix A.');
  end
  opts = ladder_options (varargin{:});
  n = size (A, 1);
  [A, doubled, fingerprint] = ladder_check (A);
  if (doubled)
    A = ladder_cover (A);
  end
  H = ladder_levels (A, doubled, n, opts);
  H{1}.kelvara.fingerprint = fingerprint;
end

%!test
%! ## a grounded grid: several levels, a converging preconditioner
%! e = ones (30, 1);
%! T = spdiags ([-e 2*e -e], -1:1, 30, 30);
%! A = kron (T, speye (30)) + kron (speye (30), T);
%! H = ladder_build (A, 'maxdirect', 50);
%! assert (numel (H) > 1);
%! assert (H{1}.kelvara.order, 900);
%! assert (class (H{1}.kelvara.fingerprint), "uint64");
%! b = rand (900, 1);
%! [~, flag] = pcg (A, b, 1e-8, 30, ladder_preconditioner (H));
%! assert (flag, 0);

%!test
%! ## a singular Laplacian: one grounded component
%! L = sparse ([1 -1 0; -1 2 -1; 0 -1 1]);
%! H = ladder_build (L);
%! assert (H{1}.kelvara.grounded, uint32 ([1; 1; 1]));

%!error id=kelvara:notDiagonallyDominant ladder_build (sparse ([2 -1 0; -1 1 -1; 0 -1 2]))
%!error id=kelvara:notSquare ladder_build (sparse (2, 3))
