function A = random_grid (m, lo, hi)
% RANDOM_GRID  Laplacian of a 3-D grid with random weights.
%   A = random_grid (m, lo, hi) returns the 7-point Laplacian of an
%   m-by-m-by-m grid (unknowns numbered column-major) whose edge weights are
%   drawn log-uniformly from [lo, hi] with rand's current state, and with a
%   Dirichlet boundary: an edge from each face vertex to the ground outside,
%   also of random weight, adds to the diagonal.  A is sparse, symmetric,
%   diagonally dominant and positive definite, of order m^3.
  n = m^3;
  idx = reshape (1:n, m, m, m);
  draw = @(k) lo * (hi / lo) .^ rand (k, 1);
  I = J = cell (3, 1);
  for k = 1:3
    lines = reshape (permute (idx, [k, setdiff(1:3, k)]), m, []);   % grid lines along dimension k
    I{k} = lines(1:end-1, :)(:);
    J{k} = lines(2:end, :)(:);
  endfor
  W = sparse (vertcat (I{:}), vertcat (J{:}), draw (3 * (m - 1) * m^2), n, n);
  faces = [idx([1 m], :, :)(:); idx(:, [1 m], :)(:); idx(:, :, [1 m])(:)];
  ground = accumarray (faces, draw (numel (faces)), [n 1]);
  A = spdiags (full (sum (W, 2) + sum (W, 1).') + ground, 0, n, n) - W - W.';
end
