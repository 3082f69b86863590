## Plot of the solver benchmark: (setup + solve) time per stored nonzero of
## every family, for the best setting of each solver in a table that
## bench_solver.m wrote.  A solver without a mark on a family failed, ran
## out of memory or time, or stopped short of the relative residual 1e-8.
## Usage: octave-cli --norc bench/plot_solver.m CSV PNG
args = argv ();
[csv, png] = deal (args{1:2});
lines = strsplit (strtrim (fileread (csv)), "\n");
head = strsplit (lines{1}, ",");
T = cellfun (@(l) strsplit (l, ",", "collapsedelimiters", false), lines(2:end)', ...
             "UniformOutput", false);
T = vertcat (T{:});
col = @(name) T(:, strcmp (head, name));
num = @(name) str2double (col (name));

family = col ("family");
[~, first] = unique (family, "first");
families = family(sort (first));
[~, where] = ismember (family, families);
ok = strcmp (col ("best"), "1") & num ("relres") <= 1e-8 & isfinite (num ("ns_per_nnz"));

solvers = {"ladder_double", "ladder_single", "mldivide", "pcg+ichol", "hypre"};
names = {"ladder double", "ladder single", "Octave mldivide", "pcg + ichol", "hypre BoomerAMG-PCG"};
marks = {"o", "s", "d", "^", "v"};
warning ("off", "all");     # gnuplot is the toolkit without a display; print needs no Ghostscript for pngcairo
graphics_toolkit ("gnuplot");
h = figure ("visible", "off");
hold on;
shown = [];
for s = 1:numel (solvers)
  k = ok & strcmp (col ("solver"), solvers{s});
  if (any (k))
    shown(end+1) = s;
    plot (where(k) + 0.12 * (s - 3), num ("ns_per_nnz")(k), marks{s}, "markersize", 7, ...
          "linewidth", 1.5);
  endif
endfor
set (gca, "yscale", "log", "xtick", 1:numel (families), "xlim", [0.5, numel(families) + 0.5], ...
     "xticklabel", {}, "fontsize", 10);
## The families' names slanted below the axis, so that long ones stay apart.
labels = regexprep (families, {"grid(.)_unit_(1e.)", "grid(.)_unit$", "grid(.)_log", "_"}, ...
                    {"$1-D $2", "$1-D unit", "$1-D log", " "});
yl = ylim ();
ylim (yl);
for i = 1:numel (labels)
  text (i, yl(1) / (yl(2) / yl(1)) ^ 0.03, labels{i}, "rotation", 20, ...
        "horizontalalignment", "right", "verticalalignment", "top", "interpreter", "none", ...
        "fontsize", 10);
endfor
grid on;
ylabel ("(setup + solve) ns per stored nonzero");
load1 = [];
if (any (strcmp (head, "load1")))
  load1 = num ("load1")(isfinite (num ("load1")));
endif
under = "";
if (! isempty (load1))
  under = sprintf ("; load average %.1f to %.1f", min (load1), max (load1));
endif
title (["Solve to relative residual 1e-8, one thread; no mark: failed or short of 1e-8" under], ...
       "fontsize", 11);
legend (names(shown), "location", "eastoutside", "fontsize", 10);
set (gca, "position", [0.1 0.24 0.7 0.66]);
## An inch for each family beyond sixteen.
set (h, "paperunits", "inches", "paperposition", [0 0 max(16, numel (families)), 6]);
print (h, "-dpngcairo", "-r100", png);
