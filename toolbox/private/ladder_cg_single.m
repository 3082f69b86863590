% LADDER_CG_SINGLE  Flexible conjugate gradients preconditioned by a single-precision K-cycle.
%   [X, FLAG, RELRES, ITER, RESVEC] = ladder_cg_single(A, B, TOL, MAXIT, H, X0)
%   solves A*X = B for the real sparse symmetric double matrix A and the k
%   columns of the real double matrix B in lockstep (each pass over a matrix
%   serves all k), by flexible conjugate gradients from X0 (zero when absent
%   or empty), each iteration preconditioned by one K-cycle of the
%   Hierarchy H: the cycle of LADDER_SINGLE, but where H repeats a coarse
%   cycle or a coarse level has at most half the entries of the level above,
%   two steps of flexible conjugate gradients on that level, each
%   preconditioned by its own K-cycle.  The iteration itself is in double,
%   on B scaled by a power of two, so B of any magnitude is solved alike.
%   A column stops when its residual recomputed from X is at most
%   TOL*norm(b), after MAXIT iterations (Inf: no limit), or when its true
%   residual stops falling; it then holds its iterate of least residual.
%   FLAG, RELRES and ITER have a column each: FLAG 0 converged, 1 MAXIT
%   reached, 2 the cycle gave a direction of no descent, 3 stagnation, 4 a
%   scalar of the iteration became zero or not finite; RELRES is
%   norm(b - A*x)/norm(b) of the x returned; RESVEC holds the residual
%   norms from iteration 0, a column each, padded with NaN.  H is only read;
%   Ctrl-C ends the call.  LADDER_SOLVE calls it, with the checks and the
%   singular and doubled systems it handles.
%
%   Errors: "kelvara:badArguments" (argument counts), "kelvara:notNumeric"
%   (A), "kelvara:badRightHandSide" (B), "kelvara:badTolerance" (TOL,
%   MAXIT), "kelvara:badHierarchy" (H, a Hierarchy error of LADDER_SINGLE,
%   or a workspace of H that shares its data with A, B or X0),
%   "kelvara:badInitialGuess" (X0), "kelvara:interrupted", 'Out of memory'.
%
%   See also LADDER_SOLVE, LADDER_BUILD.
function [X, flag, relres, iter, resvec] = ladder_cg_single(A, B, tol, maxit, H, X0) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'ladder_cg_single is not built; run kelvara_build');
end
