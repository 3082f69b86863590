function [b, keep] = ground_free (A, b)
% GROUND_FREE  The right-hand side B made consistent with the singular part
%   of the Laplacian A, and the vertices that the grounded system keeps.
%   A connected component none of whose rows has a diagonal excess (more
%   than 1e-12 of its diagonal over its off-diagonal magnitudes) is
%   singular: B loses its mean there (an isolated vertex gets 0) and KEEP
%   leaves out its first vertex, which the grounded system fixes at 0.
%   B may have several columns.
  n = rows (A);
  d = full (diag (A));
  excess = d - (full (sum (abs (A), 2)) - abs (d));
  labels = double (graph_islands (A));
  K = max ([labels; 0]);
  free = ! accumarray (labels, double (excess > 1e-12 * d), [K 1], @max);
  on = free(labels);
  count = accumarray (labels, 1, [K 1]);
  for c = 1:columns (b)
    mu = accumarray (labels, b(:, c), [K 1]) ./ count;
    b(on, c) -= mu(labels(on));
  endfor
  [~, firsts] = unique (labels, "first");
  keep = true (n, 1);
  keep(firsts(free)) = false;
end
