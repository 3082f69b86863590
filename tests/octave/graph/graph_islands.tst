## graph_islands: numbering by completion, chain and two-cycle labels,
## self-loops, the empty graph, output count, errors.

## Each row: A, then the expected labels and sizes.
%!test
%! cases = {
%!   sparse(0, 0),                                   zeros(0, 1),   0
%!   sparse(3, 3),                                   [1; 2; 3],      [1; 1; 1]
%!   sparse([2 3], [1 2], 1, 3, 3),                  [3; 2; 1],      [1; 1; 1]
%!   sparse([2 1], [1 2], 1, 3, 3),                  [1; 1; 2],      [2; 1]
%!   sparse([2 1 3], [1 2 3], 1, 3, 3),            [1; 1; 2],      [2; 1]
%!   sparse([1 4 2 3], [4 1 3 2], 1, 4, 4),          [1; 2; 2; 1],   [2; 2]
%!   logical(sparse([2 1], [1 2], 1, 2, 2)),        [1; 1],         2
%!   1i*sparse([2 1], [1 2], 1, 2, 2),             [1; 1],         2
%! };
%! for k = 1:rows (cases)
%!   [labels, sizes] = graph_islands (cases{k, 1});
%!   assert (isequal ({labels, sizes}, cases(k, 2:3)), sprintf ("case %d", k));
%! endfor

## One output requested: only it is stored.
%!test
%! labels = graph_islands (sparse ([2 3], [1 2], 1, 3, 3));
%! assert (labels, [3; 2; 1]);

## Depth is no limit: a chain and a cycle of a million vertices.
%!test
%! n = 1e6;
%! chain = sparse (2:n, 1:n-1, 1, n, n);
%! [labels, sizes] = graph_islands (chain);
%! assert (labels([1 2 end]), [n; n-1; 1]);
%! assert (numel (sizes), n);
%! [labels, sizes] = graph_islands (chain + sparse (1, n, 1, n, n));
%! assert (all (labels == 1) && sizes == n);

%!error <1 inputs required\.> graph_islands ()
%!error <1 inputs required\.> graph_islands (sparse (1), 1)
%!error <Input must be a square sparse matrix\.> graph_islands (sparse (2, 3))
%!error <Input must be a square sparse matrix\.> graph_islands (eye (2))
