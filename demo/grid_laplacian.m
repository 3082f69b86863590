function A = grid_laplacian (m)
% GRID_LAPLACIAN  The 7-point Laplacian of an m-by-m-by-m grid with a
%   Dirichlet boundary: a sparse symmetric diagonally dominant matrix of
%   order m^3, its unknowns numbered column-major.
  e = ones (m, 1);
  T = spdiags ([-e 2*e -e], -1:1, m, m);
  I = speye (m);
  A = kron (kron (T, I), I) + kron (kron (I, T), I) + kron (kron (I, I), T);
end
