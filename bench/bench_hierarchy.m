## Benchmark of the hierarchy kernels on a weighted 8-neighbour grid graph of
## k^2 vertices (more than 10,000,000 stored entries for the default k).
## Usage: octave-cli --norc bench/bench_hierarchy.m TOOLBOX_DIR BENCH_DIR [k]
## Prints, for heavy_edge, relabel_sets, tree_cleave and tree_tags, the best
## time of a few runs, entries (or vertices) per second, and its ratio to a
## floor timed in the same run, one plain pass over what the module must
## read (hierarchy_floor): the values of every column for heavy_edge, the
## values and row indices for relabel_sets, a copy of the parent vector for
## tree_cleave and tree_tags, and for tree_cleave also one bare walk from
## every leaf to its root, the least its two passes of walks take.  Then
## what the host takes to create the module's outputs alone
## (hierarchy_floor "outputs"), which with the library's default heap means
## mapping fresh pages, and the ratio of the rest, the module's own work,
## to the floor.
args = argv ();
addpath (args{1});
addpath (args{2});
addpath (fileparts (mfilename ("fullpath")));
k = 1200;
if (numel (args) > 2)
  k = str2double (args{3});
endif
reps = 5;


## Every vertex of the k-by-k grid joined to its horizontal, vertical and
## diagonal neighbours, each edge with one random weight in both columns.
rand ("state", 3);
id = reshape (1:k*k, k, k);
u = [id(:, 1:end-1)(:); id(1:end-1, :)(:); id(1:end-1, 1:end-1)(:); id(2:end, 1:end-1)(:)];
v = [id(:, 2:end)(:); id(2:end, :)(:); id(2:end, 2:end)(:); id(1:end-1, 2:end)(:)];
w = 0.01 + rand (numel (u), 1);
A = sparse ([u; v], [v; u], [w; w], k*k, k*k);
clear id u v w;
n = rows (A);
p = heavy_edge (A);
Q = tree_cleave (p);
[~, K] = tree_tags (Q);
tunables = getenv ("GLIBC_TUNABLES");
if (isempty (tunables))
  tunables = "unset";
endif
printf ("GLIBC_TUNABLES %s\n", tunables);
printf ("n = %d, nnz(A) = %d, trees after tree_cleave = %d\n", n, nnz (A), K);

## Each module with all the outputs it can give, its floor, the count of
## what it reads, and its outputs as (elements, bytes each) pairs.
e = nnz (A);
cases = {
  "heavy_edge",   @() nthargout (1:3, @heavy_edge, A),       "values",  e, {n, 4, n, 8, n, 8}
  "relabel_sets", @() nthargout (1:2, @relabel_sets, A, p),  "rows",    e, {n, 4, n, 8}
  "tree_cleave",  @() tree_cleave (p),                       "parents", n, {n, 4}
  "tree_cleave",  @() tree_cleave (p),                       "walks",   n, {n, 4}
  "tree_tags",    @() nthargout (1:3, @tree_tags, Q),        "parents", n, {n, 4, K, 8}
};
floors = struct ("values", best_time (@() hierarchy_floor (A), reps), ...
                 "rows", best_time (@() hierarchy_floor (A, "rows"), reps), ...
                 "parents", best_time (@() hierarchy_floor (p), reps), ...
                 "walks", best_time (@() hierarchy_floor (p, "walks"), reps));
printf ("floors: values %.4f s, values and rows %.4f s, parent copy %.4f s, walks %.4f s (%d steps)\n", ...
        floors.values, floors.rows, floors.parents, floors.walks, hierarchy_floor (p, "walks"));
printf ("%-14s %10s %14s %8s %10s %10s %18s\n", "module", "seconds", "M/s", "floor", "/ floor", ...
        "outputs", "(s - outputs) / floor");
for c = 1:rows (cases)
  s = best_time (cases{c, 2}, reps);
  f = floors.(cases{c, 3});
  outs = cases{c, 5};
  o = best_time (@() nthargout (1:numel (outs) / 2, @hierarchy_floor, "outputs", outs{:}), reps);
  printf ("%-14s %10.4f %14.1f %8s %10.2f %10.4f %18.2f\n", cases{c, 1}, s, cases{c, 4} / s / 1e6, ...
          cases{c, 3}, s / f, o, (s - o) / f);
endfor
