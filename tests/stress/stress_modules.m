## Calls each of the fifteen modules many times in one Octave session with
## random valid and invalid arguments and reports how much the session's
## resident memory grew during each module's calls.
## Usage: octave-cli stress_modules.m TOOLBOX_DIR [CALLS [LIMIT_KB]]
## CALLS per module (10000 unless given); exits non-zero when a module's
## growth exceeds LIMIT_KB (4096 unless given).
1;

function kb = resident_kb ()
  s = fileread ("/proc/self/status");
  kb = str2double (regexp (s, 'VmRSS:\s*(\d+)', "tokens", "once"){1});
endfunction

## An n-by-n symmetric weighted adjacency without diagonal.
function W = weights (n)
  [i, j, v] = find (sprandsym (n, min (1, 4 / max (n, 1))));
  off = i != j;
  W = sparse (i(off), j(off), abs (v(off)), n, n);
endfunction

## A random argument that no module takes in that place.
function a = odd ()
  pool = {[], zeros(0, 3), 1, -1, NaN, Inf, 2^40, [1 2; 3 4], "ab", {1}, ...
          struct("a", 1), int8([1 2]), single([1; 2]), uint32([3 0 1]), ...
          uint32(zeros(1, 0)), true(1, 3), sparse([1 0; 1 1]), ...
          sparse(logical([1 0; 1 1])), sparse([1i 0; 0 2]), [1+2i; 3], ...
          @sin, sparse(3, 3), uint32(4294967295), -2^31};
  a = pool{randi (numel (pool))};
endfunction

## One argument list for module name: valid ones most of the time, else
## a valid list with one argument replaced, dropped or added.
function args = argument_list (name, H, Hs, lens)
  n = randi ([0 60]);
  W = weights (n);
  switch (name)
    case "ladder_double"
      k = randi (numel (H));
      args = {H{k}, randn(lens(k), 1)};
    case "ladder_single"
      k = randi (numel (Hs));
      args = {Hs{k}, single(randn (lens(k), 1))};
    case "heavy_edge"
      args = {W};
      if (rand () < 0.3)
        args{2} = W;
      endif
    case {"tree_tags", "tree_cleave"}
      args = {heavy_edge(W)};
      if (rand () < 0.3)
        args = {uint32(randi ([0 n + 1], 1, n))};
      endif
    case "relabel_sets"
      args = {W, heavy_edge(W)};
    case "mask_enumerate"
      args = {rand(n, 1) > 0.5};
    case "sdd_from_weights"
      args = {W, rand(n, 1)};
    case "weights_from_sdd"
      args = {sdd_from_weights(W, rand (n, 1))};
    case "twosided_scale"
      args = {W, randn(1, n)};
    case "jitter_lower"
      args = {W, 0.5, 2};
    case {"wavefront", "graph_islands", "dag_sequence"}
      A = sprand (n, n, min (1, 3 / max (n, 1)));
      if (rand () < 0.5)
        A = tril (A, -1);
      endif
      args = {A, randi(max (n, 1)), randi([0 n])};
      if (! strcmp (name, "wavefront"))
        args = args(1);
      endif
    case "route_unwind"
      A = sprand (n + 1, n + 1, min (1, 3 / (n + 1)));
      [~, ~, pred] = wavefront (A, 1, 0);
      args = {pred, randi(n + 1)};
  endswitch
  r = rand ();
  if (r < 0.15)
    args{randi (numel (args))} = odd ();
  elseif (r < 0.2)
    args(end) = [];
  elseif (r < 0.25)
    args{end + 1} = odd ();
  endif
endfunction

## Hierarchies over random weighted graphs, double and single, some of them
## damaged, and the length of the right-hand side each takes.
function [H, Hs, lens] = hierarchies (count)
  H = cell (1, count);
  Hs = cell (1, count);
  lens = zeros (1, count);
  for k = 1:count
    n = randi ([8 80]);
    A = random_sdd (n, 0.1);
    sizes = n;
    while (sizes(end) > 4 && numel (sizes) < 4)
      sizes(end + 1) = max (2, round (sizes(end) / randi ([2 4])));
    endwhile
    maps = arrayfun (@(j) random_aggregates (sizes(j), sizes(j + 1)), ...
                     1:numel (sizes) - 1, "UniformOutput", false);
    [As, cIs] = galerkin_levels (A, maps{:});
    opts = {"repeat", randi([0 2]), "iterative", rand() < 0.3, "laplacian", rand() < 0.3};
    H{k} = hierarchy_from_levels (As, cIs, "double", opts{:});
    Hs{k} = hierarchy_from_levels (As, cIs, "single", opts{:});
    lens(k) = n + H{k}{1}.laplacian;
    if (rand () < 0.4)
      ## one field of one level removed or replaced by an odd value
      i = randi (numel (H{k}));
      f = fieldnames (H{k}{i});
      f = f{randi (numel (f))};
      if (rand () < 0.5)
        H{k}{i} = rmfield (H{k}{i}, f);
        Hs{k}{i} = rmfield (Hs{k}{i}, f);
      else
        H{k}{i}.(f) = odd ();
        Hs{k}{i}.(f) = odd ();
      endif
    endif
  endfor
endfunction

args = argv ();
toolbox = args{1};
calls = 10000;
limit = 4096;
if (numel (args) > 1)
  calls = str2double (args{2});
endif
if (numel (args) > 2)
  limit = str2double (args{3});
endif
here = fileparts (mfilename ("fullpath"));
addpath (toolbox);
addpath (fullfile (here, "..", "octave", "lib"));
addpath (fullfile (here, "..", "..", "demo"));

## each module and the fewest and most outputs it gives
modules = {"ladder_single", 0, 1; "ladder_double", 0, 1; "heavy_edge", 0, 3; ...
           "tree_tags", 0, 3; "tree_cleave", 0, 1; "relabel_sets", 2, 2; ...
           "mask_enumerate", 0, 1; "sdd_from_weights", 0, 1; "weights_from_sdd", 0, 1; ...
           "twosided_scale", 0, 1; "jitter_lower", 0, 1; "wavefront", 0, 3; ...
           "graph_islands", 0, 2; "dag_sequence", 0, 2; "route_unwind", 0, 1};
rand ("seed", 8); randn ("seed", 8);
[H, Hs, lens] = hierarchies (40);
## Argument lists are made ahead, a pool per module, so that the growth
## measured is the calls' own.
pool = 200;
lists = cell (rows (modules), pool);
for m = 1:rows (modules)
  for k = 1:pool
    lists{m, k} = argument_list (modules{m, 1}, H, Hs, lens);
  endfor
endfor

printf ("%-18s %8s %8s %10s %10s\n", "module", "calls", "errors", "growth kB", "B per call");
failed = {};
for m = 1:rows (modules)
  f = str2func (modules{m, 1});
  picks = randi (pool, 1, calls);
  ## mostly a count of outputs the module gives, sometimes one too many
  nouts = randi ([modules{m, 2} modules{m, 3}], 1, calls);
  nouts(rand (1, calls) < 0.05) = modules{m, 3} + 1;
  warm = min (calls, 500);
  errors = 0;
  for c = 1:calls + warm
    if (c == warm + 1)
      before = resident_kb ();
    endif
    k = mod (c - 1, calls) + 1;
    out = cell (1, nouts(k));
    try
      if (nouts(k))
        [out{:}] = f (lists{m, picks(k)}{:});
      else
        f (lists{m, picks(k)}{:});
      endif
    catch
      errors += c > warm;
    end_try_catch
  endfor
  grown = resident_kb () - before;
  printf ("%-18s %8d %8d %10d %10.1f\n", modules{m, 1}, calls, errors, grown, 1024 * grown / calls);
  if (grown > limit)
    failed{end + 1} = modules{m, 1};
  endif
endfor
if (! isempty (failed))
  printf ("resident memory grew by more than %d kB during the calls of: %s\n", limit, ...
          strjoin (failed, ", "));
endif
exit (! isempty (failed));
