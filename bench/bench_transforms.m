## Benchmark of the matrix transforms on a random sparse matrix with more than
## 10,000,000 stored entries.
## Usage: octave-cli --norc bench/bench_transforms.m TOOLBOX_DIR BENCH_DIR [n [per]]
## For each module prints its best time of a few runs, the best time of
## Octave's own vectorised expression of the same transform, and the best time
## of one plain copy of the input's arrays (transforms_floor), with the ratios.
args = argv ();
addpath (args{1});
addpath (args{2});
addpath (fileparts (mfilename ("fullpath")));
n = 1000000;
per = 11;                      # stored entries per column, about
if (numel (args) > 2)
  n = str2double (args{3});
endif
if (numel (args) > 3)
  per = str2double (args{4});
endif
reps = 3;


## A symmetric adjacency without diagonal: a ring, so that no vertex is
## isolated, and random pairs, mirrored.
rand ("state", 1);
m = ceil (n * per / 2);
i = [(1:n).'; randi(n, m - n, 1)];
j = [[2:n, 1].'; randi(n, m - n, 1)];
keep = i != j;
A = sparse ([i(keep); j(keep)], [j(keep); i(keep)], 1, n, n);
clear i j keep;
A = spfun (@(x) 0.5 + rand (size (x)), A);
A = A + A.';                    # symmetric weights
d = full (sum (A, 1)).';
L = sdd_from_weights (A, d);
v = 0.5 + rand (n, 1);
D = spdiags (v, 0, n, n);
lo = 1;
hi = 2;
printf ("n = %d, nnz(A) = %d, nnz(L) = %d\n", n, nnz (A), nnz (L));

assert (isequal (L, spdiags (d, 0, n, n) - A));
assert (isequal (weights_from_sdd (L), A));

cases = {
  "sdd_from_weights", @() sdd_from_weights (A, d), @() spdiags (d, 0, n, n) - A, A
  "weights_from_sdd", @() weights_from_sdd (L), @() -(L - spdiags (diag (L), 0, n, n)), L
  "twosided_scale", @() twosided_scale (A, v), @() D * A * D, A
  "jitter_lower", @() jitter_lower (A, lo, hi), ...
      @() jitter_expression (A, lo, hi), A
};

function B = jitter_expression (A, lo, hi)
  [i, j, a] = find (A);
  x = ((hi - lo) * rand (numel (a), 1) + lo) .* a;
  x(i <= j) = 0;
  B = sparse (i, j, x, rows (A), columns (A));
endfunction

printf ("%-18s %10s %10s %10s %10s %10s\n", "module", "module s", "octave s", "floor s", ...
        "oct/mod", "mod/floor");
for k = 1:rows (cases)
  tm = best_time (cases{k, 2}, reps);
  to = best_time (cases{k, 3}, reps);
  X = cases{k, 4};
  tf = best_time (@() transforms_floor (X), reps);
  printf ("%-18s %10.4f %10.4f %10.4f %10.2f %10.2f\n", cases{k, 1}, tm, to, tf, to / tm, tm / tf);
endfor
