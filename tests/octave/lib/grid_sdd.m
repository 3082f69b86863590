function A = grid_sdd (m, excess, w)
% GRID_SDD  The Laplacian of an m-by-m grid with edge weights w (a vector
%   of one weight per edge, or a scalar), plus a diagonal excess excess on
%   the first grid line (0 for a singular Laplacian).
  n = m^2;
  idx = reshape (1:n, m, m);
  I = [reshape(idx(1:end-1, :), [], 1); reshape(idx(:, 1:end-1), [], 1)];
  J = [reshape(idx(2:end, :), [], 1); reshape(idx(:, 2:end), [], 1)];
  w = w .* ones (numel (I), 1);
  W = sparse ([I; J], [J; I], [w; w], n, n);
  e = zeros (n, 1);
  e(idx(1, :)) = excess;
  A = spdiags (full (sum (W, 2)) + e, 0, n, n) - W;
end
