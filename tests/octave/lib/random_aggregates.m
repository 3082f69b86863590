function cI = random_aggregates(n, nc)
% RANDOM_AGGREGATES  A random map of n unknowns onto nc coarse nodes, each
%   node receiving at least one unknown (1-based).
  cI = [1:nc, randi(nc, 1, n - nc)];
  cI = cI(randperm(n))';
end
