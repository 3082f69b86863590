## Demo: solve a 3-D grid Laplacian with Octave's pcg, preconditioned by one
## multigrid cycle of ladder_double and of ladder_single per iteration.
## Usage: octave-cli --norc demo/demo_ladder.m TOOLBOX_DIR [m]
args = argv ();
addpath (args{1});
addpath (fileparts (mfilename ("fullpath")));
m = 64;
if (numel (args) > 1)
  m = str2double (args{2});
endif

## The system, the 7-point Laplacian of an m-by-m-by-m grid (Dirichlet
## boundary, a symmetric diagonally dominant matrix), and its Hierarchy:
## aggregates of 2x2x2 grid points and Galerkin coarse matrices P'*A*P, down
## to a level small enough to factor.
tic;
[As, cIs] = grid_levels (m, 4000);
Hd = hierarchy_from_levels (As, cIs, "double");
Hs = hierarchy_from_levels (As, cIs, "single");
A = As{1};
n = rows (A);
printf ("3-D grid Laplacian: %d unknowns, %d stored entries\n", n, nnz (A));
printf ("Hierarchy of %d levels, orders %s, built in %.2f s\n", numel (Hd), ...
        mat2str (cellfun (@rows, As)), toc);
clear As cIs;
rand ("seed", 42);
b = rand (n, 1);

tol = 1e-8;
maxit = 1000;
printf ("\n%-34s %10s %12s %10s\n", "pcg, tolerance 1e-8", "iterations", "rel. residual", "time (s)");
runs = {
  "no preconditioner",                 []
  "ladder_double (V-cycle)",           @(r) ladder_double (Hd, r)
  "ladder_single (V-cycle)",           @(r) double (ladder_single (Hs, single (r)))
};
for k = 1:rows (runs)
  tic;
  if (isempty (runs{k, 2}))
    [x, flag, rr, it] = pcg (A, b, tol, maxit);
  else
    [x, flag, rr, it] = pcg (A, b, tol, maxit, runs{k, 2});
  endif
  t = toc;
  res = norm (A * x - b) / norm (b);
  status = "";
  if (flag != 0)
    status = sprintf ("  (pcg flag %d)", flag);
  endif
  printf ("%-34s %10d %12.2e %10.2f%s\n", runs{k, 1}, it, res, t, status);
endfor
