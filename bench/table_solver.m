## The README's tables of the solver benchmark, in Markdown, from the tables
## that bench_solver.m wrote: time per stored nonzero of the best setting of
## each solver per family (iterations in brackets), then ladder_double
## against hypre's best setting, with the median, the count of families
## where ours is faster, the machine and its load.
## Usage: octave-cli --norc bench/table_solver.m PREFIX
##   (reads PREFIX.csv and PREFIX_summary.csv)
args = argv ();

## The cells of the table in FILE by column name, as text.
function [col, num] = read_csv (file)
  lines = strsplit (strtrim (fileread (file)), "\n");
  head = strsplit (lines{1}, ",");
  T = cellfun (@(l) strsplit (l, ",", "collapsedelimiters", false), lines(2:end)', ...
               "UniformOutput", false);
  T = vertcat (T{:});
  col = @(name) T(:, strcmp (head, name));
  num = @(name) str2double (col (name));
endfunction

## n as 10^e or m·10^e.
function s = unknowns (n)
  e = floor (log10 (n));
  m = round (n / 10^e * 10) / 10;
  if (m == 1)
    s = sprintf ("10^%d", e);
  else
    s = sprintf ("%g·10^%d", m, e);
  endif
endfunction

## What a family is, from its name.
function s = describe (name)
  kinds = {"^grid2_unit", "2-D grid, unit weights"; "^grid3_unit", "3-D grid, unit weights";
           "^grid2_log", "2-D grid, weights 1e-6 to 1e6"; "^grid3_log", "3-D grid, weights 1e-6 to 1e6";
           "^photo$", "photograph, random walker"; "^powerlaw$", "preferential attachment";
           "^islands$", "random components"};
  s = ["`" name "`"];
  for k = 1:rows (kinds)
    if (! isempty (regexp (name, kinds{k, 1}, "once")))
      s = kinds{k, 2};
    endif
  endfor
endfunction

prefix = args{1};
[col, num] = read_csv ([prefix ".csv"]);
family = col ("family");
[~, first] = unique (family, "first");
families = family(sort (first));
best = strcmp (col ("best"), "1");
solvers = {"ladder_double", "ladder_single", "hypre", "mldivide", "pcg+ichol"};
iterative = [true true true false true];
printf ("| family | unknowns | `ladder_solve` double | single | hypre BoomerAMG-PCG | `\\` | `pcg` + `ichol` |\n");
printf ("|---|---|---|---|---|---|---|\n");
shown = "";
for f = 1:numel (families)
  k = strcmp (family, families{f});
  n = num ("n")(find (k, 1));
  label = describe (families{f});
  cells = {merge(strcmp (label, shown), "", label), unknowns(n)};
  shown = label;
  for s = 1:numel (solvers)
    r = find (k & best & strcmp (col ("solver"), solvers{s}), 1);
    if (isempty (r))
      cells{end+1} = "not run";
    elseif (num ("relres")(r) <= 1e-8)
      cells{end+1} = sprintf ("%.0f", num ("ns_per_nnz")(r));
      if (iterative(s))
        cells{end} = sprintf ("%s (%d)", cells{end}, num ("iterations")(r));
      endif
    elseif (strncmp (col ("note"){r}, "skipped", 7))
      cells{end+1} = "fills in";
    elseif (isfinite (num ("relres")(r)))
      cells{end+1} = "not reached";
    else
      cells{end+1} = regexprep (col ("note"){r}, "^failed.*", "failed");
    endif
  endfor
  printf ("| %s |\n", strjoin (cells, " | "));
endfor

[col, num] = read_csv ([prefix "_summary.csv"]);
printf ("\n| matrix | n | hypre best CPU s (its) | ours CPU s (its) | ours ÷ hypre | k = 4 ÷ k = 1 |\n");
printf ("|---|---:|---|---|---:|---:|\n");
fam = col ("family");
for f = 1:numel (fam)
  printf ("| %s | %s | %.3f (%d) | %.3f (%d) | %.2f | %.2f |\n", describe (fam{f}), ...
          unknowns (num ("n")(f)), num ("hypre_s")(f), num ("hypre_iterations")(f), ...
          num ("ours_s")(f), num ("ours_iterations")(f), num ("ratio")(f), num ("k4_over_k1")(f));
endfor
ratio = num ("ratio");
ok = isfinite (ratio);
load1 = num ("load1");
machine = [col("machine")(:); {"an unnamed machine"}];
printf (["\nOurs ÷ hypre's best: median %.2f, ours faster on %d of %d; measured on %s, " ...
         "1-minute load average %.1f to %.1f.\n"], median (ratio(ok)), nnz (ratio(ok) < 1), ...
        nnz (ok), strrep (machine{1}, ";", ","), min (load1), max (load1));
