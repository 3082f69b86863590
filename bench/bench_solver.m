## Benchmark of the Laplacian solver (ladder_build + ladder_solve, double and
## single) against Octave's \ and pcg with ichol, and against hypre's PCG
## with BoomerAMG (bench/solver/hypre_pcg.c), on the generated families of
## bench/solver/solver_family.m and the shared real matrices, each written
## once to a file that every solver reads.  Relative residual 1e-8; the
## final relative residual norm(b - A*x)/norm(b) is computed here from each
## solver's x.  Setup and solve times are CPU seconds (user + system) of the
## solving process, which a busy shared machine inflates far less than
## wall-clock time; the wall-clock total is shown beside them.
##
## Each contender (a solver at one setting) runs in a process of its own, at
## least REPS times, in rounds that visit every contender once, alternating
## the direction; the run of least CPU time (setup + solve) is reported,
## with the spread (slowest over fastest).  After the first round only the
## contenders that can still be the best of their solver run again: those
## that reached the tolerance within twice the time of their solver's
## fastest setting.
##
## Usage: octave-cli --norc bench/bench_solver.m TOOLBOX_DIR BENCH_DIR
##          [quick] [reps=N] [out=PREFIX] [solvers=ladder,block,mldivide,ichol,hypre]
##          [ichol=S1,S2] [hypre=S1,S2] [merge] [heap=keep] [matrices=DIR]
##          [FAMILY... | generated | real]
##   quick    generated families of about 10^4 unknowns (stored apart from
##            the full ones) and the real matrices of at most 2*10^4
##   reps     rounds of runs (default 3)
##   out      the table goes to PREFIX.csv, the summary to
##            PREFIX_summary.csv, the plot to PREFIX.png
##            (default BENCH_DIR/solver_bench)
##   solvers  block is ladder_solve (double) on 4 right-hand sides at once,
##            against ladder_double on one
##   ichol=S1,S2, hypre=S1,S2   only these settings of pcg+ichol or hypre
##            (the names in the table)
##   merge    keep the rows of an existing PREFIX.csv for the families and
##            solvers that this run does not measure
##   heap=keep  the solving processes keep freed memory (GLIBC_TUNABLES)
##            instead of running with the C library's defaults, as users do
##   matrices the folder of the shared real matrices (default
##            ../shared/matrices beside the repository); without it they are
##            left out with a note
##   FAMILY   names of families; "generated" and "real" stand for each group
## Each solve runs with a time limit; Octave's runs use OpenBLAS on one
## thread where Debian's libopenblas0-pthread is installed.  Singular
## Laplacians go to ladder_solve as they are; \, ichol and hypre get the
## grounded system (the first vertex of each connected component without
## diagonal excess fixed at 0, isolated vertices dropped).
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

## The K solutions in FILE, on all n unknowns: a grounded solve's x is set
## into the kept ones, the fixed vertices staying 0.
function x = read_x (file, n, keep, k)
  fid = fopen (file, "r");
  x = reshape (fread (fid, Inf, "double"), [], k);
  fclose (fid);
  if (rows (x) < n)
    v = x;
    x = zeros (n, k);
    x(keep, :) = v;
  endif
endfunction

## A row of the table.
function r = table_row (family, n, nnz_, solver, setting)
  r = struct ("family", family, "n", n, "nnz", nnz_, "solver", solver, "setting", setting, ...
              "setup", NaN, "iters", NaN, "solve", NaN, "ns", NaN, "relres", NaN, "note", "", ...
              "wall", NaN, "runs", 0, "spread", NaN, "load", NaN);
endfunction

## The rows of a table that this script wrote (none for FILE ""); tables
## written before the runs, spread and load columns get NaN there.
function rows_ = read_rows (file)
  lines = {};
  if (! isempty (file))
    lines = strsplit (strtrim (fileread (file)), "\n")(2:end);
  endif
  rows_ = repmat (table_row ("", 0, 0, "", ""), 1, 0);
  for k = 1:numel (lines)
    f = strsplit (lines{k}, ",", "collapsedelimiters", false);
    f(end+1:16) = {"NaN"};
    v = str2double (f);
    r = table_row (f{1}, v(2), v(3), f{4}, f{5});
    [r.setup, r.iters, r.solve, r.ns, r.relres, r.wall] = deal (v(6), v(7), v(8), v(9), v(10), v(12));
    [r.note, r.runs, r.spread, r.load] = deal (f{13}, v(14), v(15), v(16));
    rows_(k) = r;
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
  [~, si] = ismember ({rows_.solver}, {"ladder_double", "ladder_single", "ladder_k4", ...
                                       "mldivide", "pcg+ichol", "hypre"});
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
  fprintf (fid, ["family,n,nnz,solver,setting,setup_s,iterations,solve_s,ns_per_nnz,relres," ...
                 "best,wall_s,note,runs,spread,load1\n"]);
  for k = 1:numel (rows_)
    r = rows_(k);
    fprintf (fid, "%s,%d,%d,%s,%s,%.6f,%d,%.6f,%.1f,%.3e,%d,%.3f,%s,%d,%.3f,%.2f\n", r.family, ...
             r.n, r.nnz, r.solver, r.setting, r.setup, r.iters, r.solve, r.ns, r.relres, best(k), ...
             r.wall, strrep (r.note, ",", ";"), r.runs, r.spread, r.load);
  endfor
  fclose (fid);
endfunction

## One run of contender RUN = {label, setting, kind, argument, time limit,
## system file} on the family of C (its name, A, right-hand sides, kept
## vertices and the commands), as a row of the table.
function row = measure (run, c)
  [label, setting, kind, arg, limit, file] = run{:};
  row = table_row (c.name, rows (c.A), nnz (c.A), label, setting);
  xfile = fullfile (c.work, "x.x");
  if (strcmp (kind, "hypre"))
    [lines, row.note] = run_child (sprintf ("%s %s %s %g 500 %s", c.hypre, file, ...
                                            fullfile (c.work, "x"), c.tol, arg), limit, 0);
    xfile = fullfile (c.work, ["x_" setting ".x"]);
    fields = {};
    if (! isempty (lines))
      fields = [lines{1}(2:4), {"0"}, lines{1}(6:7)];
    endif
  else
    [lines, row.note] = run_child (sprintf ("%s %s %s %s %s %s %s", c.octave, c.solve, c.toolbox, ...
                                            file, xfile, kind, arg), limit, c.memkb);
    fields = {};
    if (! isempty (lines))
      fields = lines{1};
    endif
  endif
  if (isempty (fields))
    return;
  endif
  v = str2double (fields);
  [row.setup, row.iters, row.solve, row.wall] = deal (v(1), v(2), v(3), v(5) + v(6));
  B = c.b;
  if (strcmp (kind, "block"))
    B = c.bk;
  endif
  if (exist (xfile, "file"))
    x = read_x (xfile, rows (c.A), c.keep, columns (B));
    row.relres = max (sqrt (sumsq (B - c.A * x)) ./ sqrt (sumsq (B)));
    row.ns = 1e9 * (row.setup + row.solve) / nnz (c.A);
    delete (xfile);
  endif
  if (v(4) != 0)
    row.note = sprintf ("flag %d", v(4));
  endif
endfunction

## The contenders' runs of one family, REPS rounds alternating in direction,
## reduced to the run of least (setup + solve) CPU time of each.
function best = measure_all (runs, c, reps)
  got = cell (rows (runs), 1);
  active = true (rows (runs), 1);
  for rep = 1:reps
    order = 1:rows (runs);
    if (mod (rep, 2) == 0)
      order = fliplr (order);
    endif
    for r = order(active(order))
      row = measure (runs(r, :), c);
      got{r}(end+1) = row;
      printf ("  [%d] %-13s %-20s %8.3f + %8.3f s CPU %5d its  %s\n", rep, row.solver, ...
              row.setting, row.setup, row.solve, row.iters, row.note);
      fflush (stdout);
    endfor
    if (rep == 1)
      ## Only a contender that reached the tolerance within twice its
      ## solver's fastest setting can be the best of its solver.
      first = cellfun (@(g) g(1).setup + g(1).solve, got);
      ok = cellfun (@(g) g(1).relres <= c.tol && isempty (g(1).note), got);
      first(! ok) = Inf;
      for label = unique (runs(:, 1))'
        k = strcmp (runs(:, 1), label{1});
        active(k) = active(k) & first(k) <= 2 * min (first(k));
      endfor
      active &= isfinite (first);
    endif
  endfor
  best = repmat (got{1}(1), 1, rows (runs));
  for r = 1:rows (runs)
    g = got{r};
    t = [g.setup] + [g.solve];
    [~, i] = min (t);
    best(r) = g(i);
    best(r).runs = numel (g);
    best(r).spread = max (t) / min (t);
  endfor
endfunction

[toolbox, benchdir] = deal (args{1:2});
here = fileparts (mfilename ("fullpath"));
addpath (toolbox);
addpath (fullfile (here, "solver"));

quick = false;
keep_old = false;
reps = 3;
only = struct ();
out = fullfile (benchdir, "solver_bench");
shared = fullfile (here, "..", "..", "shared", "matrices");
solvers = {"ladder", "block", "mldivide", "ichol", "hypre"};
names = {};
for a = args(3:end)'
  a = a{1};
  if (strcmp (a, "quick"))
    quick = true;
  elseif (strcmp (a, "merge"))
    keep_old = true;
  elseif (strcmp (a, "heap=keep"))
    setenv ("GLIBC_TUNABLES", ["glibc.malloc.mmap_threshold=2147483647:" ...
                               "glibc.malloc.trim_threshold=4294967295"]);
  elseif (strncmp (a, "reps=", 5))
    reps = str2double (a(6:end));
  elseif (strncmp (a, "out=", 4))
    out = a(5:end);
  elseif (strncmp (a, "matrices=", 9))
    shared = a(10:end);
  elseif (strncmp (a, "solvers=", 8))
    solvers = strsplit (a(9:end), ",");
  elseif (strncmp (a, "ichol=", 6) || strncmp (a, "hypre=", 6))
    only.(a(1:5)) = strsplit (a(7:end), ",");
  else
    names{end+1} = a;
  endif
endfor
if (! (isscalar (reps) && reps >= 1 && reps == fix (reps)))
  error ("bench_solver: reps must be a whole number of at least 1");
endif

generated = {"grid2_unit_1e4", "grid2_unit_1e5", "grid2_unit", "grid3_unit_1e4", ...
             "grid3_unit_1e5", "grid3_unit", "grid2_log", "grid3_log", "photo", ...
             "powerlaw", "islands"};
real_ = {};
if (exist (fullfile (shared, "real_matrix.m"), "file"))
  addpath (shared);
  real_ = regexprep (sort ({dir(fullfile (shared, "*.mat")).name}), "\\.mat$", "");
else
  printf ("The shared real matrices are left out: no %s (give matrices=DIR).\n", ...
          fullfile (shared, "real_matrix.m"));
endif
families = [generated, real_];
if (isempty (names))
  names = {"generated", "real"};
endif
names = cellfun (@(s) merge (strcmp (s, "generated"), {generated}, ...
                             merge (strcmp (s, "real"), {real_}, {{s}})), names);
names = [names{:}];
if (quick && ! any (strcmp (args, "real")) && ! isempty (real_))
  ## The real matrices of about 10^4 unknowns, unless named.
  small = cellfun (@(s) ! any (strcmp (s, real_)) || any (strcmp (s, args)) ...
                   || load (fullfile (shared, [s ".mat"]), "n").n <= 2e4, names);
  names = names(small);
endif
if (quick)
  names = names(cellfun (@isempty, regexp (names, "_1e[45]$")));
endif
unknown = setdiff (names, families);
if (! isempty (unknown))
  error ("bench_solver: unknown families %s", strjoin (unknown, ", "));
endif

## hypre settings, name:coarsen:interp:theta:agglevels:pmax (coarsening
## 6 Falgout, 8 PMIS, 10 HMIS; interpolation 0 classical, 6 extended+i).
hypre_settings = {"falgout-0.25:6:0:0.25:0:0", "pmis-0.25-exti:8:6:0.25:0:4", ...
                  "pmis-0.5-exti-agg1:8:6:0.5:1:4", "hmis-0.25-exti:10:6:0.25:0:4", ...
                  "hmis-0.5-exti-agg1:10:6:0.5:1:4", "hmis-0.5-exti:10:6:0.5:0:4", ...
                  "hmis-0.25-exti-agg1:10:6:0.25:1:4"};
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

blas = "/usr/lib/x86_64-linux-gnu/openblas-pthread";
if (exist (blas, "dir"))
  setenv ("LD_LIBRARY_PATH", strjoin ([{blas}, getenv("LD_LIBRARY_PATH")], ":"));
endif
setenv ("OPENBLAS_NUM_THREADS", "1");
unsetenv ("OPENBLAS_CORETYPE");
unsetenv ("OPENBLAS_L2_SIZE");
octave = sprintf ("%s --norc --no-history", fullfile (OCTAVE_HOME, "bin", "octave-cli"));
[~, which_blas] = system ([octave " --eval 'disp (version (\"-blas\"))' 2>/dev/null"]);
cpu = regexp (fileread ("/proc/cpuinfo"), "model name\\s*:\\s*([^\n]*)", "tokens", "once");
[~, cores] = system ("nproc");
machine = sprintf ("%s, %s cores", strtrim ([cpu{:}]), strtrim (cores));
printf ("Machine: %s\nGLIBC_TUNABLES=%s\nBLAS in the Octave solves: %s\n", machine, ...
        getenv ("GLIBC_TUNABLES"), strtrim (which_blas));
printf ("Each contender runs in up to %d rounds; the least CPU time is kept.\n", reps);

c = struct ("tol", tol, "memkb", 10 * 2^20, "octave", octave, "toolbox", toolbox, ...
            "solve", fullfile (here, "solver", "solve_octave.m"), ...
            "hypre", fullfile (benchdir, "hypre_pcg"), "work", tempname ());
data = fullfile (benchdir, merge (quick, "solver_data_quick", "solver_data"));
if (! exist (data, "dir"))
  mkdir (data);
endif
mkdir (c.work);
loads = [];

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
    if (any (strcmp (name, real_)))
      [A, b] = real_family (shared, name);
    else
      [A, b] = solver_family (name, quick);
    endif
    [b, keep] = ground_free (A, b);
    write_system (sys, A, b);
    if (! all (keep))
      write_system ([sys "_g"], A(keep, keep), b(keep));
    endif
    fid = fopen ([sys ".keep"], "w");
    fwrite (fid, keep, "uint8");
    fclose (fid);
  endif
  [c.A, c.b] = read_system (sys);
  fid = fopen ([sys ".keep"], "r");
  c.keep = logical (fread (fid, Inf, "uint8"));
  fclose (fid);
  if (! exist ([sys ".bk"], "file"))
    ## Four right-hand sides for the block solve, the first the family's.
    randn ("state", 3);
    bk = ground_free (c.A, [c.b, randn(rows (c.A), 3)]);
    bk(:, 1) = c.b;
    fid = fopen ([sys ".bk"], "w");
    fwrite (fid, bk, "double");
    fclose (fid);
  endif
  fid = fopen ([sys ".bk"], "r");
  c.bk = reshape (fread (fid, Inf, "double"), rows (c.A), []);
  fclose (fid);
  c.name = name;
  peer = merge (all (c.keep), sys, [sys "_g"]);
  n = rows (c.A);
  load1 = str2double (strsplit (fileread ("/proc/loadavg")){1});
  loads(end+1) = load1;
  printf ("\n== %s: n = %d, stored entries %d%s; load average %s\n", name, n, nnz (c.A), ...
          merge (all (c.keep), "", ", singular (peers solve it grounded)"), ...
          strjoin (strsplit (fileread ("/proc/loadavg"))(1:3), " "));
  fflush (stdout);

  runs = cell (0, 6);    # solver, setting, kind, argument, time limit, system file
  skipped = {};
  for s = solvers
    switch (s{1})
      case "ladder"
        for p = {"double", "single"}
          runs(end+1, :) = {["ladder_" p{1}], p{1}, "ladder", p{1}, 600, sys};
        endfor
      case "block"
        runs(end+1, :) = {"ladder_k4", "double", "block", "double", 600, sys};
      case "mldivide"
        runs(end+1, :) = {"mldivide", "-", "mldivide", "-", 400, peer};
      case "ichol"
        for p = ichol_settings
          runs(end+1, :) = {"pcg+ichol", p{1}, "ichol", p{1}, 240, peer};
        endfor
      case "hypre"
        if (! exist (c.hypre, "file"))
          printf ("hypre: not built (install libhypre-dev and rebuild)\n");
          continue;
        endif
        for p = hypre_settings
          runs(end+1, :) = {"hypre", regexprep(p{1}, ":.*", ""), "hypre", p{1}, 300, peer};
        endfor
      otherwise
        error ("bench_solver: unknown solver '%s'", s{1});
    endswitch
  endfor
  if (! quick && any (strcmp (name, {"powerlaw", "islands"})))
    ## A random graph's factor fills in nearly densely: at 10^4 unknowns
    ## these took seconds to a minute (bench/run.sh solver quick).
    fills = strcmp (runs(:, 3), "mldivide") | strncmp (runs(:, 2), "ict", 3);
    for r = find (fills)'
      skipped{end+1} = table_row (name, n, nnz (c.A), runs{r, 1}, runs{r, 2});
      skipped{end}.note = "skipped: factor fills in";
    endfor
    runs = runs(! fills, :);
  endif
  got = [];
  if (! isempty (runs))
    got = measure_all (runs, c, reps);
  endif
  got = [got, [skipped{:}]];
  if (! isempty (got))
    [got.load] = deal (load1);
    rows_ = [rows_, got];
  endif

  printf ("%-14s %-20s %9s %6s %9s %9s %10s %8s %4s %6s  %s\n", "solver", "setting", "setup s", ...
          "iters", "solve s", "ns/nnz", "relres", "wall s", "runs", "spread", "note");
  for row = got
    printf ("%-14s %-20s %9.3f %6d %9.3f %9.0f %10.2e %8.2f %4d %6.2f  %s\n", row.solver, ...
            row.setting, row.setup, row.iters, row.solve, row.ns, row.relres, row.wall, row.runs, ...
            row.spread, row.note);
  endfor
  fflush (stdout);
  [table, best] = table_rows (old, rows_, families, tol);
  write_table ([out ".csv"], table, best);
endfor
confirm_recursive_rmdir (false);
rmdir (c.work, "s");

[table, best] = table_rows (old, rows_, families, tol);
printf ("\nBest setting of each solver, relative residual %g:\n", tol);
printf ("%-22s %-14s %-20s %9s %6s %9s %9s %10s %8s\n", "family", "solver", "setting", ...
        "setup s", "iters", "solve s", "ns/nnz", "relres", "wall s");
for r = table(best)
  printf ("%-22s %-14s %-20s %9.3f %6d %9.3f %9.0f %10.2e %8.2f  %s\n", r.family, r.solver, ...
          r.setting, r.setup, r.iters, r.solve, r.ns, r.relres, r.wall, r.note);
endfor

printf ("\nMachine: %s; 1-minute load average %.2f to %.2f over the families measured.\n", ...
        machine, min (loads), max (loads));
solver_summary (table(best), real_, tol, [out "_summary.csv"], machine);

[status, text] = system (sprintf ("%s %s %s.csv %s.png 2>&1", octave, ...
                                 fullfile (here, "plot_solver.m"), out, out));
if (status != 0)
  printf ("plot failed: %s\n", text);
endif
printf ("\ntable written to %s.csv, summary to %s_summary.csv, plot to %s.png\n", out, out, out);
