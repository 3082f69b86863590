function solver_summary (best, real_, tol, file, machine)
% SOLVER_SUMMARY  Prints, and writes to the table FILE, ladder_double's
%   (setup + solve) CPU time over hypre's best setting on each family of
%   BEST (the best row of each solver per family), the median ratio and on
%   how many families ours is faster, over all, the generated families and
%   the real ones (names REAL_); with both iteration counts and the block
%   solve's time for 4 right-hand sides over ladder_double's for one, ours
%   over pcg + ichol's best setting, and
%   the 1-minute load average and MACHINE.  A solver that stopped short of
%   TOL counts as not measured there.
  fam = {best.family};
  [~, first] = unique (fam, "first");
  fam = fam(sort (first));
  F = numel (fam);
  [ours, ours_its, theirs, their_its, k4, ichol, n, load1] = deal (NaN (F, 1));
  setting = repmat ({"-"}, F, 1);
  for f = 1:F
    here = best(strcmp ({best.family}, fam{f}));
    n(f) = here(1).n;
    load1(f) = here(1).load;
    [ours(f), ours_its(f), t1] = cpu (here, "ladder_double", tol);
    [theirs(f), their_its(f), ~, setting{f}] = cpu (here, "hypre", tol);
    [~, ~, t4] = cpu (here, "ladder_k4", tol);
    k4(f) = t4 / t1;
    ichol(f) = cpu (here, "pcg+ichol", tol);
  endfor
  ratio = ours ./ theirs;

  printf ("\nladder_double over hypre's best setting, (setup + solve) CPU seconds, relative residual %g:\n", tol);
  printf ("%-22s %9s %-20s %14s %14s %8s %9s %9s %6s\n", "family", "n", "hypre best", ...
          "hypre s (its)", "ours s (its)", "ours/hy", "k=4/k=1", "ours/ic", "load");
  for f = 1:F
    printf ("%-22s %9d %-20s %8.3f (%3d) %8.3f (%3d) %8.2f %9.2f %9.2f %6.2f\n", fam{f}, n(f), ...
            setting{f}, theirs(f), their_its(f), ours(f), ours_its(f), ratio(f), k4(f), ...
            ours(f) / ichol(f), load1(f));
  endfor
  isreal_ = ismember (fam(:), real_);
  groups = {"all families", true(F, 1); "generated", ! isreal_; "real matrices", isreal_};
  for g = 1:rows (groups)
    k = groups{g, 2} & isfinite (ratio);
    if (any (k))
      k4g = k4(groups{g, 2} & isfinite (k4));
      if (isempty (k4g))
        k4g = NaN;  # the block solve was not run
      endif
      printf ("%-14s median ours/hypre %.2f (%.2f to %.2f); ours faster on %d of %d; block k=4/k=1 median %.2f\n", ...
              groups{g, 1}, median (ratio(k)), min (ratio(k)), max (ratio(k)), nnz (ratio(k) < 1), ...
              nnz (k), median (k4g));
    endif
  endfor
  missing = fam(! isfinite (ratio));
  if (! isempty (missing))
    printf ("not compared (a solver missing or short of %g): %s\n", tol, strjoin (missing, ", "));
  endif

  fid = fopen (file, "w");
  fprintf (fid, "family,n,real,hypre_setting,hypre_s,hypre_iterations,ours_s,ours_iterations,ratio,k4_over_k1,ichol_s,load1,machine\n");
  for f = 1:F
    fprintf (fid, "%s,%d,%d,%s,%.6f,%d,%.6f,%d,%.4f,%.4f,%.6f,%.2f,%s\n", fam{f}, n(f), ...
             isreal_(f), setting{f}, theirs(f), their_its(f), ours(f), ours_its(f), ratio(f), k4(f), ...
             ichol(f), load1(f), strrep (machine, ",", ";"));
  endfor
  fclose (fid);
end

function [t, its, solve, setting] = cpu (rows_, solver, tol)
  % (setup + solve) CPU seconds, iterations, solve seconds and setting of
  % SOLVER's row, NaN where it is missing or short of TOL
  [t, its, solve, setting] = deal (NaN, NaN, NaN, "-");
  r = rows_(strcmp ({rows_.solver}, solver));
  if (! isempty (r) && r(1).relres <= tol)
    [t, its, solve, setting] = deal (r(1).setup + r(1).solve, r(1).iters, r(1).solve, r(1).setting);
  end
end
