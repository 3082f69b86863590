## The graph modules against computations written here: a plain queue-based
## search, mutual reachability, the edge order of a topological order and
## the paths along the search tree, on random directed graphs and on the
## matrix west0479.

## Breadth-first search with a queue: out-neighbours of u are the rows of
## column u in increasing order, as the modules take them.
%!function [d, order, pred] = queue_search (A, s)
%!  n = rows (A);
%!  d = -ones (n, 1);  order = -ones (n, 1);  pred = zeros (1, n);
%!  d(s) = 0;  order(s) = 1;  q = s;  head = 1;
%!  while (head <= numel (q))
%!    u = q(head++);
%!    for v = find (A(:, u))'
%!      if (d(v) < 0)
%!        d(v) = d(u) + 1;  pred(v) = u;  q(end+1) = v;  order(v) = numel (q);
%!      endif
%!    endfor
%!  endwhile
%!endfunction

## R(u, v) is true when v can be reached from u (u itself included).
%!function R = reachable (A)
%!  R = logical (speye (rows (A))) | logical (A');
%!  do
%!    last = nnz (R);
%!    R = logical (R * R);
%!  until (nnz (R) == last)
%!endfunction

## Every check on one graph, from start vertex s.
%!function check_graph (A, s)
%!  [d, order, pred] = wavefront (A, s, 0);
%!  [d0, order0, pred0] = queue_search (A, s);
%!  assert (d, d0);
%!  assert (order, order0);
%!  assert (pred, pred0);
%!  for v = find (d >= 0)'
%!    p = route_unwind (pred, v);
%!    assert (numel (p), d(v) + 1);
%!    assert (p([1 end]), [s v]);
%!    assert (all (A(sub2ind (size (A), p(2:end), p(1:end-1)))));
%!  endfor
%!  t = find (d == max (d), 1);
%!  dt = wavefront (A, s, t);
%!  assert (dt(t), d(t));
%!  assert (all (dt(d > d(t)) == -1));
%!  R = reachable (A);
%!  [labels, sizes] = graph_islands (A);
%!  assert (full (R & R'), labels == labels');
%!  assert (sizes, accumarray (labels, 1));
%!  [order, isdag] = dag_sequence (A);
%!  assert (isdag, double (numel (sizes) == rows (A) && ! any (diag (A))));
%!endfunction

%!test
%! rand ("seed", 7);
%! for n = [1 2 10 60 200]
%!   for density = [0.01 0.05 0.2]
%!     A = sprand (n, n, density);
%!     check_graph (A, randi (n));
%!   endfor
%! endfor

%!test
%! s = load (fullfile (OCTAVE_HOME (), "share", "octave", version (), "data", "west0479.mat"));
%! A = s.west0479;
%! check_graph (A, 1);
%! check_graph (A, 400);
%! [labels, sizes] = graph_islands (A + A');
%! assert (labels(1), 1);

## Random DAGs: a permuted strictly lower triangle; every edge j -> i has j
## before i in the order.
%!test
%! rand ("seed", 11);
%! for n = [1 5 50 300]
%!   P = randperm (n);
%!   L = tril (sprand (n, n, 0.1), -1);
%!   A = L(P, P);
%!   [order, isdag] = dag_sequence (A);
%!   assert (isdag, 1);
%!   assert (sort (order), (1:n)');
%!   pos(order) = 1:n;
%!   [i, j] = find (A);
%!   assert (all (pos(j) < pos(i)));
%! endfor
