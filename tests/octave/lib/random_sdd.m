function A = random_sdd(n, density)
% RANDOM_SDD  A random symmetric, strictly diagonally dominant sparse matrix
%   with negative off-diagonal weights (a shifted weighted graph Laplacian).
  W = sprandsym(n, density);
  W = abs(W - diag(diag(W)));
  A = diag(sum(W, 2) + 0.1 + rand(n, 1)) - W;
end
