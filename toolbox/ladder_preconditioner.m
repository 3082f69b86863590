function M = ladder_preconditioner (H)
% LADDER_PRECONDITIONER  A function handle applying a Hierarchy, for pcg, gmres and other solvers.
%   M = LADDER_PRECONDITIONER (H) returns a handle M such that M(r) is one
%   multigrid cycle of the Hierarchy H that LADDER_BUILD made from A,
%   applied to the column r of A's order: an approximation of A\r, as the
%   preconditioner argument of PCG, PCR, GMRES, BICGSTAB and the like take
%   it.  It serves every matrix LADDER_BUILD accepts:
%     - for a matrix with positive off-diagonal entries, H is of twice the
%       order of A; M(r) applies it to [r; -r] and returns (z1 - z2)/2 of
%       its result [z1; z2], the cycle's approximation of A\r;
%     - in single precision, r is scaled into single's range, the cycle
%       runs in single and M(r) is returned in double.  Such a cycle is
%       linear only to single's rounding: PCG, GMRES and BICGSTAB converge
%       with it, but PCR, whose short recurrences need a preconditioner
%       linear to the last bit, needs a double-precision Hierarchy.
%   Each call writes the workspaces of H, as LADDER_DOUBLE does.
%
%   Example:
%     A = gallery ('poisson', 100);
%     H = ladder_build (A);
%     x = pcg (A, rand (size (A, 1), 1), 1e-8, 50, ladder_preconditioner (H));
%
%   Errors: "kelvara:badHierarchy" when H is not a Hierarchy made by
%   LADDER_BUILD.  The handle raises the errors of LADDER_DOUBLE and
%   LADDER_SINGLE.
%
%   See also LADDER_BUILD, LADDER_SOLVE, LADDER_DOUBLE, PCG, GMRES.

  if (~ (iscell (H) && ~ isempty (H) && isstruct (H{1}) && isscalar (H{1}) && isfield (H{1}, 'kelvara')))
    error ('kelvara:badHierarchy', 'H must be a Hierarchy made by ladder_build.');
  end
  meta = ladder_meta (H{1}.kelvara);
  if (strcmp (meta.precision, 'single'))
    cycle = @(r) cycle_single (H, r);
  else
    cycle = @(r) ladder_double (H, double (r));
  end
  if (meta.doubled)
    n = meta.order;
    M = @(r) fold (cycle ([r; -r]), n);
  else
    M = cycle;
  end
end

function z = cycle_single (H, r)
  % one single-precision cycle on r scaled by a power of two to below 2
  s = pow2 (floor (log2 (max (abs (r(:))))));
  if (isempty (s) || s == 0)
    z = zeros (size (r));
    return;
  end
  z = s * double (ladder_single (H, single (r / s)));
end

function x = fold (z, n)
  % the solution of A from that [z1; z2] of its cover: (z1 - z2)/2
  x = (z(1:n) - z(n+1:end)) / 2;
end

%!test
%! ## positive off-diagonal entries, both precisions, with four solvers
%! A = sparse ([3 1 0 0; 1 3 -1 0; 0 -1 3 1; 0 0 1 2]);
%! b = [1; 2; 3; 4];
%! for prec = {'double', 'single'}
%!   M = ladder_preconditioner (ladder_build (A, 'precision', prec{1}));
%!   assert (norm (M (b) - A \ b) < 1e-5 * norm (A \ b));
%!   [x, flag] = pcg (A, b, 1e-10, 4, M);
%!   assert (flag, 0);
%!   [x, flag] = gmres (A, b, [], 1e-10, 4, M);
%!   assert (flag, 0);
%! endfor

%!error id=kelvara:badHierarchy ladder_preconditioner ({1})
