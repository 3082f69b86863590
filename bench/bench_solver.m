## Benchmark of the Laplacian solver (ladder_build + ladder_solve, double and
## single) against Octave's \ and pcg with ichol, and against hypre's PCG
## with BoomerAMG (bench/solver/hypre_pcg.c), on the families of
## bench/solver/solver_family.m, each written once to a file that every
## solver reads.  Relative residual 1e-8; the final relative residual
## norm(b - A*x)/norm(b) is computed here from each solver's x.  Setup and
## solve times are CPU seconds (user + system) of the solving process, which
## a busy shared machine inflates far less than wall-clock time; the
## wall-clock total is shown beside them.
## Usage: octave-cli --norc bench/bench_solver.m TOOLBOX_DIR BENCH_DIR
##          [quick] [out=PREFIX] [solvers=ladder,mldivide,ichol,hypre] [FAMILY...]
##   quick    families of about 10^4 unknowns (stored apart from the full ones)
##   out      the table goes to PREFIX.csv and its plot to PREFIX.png
##            (default BENCH_DIR/solver_bench)
##   ichol=S1,S2, hypre=S1,S2   only these settings of pcg+ichol or hypre
##            (the names in the table)
##   merge    keep the rows of an existing PREFIX.csv for the families and
##            solvers that this run does not measure
## Each solve runs in a process of its own with a time limit; Octave's runs
## use OpenBLAS on one thread where Debian's libopenblas0-pthread is
## installed.  Singular Laplacians go to ladder_solve as they are; \, ichol
## and hypre get the grounded system (the first vertex of each connected
## component fixed at 0, isolated vertices dropped).
args = argv ();

## Runs one command with LIMIT seconds of CPU time (and five times that of
## wall-clock time) and, unless MEMKB is 0, that much virtual memory; returns
## its RESULT lines (the fields after the word) and a note saying why there
## are none.
function [lines, note] = run_child (cmd, limit, memkb)
  mem = "";
  if (memkb > 0)
    mem = sprintf ("ulimit -v %d; ", memkb);
  endif
  [status, text] = system (sprintf ("timeout %d /bin/sh -c 'ulimit -t %d; %sexec %s' 2>&1", ...
                                    5 * limit, limit, mem, cmd));
  found = regexp (text, "RESULT ([^\n]*)", "tokens");
  lines = cellfun (@(t) strsplit (t{1}, " "), found, "UniformOutput", false);
  note = "";
  if (status == 124)
    note = sprintf ("stopped after %d s wall-clock", 5 * limit);
  elseif (status == 128 + 24 || status == 128 + 9)
    note = sprintf ("stopped after %d s CPU", limit);
  elseif (! isempty (regexpi (text, "out of memory|memory exhausted|bad_alloc", "once")))
    note = "out of memory";
  elseif (status != 0 || isempty (lines))
    err = regexp (text, "error: ([^\n]*)", "tokens", "once");
    note = "failed";
    if (! isempty (err))
      note = ["failed: " err{1}];
    endif
  endif
endfunction

## The solution in FILE, on all n unknowns: a grounded solve's x is set into
## the kept ones, the fixed vertices staying 0.
function x = read_x (file, n, keep)
  fid = fopen (file, "r");
  x = fread (fid, Inf, "double");
  fclose (fid);
  if (numel (x) < n)
    v = x;
    x = zeros (n, 1);
    x(keep) = v;
  endif
endfunction

## The rows of a table that this script wrote (none for FILE "").
function rows_ = read_rows (file)
  lines = {};
  if (! isempty (file))
    lines = strsplit (strtrim (fileread (file)), "\n")(2:end);
  endif
  rows_ = struct ("family", {}, "n", {}, "nnz", {}, "solver", {}, "setting", {}, ...
                  "setup", {}, "iters", {}, "solve", {}, "ns", {}, "relres", {}, "note", {}, ...
                  "wall", {});
  for k = 1:numel (lines)
    f = strsplit (lines{k}, ",");
    v = str2double (f);
    rows_(k) = struct ("family", f{1}, "n", v(2), "nnz", v(3), "solver", f{4}, "setting", f{5}, ...
                       "setup", v(6), "iters", v(7), "solve", v(8), "ns", v(9), "relres", v(10), ...
                       "note", f{13}, "wall", v(12));
  endfor
endfunction

## The rows of OLD that ROWS_ does not measure again, then ROWS_, in the
## order of FAMILIES and of the solvers; BEST marks the best setting of each
## solver per family: the fastest that reaches TOL, or else the one with the
## smallest residual.
function [rows_, best] = table_rows (old, rows_, families, tol)
  ran = strcat ({rows_.family}, "/", {rows_.solver});
  kept = old(! ismember (strcat ({old.family}, "/", {old.solver}), ran));
  rows_ = [reshape(kept, 1, []), reshape(rows_, 1, [])];
  [~, fi] = ismember ({rows_.family}, families);
  [~, si] = ismember ({rows_.solver}, {"ladder_double", "ladder_single", "mldivide", ...
                                       "pcg+ichol", "hypre"});
  [~, order] = sortrows ([fi(:), si(:), (1:numel (rows_))']);
  rows_ = rows_(order);
  best = false (size (rows_));
  keys = strcat ({rows_.family}, "/", {rows_.solver});
  for key = unique (keys)
    k = find (strcmp (keys, key{1}));
    rr = [rows_(k).relres];
    if (any (rr <= tol))
      t = [rows_(k).setup] + [rows_(k).solve];
      t(! (rr <= tol)) = Inf;
      [~, i] = min (t);
    else
      [~, i] = min (rr);
    endif
    best(k(i)) = true;
  endfor
endfunction

function write_table (file, rows_, best)
  fid = fopen (file, "w");
  fprintf (fid, "family,n,nnz,solver,setting,setup_s,iterations,solve_s,ns_per_nnz,relres,best,wall_s,note\n");
  for k = 1:numel (rows_)
    r = rows_(k);
    fprintf (fid, "%s,%d,%d,%s,%s,%.6f,%d,%.6f,%.1f,%.3e,%d,%.3f,%s\n", r.family, r.n, r.nnz, ...
             r.solver, r.setting, r.setup, r.iters, r.solve, r.ns, r.relres, best(k), r.wall, ...
             strrep (r.note, ",", ";"));
  endfor
  fclose (fid);
endfunction

[toolbox, benchdir] = deal (args{1:2});
here = fileparts (mfilename ("fullpath"));
addpath (toolbox);
addpath (fullfile (here, "solver"));

quick = false;
keep_old = false;
only = struct ();
out = fullfile (benchdir, "solver_bench");
solvers = {"ladder", "mldivide", "ichol", "hypre"};
names = {};
for a = args(3:end)'
  a = a{1};
  if (strcmp (a, "quick"))
    quick = true;
  elseif (strcmp (a, "merge"))
    keep_old = true;
  elseif (strncmp (a, "out=", 4))
    out = a(5:end);
  elseif (strncmp (a, "solvers=", 8))
    solvers = strsplit (a(9:end), ",");
  elseif (strncmp (a, "ichol=", 6) || strncmp (a, "hypre=", 6))
    only.(a(1:5)) = strsplit (a(7:end), ",");
  else
    names{end+1} = a;
  endif
endfor
families = {"grid2_unit_1e4", "grid2_unit_1e5", "grid2_unit", "grid3_unit_1e4", ...
            "grid3_unit_1e5", "grid3_unit", "grid2_log", "grid3_log", "photo", ...
            "powerlaw", "islands"};
if (isempty (names))
  names = families;
  if (quick)
    names = names(cellfun (@isempty, regexp (names, "_1e[45]$")));
  endif
endif

## hypre settings, name:coarsen:interp:theta:agglevels:pmax (coarsening
## 6 Falgout, 8 PMIS, 10 HMIS; interpolation 0 classical, 6 extended+i).
hypre_settings = {"falgout-0.25:6:0:0.25:0:0", "pmis-0.25-exti:8:6:0.25:0:4", ...
                  "hmis-0.25-exti:10:6:0.25:0:4", "hmis-0.5-exti:10:6:0.5:0:4", ...
                  "hmis-0.25-exti-agg1:10:6:0.25:1:4", "hmis-0.5-exti-agg1:10:6:0.5:1:4"};
ichol_settings = {"nofill", "nofill-michol", "ict-1e-3", "ict-1e-4"};
for f = fieldnames (only)'
  known = struct ("ichol", {ichol_settings}, "hypre", {regexprep(hypre_settings, ":.*", "")});
  pick = ismember (known.(f{1}), only.(f{1}));
  if (strcmp (f{1}, "ichol"))
    ichol_settings = ichol_settings(pick);
  else
    hypre_settings = hypre_settings(pick);
  endif
endfor
tol = 1e-8;
memkb = 10 * 2^20;     # virtual memory limit of each Octave solve

blas = "/usr/lib/x86_64-linux-gnu/openblas-pthread";
if (exist (blas, "dir"))
  setenv ("LD_LIBRARY_PATH", strjoin ([{blas}, getenv("LD_LIBRARY_PATH")], ":"));
endif
setenv ("OPENBLAS_NUM_THREADS", "1");
unsetenv ("OPENBLAS_CORETYPE");
unsetenv ("OPENBLAS_L2_SIZE");
octave = sprintf ("%s --norc --no-history", fullfile (OCTAVE_HOME, "bin", "octave-cli"));
[~, which_blas] = system ([octave " --eval 'disp (version (\"-blas\"))' 2>/dev/null"]);
printf ("GLIBC_TUNABLES=%s\nBLAS in the Octave solves: %s\n", getenv ("GLIBC_TUNABLES"), ...
        strtrim (which_blas));

data = fullfile (benchdir, merge (quick, "solver_data_quick", "solver_data"));
work = tempname ();
if (! exist (data, "dir"))
  mkdir (data);
endif
mkdir (work);

rows_ = read_rows ("");
old = rows_;
if (keep_old && exist ([out ".csv"], "file"))
  old = read_rows ([out ".csv"]);
endif
for f = 1:numel (names)
  name = names{f};
  sys = fullfile (data, name);
  if (! exist ([sys ".A"], "file"))
    printf ("generating %s ...\n", name);
    fflush (stdout);
    [A, b, singular] = solver_family (name, quick);
    write_system (sys, A, b);
    keep = true (rows (A), 1);
    if (singular)
      [~, firsts] = unique (graph_islands (A), "first");
      keep(firsts) = false;
      write_system ([sys "_g"], A(keep, keep), b(keep));
    endif
    fid = fopen ([sys ".keep"], "w");
    fwrite (fid, keep, "uint8");
    fclose (fid);
  endif
  [A, b] = read_system (sys);
  fid = fopen ([sys ".keep"], "r");
  keep = logical (fread (fid, Inf, "uint8"));
  fclose (fid);
  peer = merge (all (keep), sys, [sys "_g"]);
  n = rows (A);
  printf ("\n== %s: n = %d, stored entries %d%s; load average %s\n", name, n, nnz (A), ...
          merge (all (keep), "", ", singular (peers solve it grounded)"), ...
          strjoin (strsplit (fileread ("/proc/loadavg"))(1:3), " "));
  printf ("%-14s %-20s %9s %6s %9s %9s %10s %8s  %s\n", "solver", "setting", "setup s", ...
          "iters", "solve s", "ns/nnz", "relres", "wall s", "note");
  fflush (stdout);

  runs = {};    # solver, setting, command, time limit, system file
  for s = solvers
    switch (s{1})
      case "ladder"
        for p = {"double", "single"}
          runs(end+1, :) = {["ladder_" p{1}], p{1}, "ladder", p{1}, 600, sys};
        endfor
      case "mldivide"
        runs(end+1, :) = {"mldivide", "-", "mldivide", "-", 400, peer};
      case "ichol"
        for p = ichol_settings
          runs(end+1, :) = {"pcg+ichol", p{1}, "ichol", p{1}, 240, peer};
        endfor
      case "hypre"
        runs(end+1, :) = {"hypre", "", "hypre", "", 900, peer};
    endswitch
  endfor

  for r = 1:rows (runs)
    [label, setting, kind, arg, limit, file] = runs{r, :};
    xbase = fullfile (work, "x");
    if (! quick && any (strcmp (name, {"powerlaw", "islands"})) ...
        && (strcmp (kind, "mldivide") || strncmp (setting, "ict", 3)))
      ## A random graph's factor fills in nearly densely: at 10^4 unknowns
      ## these took seconds to a minute (bench/run.sh solver quick).
      rows_(end+1) = struct ("family", name, "n", n, "nnz", nnz (A), "solver", label, ...
                             "setting", setting, "setup", NaN, "iters", NaN, "solve", NaN, ...
                             "ns", NaN, "relres", NaN, "note", "skipped: factor fills in", ...
                             "wall", NaN);
      printf ("%-14s %-20s skipped: the factor of a random graph fills in\n", label, setting);
      continue;
    endif
    if (strcmp (kind, "hypre"))
      driver = fullfile (benchdir, "hypre_pcg");
      if (! exist (driver, "file"))
        printf ("%-14s not built (install libhypre-dev and rebuild)\n", label);
        continue;
      endif
      [lines, note] = run_child (sprintf ("%s %s %s %g 500 %s", driver, file, xbase, tol, ...
                                          strjoin (hypre_settings, " ")), limit, 0);
      results = cellfun (@(l) [l(1:4), {"0", [xbase "_" l{1} ".x"]}, l(6:7)], lines, ...
                         "UniformOutput", false);
      if (isempty (results))
        results = {{"-", "NaN", "NaN", "NaN", "0", "", "NaN", "NaN"}};
      endif
    else
      [lines, note] = run_child (sprintf ("%s %s %s %s %s %s %s", octave, ...
                                          fullfile (here, "solver", "solve_octave.m"), toolbox, ...
                                          file, [xbase ".x"], kind, arg), limit, memkb);
      if (isempty (lines))
        results = {{setting, "NaN", "NaN", "NaN", "0", "", "NaN", "NaN"}};
      else
        results = {[{setting}, lines{1}(1:4), {[xbase ".x"]}, lines{1}(5:6)]};
      endif
    endif
    for k = 1:numel (results)
      [set, su, it, so, fl, xf, wsu, wso] = results{k}{:};
      row = struct ("family", name, "n", n, "nnz", nnz (A), "solver", label, "setting", set, ...
                    "setup", str2double (su), "iters", str2double (it), "solve", str2double (so), ...
                    "ns", NaN, "relres", NaN, "note", note, "wall", str2double (wsu) + str2double (wso));
      if (! isempty (xf) && exist (xf, "file"))
        x = read_x (xf, n, keep);
        row.relres = norm (b - A * x) / norm (b);
        row.ns = 1e9 * (row.setup + row.solve) / nnz (A);
        delete (xf);
        if (str2double (fl) != 0)
          row.note = sprintf ("flag %s", fl);
        endif
      endif
      rows_(end+1) = row;
      printf ("%-14s %-20s %9.3f %6d %9.3f %9.0f %10.2e %8.2f  %s\n", row.solver, row.setting, ...
              row.setup, row.iters, row.solve, row.ns, row.relres, row.wall, row.note);
      fflush (stdout);
    endfor
  endfor
  [table, best] = table_rows (old, rows_, families, tol);
  write_table ([out ".csv"], table, best);
endfor
confirm_recursive_rmdir (false);
rmdir (work, "s");

[table, best] = table_rows (old, rows_, families, tol);
printf ("\nBest setting of each solver, relative residual %g:\n", tol);
printf ("%-15s %-14s %-20s %9s %6s %9s %9s %10s %8s\n", "family", "solver", "setting", ...
        "setup s", "iters", "solve s", "ns/nnz", "relres", "wall s");
for r = table(best)
  printf ("%-15s %-14s %-20s %9.3f %6d %9.3f %9.0f %10.2e %8.2f  %s\n", r.family, r.solver, ...
          r.setting, r.setup, r.iters, r.solve, r.ns, r.relres, r.wall, r.note);
endfor

[status, text] = system (sprintf ("%s %s %s.csv %s.png 2>&1", octave, ...
                                 fullfile (here, "plot_solver.m"), out, out));
if (status != 0)
  printf ("plot failed: %s\n", text);
endif
printf ("\ntable written to %s.csv, plot to %s.png\n", out, out);
