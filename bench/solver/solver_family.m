function [A, b, singular] = solver_family (name, quick)
% SOLVER_FAMILY  The matrix and right-hand side of one family of the solver
%   benchmark, seeded so that every run builds the same system.  QUICK
%   gives a system of about 10^4 unknowns instead of the full size.
%   SINGULAR is true for the Laplacians without a diagonal excess, whose
%   right-hand side then has mean zero on each connected component.
%
%   grid2_unit, grid3_unit      unit-weight grids, 1000^2 and 100^3
%   grid2_unit_1e4, _1e5, grid3_unit_1e4, _1e5   the same at 10^4, 10^5
%   grid2_log, grid3_log        weights log-uniform over 1e-6 .. 1e6
%   photo                       random-walker Laplacian of a photograph
%   powerlaw                    preferential attachment, 10^6 vertices
%   islands                     random components and isolated vertices
  rand ("state", 1);
  randn ("state", 2);
  unit = @(r, c) ones (r, c);
  logu = @(r, c) 10 .^ (12 * rand (r, c) - 6);
  small2 = [100 100];
  small3 = [22 22 22];
  singular = false;
  switch (name)
    case "grid2_unit",     A = grid_matrix (merge (quick, small2, [1000 1000]), unit);
    case "grid3_unit",     A = grid_matrix (merge (quick, small3, [100 100 100]), unit);
    case "grid2_unit_1e4", A = grid_matrix ([100 100], unit);
    case "grid2_unit_1e5", A = grid_matrix ([316 316], unit);
    case "grid3_unit_1e4", A = grid_matrix ([22 22 22], unit);
    case "grid3_unit_1e5", A = grid_matrix ([46 46 46], unit);
    case "grid2_log",      A = grid_matrix (merge (quick, small2, [1000 1000]), logu);
    case "grid3_log",      A = grid_matrix (merge (quick, small3, [100 100 100]), logu);
    case "photo",          A = photo_matrix (quick);
    case "powerlaw",       A = powerlaw_matrix (merge (quick, 1e4, 1e6), 5);  singular = true;
    case "islands",        A = islands_matrix (merge (quick, 1e4, 1e6));      singular = true;
    otherwise
      error ("solver_family: unknown family '%s'", name);
  endswitch
  b = randn (rows (A), 1);
  if (singular)
    ## Remove the mean on each connected component (isolated vertices get 0).
    labels = double (graph_islands (A));
    b -= accumarray (labels(:), b) (labels) ./ accumarray (labels(:), 1) (labels);
  endif
end

## The Laplacian of a grid of size DIMS with a Dirichlet boundary: every
## grid line runs between two ground vertices outside the grid, whose edges
## become diagonal excess.  W(r, c) gives the weights of c lines of r edges.
function A = grid_matrix (dims, W)
  n = prod (dims);
  idx = reshape (1:n, [dims 1]);
  d = zeros (n, 1);
  I = J = V = {};
  for k = 1:numel (dims)
    P = reshape (permute (idx, [k, setdiff(1:numel (dims), k)]), dims(k), []);
    w = W (dims(k) + 1, columns (P));
    d(P) += w(1:end-1, :) + w(2:end, :);
    I{end+1} = P(1:end-1, :)(:);
    J{end+1} = P(2:end, :)(:);
    V{end+1} = w(2:end-1, :)(:);
  endfor
  I = vertcat (I{:});  J = vertcat (J{:});  V = vertcat (V{:});
  A = sparse ([I; J; (1:n)'], [J; I; (1:n)'], [-V; -V; d], n, n);
end

## Random-walker Laplacian of scikit-image's camera photograph: 4-neighbour
## weights exp(-beta (I_i - I_j)^2) with intensities in [0, 1] and beta 90,
## plus 1e-10 so that no region is cut off below double precision (as
## random-walker segmentation does); nine seed pixels are removed from the
## unknowns, which grounds their neighbours.
function A = photo_matrix (quick)
  img = double (imread ("/usr/lib/python3/dist-packages/skimage/data/camera.png")) / 255;
  if (quick)
    img = img(193:320, 193:320);
  endif
  [r, c] = size (img);
  n = r * c;
  idx = reshape (1:n, r, c);
  beta = 90;
  wv = exp (-beta * diff (img, 1, 1) .^ 2) + 1e-10;
  wh = exp (-beta * diff (img, 1, 2) .^ 2) + 1e-10;
  I = [idx(1:end-1, :)(:); idx(:, 1:end-1)(:)];
  J = [idx(2:end, :)(:); idx(:, 2:end)(:)];
  W = sparse (I, J, [wv(:); wh(:)], n, n);
  W += W';
  L = spdiags (full (sum (W, 2)), 0, n, n) - W;
  [sr, sc] = meshgrid (round ([0.2 0.5 0.8] * r), round ([0.2 0.5 0.8] * c));
  free = true (n, 1);
  free(sub2ind ([r c], sr(:), sc(:))) = false;
  A = L(free, free);
end

## Laplacian of a preferential-attachment graph: each vertex in turn links
## with m edges to earlier endpoints drawn in proportion to their degree.
## Edge slot 2e holds the new vertex of edge e and slot 2e+1 a copy of a
## uniformly drawn earlier slot; the copies are resolved by pointer jumping.
function A = powerlaw_matrix (n, m)
  e = n * m;
  slot = (0:2*e-1)';
  ptr = slot;
  odd = logical (mod (slot, 2));
  ptr(odd) = floor (rand (e, 1) .* slot(odd));
  do
    next = ptr(ptr + 1);
    done = isequal (next, ptr);
    ptr = next;
  until (done)
  u = floor ((0:e-1)' / m) + 1;
  v = floor (ptr(odd) / 2 / m) + 1;
  keep = u != v;
  A = laplacian_of (u(keep), v(keep), n);
end

## Laplacian of a graph of random connected components (a random recursive
## tree plus two random edges per vertex each, sizes log-uniform from 2 to
## 2*10^4) and 5 % isolated vertices, numbered in random order.
function A = islands_matrix (n)
  iso = round (0.05 * n);
  sizes = round (2 * 10 .^ (4 * rand (ceil (n / 100), 1)));
  sizes = sizes(cumsum (sizes) <= n - iso);
  sizes(end+1) = n - iso - sum (sizes);
  sizes = sizes(sizes > 0);
  first = cumsum ([1; sizes(1:end-1)]);
  comp = repelem ((1:numel (sizes))', sizes);
  v = (1:n - iso)';
  off = v - first(comp);
  t = off > 0;
  u = [v(t); v; v];
  w = [first(comp(t)) + floor(rand (nnz (t), 1) .* off(t));
       first(comp) + floor(rand (n - iso, 1) .* sizes(comp));
       first(comp) + floor(rand (n - iso, 1) .* sizes(comp))];
  keep = u != w;
  p = randperm (n)';
  A = laplacian_of (p(u(keep)), p(w(keep)), n);
end

## Unit-weight Laplacian of the edges (u, v), repeated edges summed.
function A = laplacian_of (u, v, n)
  W = sparse (u, v, 1, n, n);
  W += W';
  A = spdiags (full (sum (W, 2)), 0, n, n) - W;
end
