## The hierarchy kernels in sequence on real-looking graphs: heavy_edge,
## tree_cleave and tree_tags give a labelling of connected pieces, and
## relabel_sets detaches exactly the vertices whose forest edges weigh
## under one eighth of their degree.

## A k-by-k grid graph with the given weight of each edge.
%!function A = grid_graph (k, weight)
%!  id = reshape (1:k*k, k, k);
%!  i = [reshape(id(1:end-1, :), [], 1); reshape(id(:, 1:end-1), [], 1)];
%!  j = [reshape(id(2:end, :), [], 1); reshape(id(:, 2:end), [], 1)];
%!  w = weight (numel (i));
%!  A = sparse ([i; j], [j; i], [w; w], k*k, k*k);
%!endfunction

## n random points of the unit square, joined when closer than r, weighted
## by closeness.
%!function A = geometric_graph (n, r)
%!  x = rand (n, 2);
%!  d = sqrt ((x(:, 1) - x(:, 1)').^2 + (x(:, 2) - x(:, 2)').^2);
%!  [i, j] = find (triu (d < r, 1));
%!  w = 1 - d(sub2ind ([n n], i, j)) / r;
%!  A = sparse ([i; j], [j; i], [w; w], n, n);
%!endfunction

## Checks that the labels of tree_tags on parent vector P are connected
## pieces of A, numbered by lowest vertex, with the right sizes; only
## vertices without edges may stay unlabelled.
%!function check_pieces (A, P)
%!  n = rows (A);
%!  [L, K, S] = tree_tags (P);
%!  L = double (L);
%!  isolated = full (sum (A != 0, 1))' == 0;
%!  assert (all ((L == 0) <= isolated));
%!  assert (sum (S), nnz (L));
%!  assert (S, accumarray (L(L > 0), 1, [K 1])');
%!  [~, first] = unique (L(L > 0), "first");
%!  labelled = find (L > 0);
%!  assert (issorted (labelled(first)));
%!  [i, j] = find (A);
%!  keep = L(i) == L(j) & L(i) > 0;
%!  i = i(keep);
%!  j = j(keep);
%!  c = (1:n)';
%!  do
%!    before = c;
%!    c = min (c, accumarray (i, c(j), [n 1], @min, Inf));
%!  until (isequal (c, before))
%!  assert (numel (unique (c(L > 0))), K);
%!endfunction

## The independent count of relabel_sets' rule: the weight of the entries
## joining each vertex to the vertex it names and to those naming it.
%!function check_detached (A, G, Q, deg)
%!  n = rows (A);
%!  assert (deg, full (sum (A, 1))');
%!  g = double (G(:));
%!  u = find (g < n);
%!  par = g(u) + 1;
%!  w = full (A(sub2ind ([n n], par, u)));
%!  gw = accumarray (u, w, [n 1]) + accumarray (par, w, [n 1]);
%!  detached = gw ./ deg < 0.125;
%!  expected = G;
%!  expected(detached) = find (detached) - 1;
%!  assert (Q, expected);
%!endfunction

%!test
%! rand ("seed", 7);
%! graphs = {grid_graph(30, @(m) rand (m, 1) + 0.1), grid_graph(20, @(m) randi (3, m, 1)), ...
%!           geometric_graph(800, 0.08)};
%! for g = graphs
%!   A = g{1};
%!   p = heavy_edge (A);
%!   Q = tree_cleave (p);
%!   check_pieces (A, p);
%!   check_pieces (A, Q);
%!   [R, deg] = relabel_sets (A, p);
%!   check_detached (A, p, R, deg);
%!   check_pieces (A, R);
%!   check_pieces (A, tree_cleave (R));
%! endfor
%! assert (nnz (R != p) > 0);
