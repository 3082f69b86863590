function [labels, P, stats] = random_walker (W, seeds, seedlabels, tol)
% RANDOM_WALKER  Segmentation by random walks from labelled seeds.
%   [labels, P, stats] = random_walker (W, seeds, seedlabels, tol) gives
%   each vertex of the weighted graph W the label whose seeds a random walk
%   from it most likely reaches first.  seeds are vertex numbers, seedlabels
%   their labels 1..K.  The probabilities P (n-by-K) solve one Laplacian
%   system per label on the unseeded vertices, L_uu * P_u = -L_us * M (M the
%   seeds' 0/1 labels), with one Hierarchy of ladder_build for all K
%   right-hand sides; labels (n-by-1) holds the most likely label.  stats
%   has the order and nonzeros of L_uu, the Hierarchy's levels, the build
%   and solve times, and the iterations and relative residuals of each
%   solve (tolerance tol).
  n = rows (W);
  K = max (seedlabels);
  L = spdiags (full (sum (W, 2)), 0, n, n) - W;
  free = true (n, 1);
  free(seeds) = false;
  M = sparse (1:numel (seeds), seedlabels, 1, numel (seeds), K);
  A = L(free, free);
  B = full (-L(free, seeds) * M);
  stats.n = rows (A);
  stats.nnz = nnz (A);
  tic;
  H = ladder_build (A);
  stats.build = toc;
  stats.levels = numel (H);
  tic;
  [X, stats.flag, ~, stats.iter] = ladder_solve (A, B, tol, 200, H);
  stats.solve = toc;
  stats.relres = sqrt (sum ((B - A*X) .^ 2, 1) ./ sum (B .^ 2, 1));
  P = zeros (n, K);
  P(free, :) = X;
  P(seeds, :) = full (M);
  [~, labels] = max (P, [], 2);
end
