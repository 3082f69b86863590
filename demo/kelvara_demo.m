## Demo: segmentation of a photograph by random walks, then a 3-D grid of
## random weights, each solved with ladder_build and ladder_solve and set
## beside Octave's \ and pcg with ichol.
## Usage: octave-cli --norc demo/kelvara_demo.m TOOLBOX_DIR PNG_FILE [small]
## "small" segments a crop of the photograph and solves small grids only.
1;
function progress (varargin)
  ## one line per stage, shown at once
  printf ("-- %s\n", sprintf (varargin{:}));
  fflush (stdout);
endfunction

function note = flag_note (flag)
  ## what a nonzero flag of pcg or ladder_solve means, for the tables
  note = "";
  if (flag != 0)
    note = sprintf ("  (flag %d: not converged)", flag);
  endif
endfunction

args = argv ();
addpath (args{1});
addpath (fileparts (mfilename ("fullpath")));
png = args{2};
small = numel (args) > 2 && strcmp (args{3}, "small");
tol = 1e-8;

## Segmentation: three labels (sky, man, ground) with fixed seed pixels of
## the 512-by-512 photograph, given as [row column label].
photo = "/usr/lib/python3/dist-packages/skimage/data/camera.png";
seeds = [ 30  60 1;  20 250 1;  40 400 1; 100 480 1;
         100 200 2; 200 100 2; 300  60 2; 450  60 2; 230 220 2;
         300 420 3; 450 450 3; 470 195 3; 260 380 3; 400 330 3; 380 200 3];
progress ("reading %s", photo);
img = double (imread (photo)) / 255;
if (small)
  ## a 300-by-300 crop holding seeds of all three labels
  img = img(1:300, 151:450);
  seeds(:, 2) -= 150;
  seeds = seeds(all (seeds(:, 1:2) >= 1 & seeds(:, 1:2) <= 300, 2), :);
endif
[r, c] = size (img);
progress ("building the pixel graph of %d x %d pixels", r, c);
W = pixel_graph (img, 90);
at = sub2ind ([r c], seeds(:, 1), seeds(:, 2));
progress ("random walks from %d seeds, %d labels: Hierarchy, then one solve per label",
          rows (seeds), max (seeds(:, 3)));
[labels, ~, s] = random_walker (W, at, seeds(:, 3), tol);
printf ("\nRandom-walker segmentation, tolerance %g\n", tol);
printf ("  unknowns %d, nonzeros %d, %d levels, Hierarchy built in %.2f s, %d solves in %.2f s\n",
        s.n, s.nnz, s.levels, s.build, numel (s.iter), s.solve);
for k = 1:numel (s.iter)
  printf ("  label %d: %3d iterations, relative residual %.1e, %d pixels%s\n",
          k, s.iter(k), s.relres(k), nnz (labels == k), flag_note (s.flag(k)));
endfor
imwrite (segmentation_overlay (img, labels, at, seeds(:, 3)), png);
printf ("  picture with seeds and boundaries: %s\n\n", png);

## A 3-D grid with random weights: ours at about 10^5 unknowns beside \ and
## pcg with ichol, and ours alone at 10^6 (see the benchmark for the peers
## at that size).
if (small)
  sizes = [16 24];
else
  sizes = [46 100];
endif
rand ("seed", 42);
rows_out = {};
for m = sizes
  progress ("building a %d^3 grid with weights log-uniform in [0.01, 100]", m);
  A = random_grid (m, 0.01, 100);
  b = rand (rows (A), 1);
  res = @(x) norm (b - A*x) / norm (b);
  progress ("ladder_build and ladder_solve, %d unknowns", rows (A));
  tic; H = ladder_build (A); tb = toc;
  tic; [x, flag, ~, it] = ladder_solve (A, b, tol, 200, H); ts = toc;
  rows_out(end+1, :) = {rows(A), nnz(A), "ladder_solve", sprintf("%d", numel (H)), it, res(x), tb, ts, flag};
  if (m == sizes(1))
    progress ("Octave's \\ (sparse Cholesky), %d unknowns", rows (A));
    tic; x = A \ b; ts = toc;
    rows_out(end+1, :) = {rows(A), nnz(A), "\\ (Cholesky)", "-", NaN, res(x), NaN, ts, 0};
    progress ("pcg with ichol, %d unknowns", rows (A));
    tic; R = ichol (A); tb = toc;
    tic; [x, flag, ~, it] = pcg (A, b, tol, 5000, R, R'); ts = toc;
    rows_out(end+1, :) = {rows(A), nnz(A), "pcg + ichol", "-", it, res(x), tb, ts, flag};
  endif
  clear A H R x b;
endfor
printf ("\n3-D grid, 7-point, random weights, tolerance %g\n", tol);
printf ("%10s %10s  %-14s %6s %10s %13s %10s %10s\n", "unknowns", "nonzeros", "solver",
        "levels", "iterations", "rel. residual", "setup (s)", "solve (s)");
for k = 1:rows (rows_out)
  printf ("%10d %10d  %-14s %6s %10s %13.1e %10s %10.2f%s\n", rows_out{k, 1:4},
          strrep (num2str (rows_out{k, 5}), "NaN", "-"), rows_out{k, 6},
          strrep (sprintf ("%.2f", rows_out{k, 7}), "NaN", "-"), rows_out{k, 8},
          flag_note (rows_out{k, 9}));
endfor
if (! small)
  printf ("\nFor Octave's \\ and pcg + ichol at %d unknowns, see the solver benchmark in README.md.\n",
          sizes(end)^3);
endif
