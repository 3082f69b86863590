% LADDER_CG_SINGLE  Conjugate gradients preconditioned by one single-precision cycle.
%   [x, flag, relres, iter, resvec] = ladder_cg_single(A, b, tol, maxit, H)
%   solves A*x = b for the real sparse symmetric double matrix A and the
%   double column b by conjugate gradients from x = 0, preconditioned by one
%   multigrid cycle of the Hierarchy H per iteration (as LADDER_SINGLE applies
%   it; the residual is scaled into the cycle's range first), the iteration
%   itself in double.  It stops when the residual recomputed from x is at
%   most tol*norm(b), or after maxit iterations, and then returns the
%   iterate of least residual.  flag: 0 converged, 1 maxit reached, 2 the
%   cycle gave a direction of no descent, 3 stagnation, 4 a scalar of the
%   iteration became zero or not finite.  The workspaces of H are written.
%   LADDER_SOLVE calls it, with the checks and the singular and doubled
%   systems it handles.
%
%   Errors: 'Wrong number of input arguments', 'Wrong number of output
%   arguments', 'First argument must be a real square sparse double
%   matrix', 'Second argument must be a real double vector with one entry
%   per vertex', 'Third and fourth arguments must be a positive tolerance
%   and a count of iterations', 'Fifth argument must be a Hierarchy cell',
%   the Hierarchy errors of LADDER_SINGLE, 'Out of memory'.
%
%   See also LADDER_SOLVE, LADDER_BUILD.
function [x, flag, relres, iter, resvec] = ladder_cg_single(A, b, tol, maxit, H) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'ladder_cg_single is not built; run kelvara_build');
end

%!test
%! A = sparse ([2 -1 0; -1 2 -1; 0 -1 2]);
%! H = ladder_build (A, "precision", "single");
%! [x, flag] = ladder_cg_single (A, [1; 0; 3], 1e-10, 20, H);
%! assert (flag, 0);
%! assert (x, [1.5; 2; 2.5], 1e-8);
