## dag_sequence: finishing-order tie-breaks, chains both ways, self-loops,
## the cyclic output, the empty graph, output count, errors.  (Octave keeps
## no stored zeros; the C++ suite covers them.)

## Each row: A, then the expected order and isdag.
%!test
%! cases = {
%!   sparse(0, 0),                            zeros(0, 1),  1
%!   sparse(3, 3),                            [3; 2; 1],     1
%!   sparse([2 3], [1 2], 1, 3, 3),           [1; 2; 3],     1
%!   sparse([2 1], [3 2], 1, 3, 3),           [3; 2; 1],     1
%!   sparse([3 2], [1 1], 1, 3, 3),           [1; 3; 2],     1
%!   sparse(3, 3, 1, 3, 3),                   [1; 2; 1],     0
%!   sparse(1, 1, 1, 3, 3),                   [1; 1; 1],     0
%!   sparse([2 1], [1 2], 1, 3, 3),           [1; 1; 1],     0
%!   sparse([2 3], [1 2], 1i, 3, 3),          [1; 2; 3],     1
%!   logical(sparse([2 3], [1 2], 1, 3, 3)), [1; 2; 3],     1
%! };
%! for k = 1:rows (cases)
%!   [order, isdag] = dag_sequence (cases{k, 1});
%!   assert (isequal ({order, isdag}, cases(k, 2:3)), sprintf ("case %d", k));
%! endfor

%!test
%! order = dag_sequence (sparse ([2 3], [1 2], 1, 3, 3));
%! assert (order, [1; 2; 3]);

## Depth is no limit: a chain and a cycle of a million vertices.
%!test
%! n = 1e6;
%! chain = sparse (2:n, 1:n-1, 1, n, n);
%! [order, isdag] = dag_sequence (chain);
%! assert (isdag, 1);
%! assert (isequal (order', 1:n));
%! [order, isdag] = dag_sequence (chain + sparse (1, n, 1, n, n));
%! assert (isdag, 0);

%!error <1 inputs required\.> dag_sequence ()
%!error <1 inputs required\.> dag_sequence (sparse (1), sparse (1))
%!error <Input must be a noncomplex square sparse matrix\.> dag_sequence (sparse (2, 3))
%!error <Input must be a noncomplex square sparse matrix\.> dag_sequence (eye (2))
