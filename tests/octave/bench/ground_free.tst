## The solver benchmark's consistent right-hand side and grounded vertices,
## on a graph with one component of each kind: a path without excess, a
## pair with an excess, an isolated vertex, and a triangle whose rows miss
## zero only by round-off.

%!shared A, b
%! root = fullfile (fileparts (which ("ladder_reference")), "..", "..", "..");
%! addpath (fullfile (root, "bench", "solver"));
%! W = sparse ([1 2 4 7 7 8], [2 3 5 8 9 9], [1 3 2 0.1 0.7 0.3], 9, 9);
%! W = W + W';
%! A = spdiags (full (sum (W, 2)), 0, 9, 9) - W;
%! A(5, 5) += 0.5;
%! A(8, 8) *= 1 + 4 * eps;
%! b = [1 2 6 4 5 9 1 2 7; -2 0 2 1 1 3 3 3 -1]';

%!test
%! [c, keep] = ground_free (A, b);
%! assert (keep', logical ([0 1 1 1 1 0 0 1 1]));
%! assert (c([4 5], :), b([4 5], :));
%! assert (c(6, :), [0 0]);
%! assert (c(1:3, :) - b(1:3, :), repmat (-mean (b(1:3, :)), 3, 1), 1e-14);
%! assert (c(7:9, :) - b(7:9, :), repmat (-mean (b(7:9, :)), 3, 1), 1e-14);

%!test
%! ## The grounded system of a consistent right-hand side has the same
%! ## solution, up to a constant on each component without excess.
%! [c, keep] = ground_free (A, b(:, 1));
%! x = zeros (9, 1);
%! x(keep) = A(keep, keep) \ c(keep);
%! assert (norm (A * x - c) / norm (c) < 1e-12);
