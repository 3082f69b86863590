## Benchmark of ladder_double and ladder_single on a 3-D grid Laplacian of
## m^3 unknowns, aggregated in 2x2x2 clusters down to a direct last level.
## Usage: octave-cli --norc bench/bench_ladder.m TOOLBOX_DIR BENCH_DIR [m]
## Prints the time per cycle of both modules, the bandwidth floor of one
## cycle (the bytes its passes move over the streaming rate of a large copy
## measured in the same run) and the cost of the Hierarchy's validation.
args = argv ();
addpath (args{1});
addpath (args{2});
here = fileparts (mfilename ("fullpath"));
addpath (here);
addpath (fullfile (here, "..", "demo"));
m = 100;
if (numel (args) > 2)
  m = str2double (args{3});
endif


## Bytes that one cycle's passes move, level by level, with values of R bytes.
function total = cycle_bytes (H, R)
  k = numel (H);
  L = k - (k > 1 && H{k - 1}.islast);
  total = 0;
  visits = 1;
  cycles = 1;
  for i = 1:L
    V = H{i};
    n = V.A.n;
    nnz = double (V.A.ia(end));
    spmv = nnz * (R + 4) + 4 * n + 4 * n * R;
    if (i < L)
      nc = V.nc;
      sweep = spmv + 9 * n * R;
      restrict = 4 * n + n * R + 3 * nc * R;
      prolong = 4 * n + nc * R + n * R;
      first = 2 * n * R + spmv + 3 * n * R + restrict + prolong + 3 * n * R + sweep;
      later = sweep + spmv + 3 * n * R + restrict + prolong + 3 * n * R + sweep;
      visit = 4 * n * R + first + (cycles - 1) * later;
    elseif (V.iterative)
      visit = 3 * n * R;
    else
      f = V.chol;
      visit = 12 * (double (f.ld.ia(end)) + double (f.ldT.ia(end))) + 8 * (n + 1) + 48 * n + 2 * n * R;
    endif
    total += visits * visit;
    if (i < L)
      visits *= cycles;
      cycles = V.repeat;
    endif
  endfor
endfunction

[As, cIs] = grid_levels (m, 2000);
Hd = hierarchy_from_levels (As, cIs, "double");
Hs = hierarchy_from_levels (As, cIs, "single");
n = rows (As{1});
printf ("levels: %s\n", mat2str (cellfun (@rows, As)));
clear As cIs;
b = rand (n, 1);
bs = single (b);

reps = 7;
ladder_double (Hd, b);
ladder_single (Hs, bs);
td = best_time (@() ladder_double (Hd, b), reps);
ts = best_time (@() ladder_single (Hs, bs), reps);
tu = best_time (@() ladder_validate_double (Hd, b, 0), reps);
tv = best_time (@() ladder_validate_double (Hd, b, 1), reps) - tu;

big = rand (2^25, 1);                 # 256 MiB
tc = stream_copy (big, 5);
rate = 2 * numel (big) * 8 / tc;      # bytes read and written per second
clear big;
floor_d = cycle_bytes (Hd, 8) / rate;
floor_s = cycle_bytes (Hs, 4) / rate;

printf ("finest order n = %d, stored entries %d\n", n, double (Hd{1}.A.ia(end)));
printf ("streaming rate (copy): %.2f GB/s\n", rate / 1e9);
printf ("ladder_double: %.2f ms per cycle; floor %.2f ms (%.1f MB); ratio %.2f\n", ...
        1e3 * td, 1e3 * floor_d, cycle_bytes (Hd, 8) / 1e6, td / floor_d);
printf ("ladder_single: %.2f ms per cycle; floor %.2f ms (%.1f MB); ratio %.2f\n", ...
        1e3 * ts, 1e3 * floor_s, cycle_bytes (Hs, 4) / 1e6, ts / floor_s);
printf ("single / double time: %.2f\n", ts / td);
printf ("call and unpacking without the cycle: %.2f ms\n", 1e3 * tu);
printf ("validation: %.2f ms, %.1f %% of a double cycle\n", 1e3 * tv, 100 * tv / td);
