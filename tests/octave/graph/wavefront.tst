## wavefront: edge direction, ties, first tree edge wins, early stop,
## unreachable target, s = t, truncation, classes, output count, errors.

## Each row: A, s, t, then the expected d, order and pred.
%!test
%! e21 = sparse (2, 1, 1, 2, 2);
%! star = sparse ([3 2 4], [1 1 1], 1, 4, 4);      # 1 -> 2, 3, 4
%! diamond = sparse ([2 3 4 4 2], [1 1 2 3 2], 1, 4, 4);  # with a self-loop
%! cases = {
%!   e21,       1,   0,   [0; 1],          [1; 2],          [0 1]
%!   e21,       2,   0,   [-1; 0],         [-1; 1],         [0 0]
%!   star,      1,   0,   [0; 1; 1; 1],    [1; 2; 3; 4],    [0 1 1 1]
%!   diamond,   1,   0,   [0; 1; 1; 2],    [1; 2; 3; 4],    [0 1 1 2]
%!   star,      1,   3,   [0; 1; 1; -1],   [1; 2; 3; -1],   [0 1 1 0]
%!   star,      2,   4,   [-1; 0; -1; -1], [-1; 1; -1; -1], [0 0 0 0]
%!   star,      3,   3,   [-1; -1; 0; -1], [-1; -1; 1; -1], [0 0 0 0]
%!   star,      1,   1,   [0; -1; -1; -1], [1; -1; -1; -1], [0 0 0 0]
%!   star,      1.9, 3.9, [0; 1; 1; -1],   [1; 2; 3; -1],   [0 1 1 0]
%!   star,      1, int8(3), [0; 1; 1; -1], [1; 2; 3; -1],  [0 1 1 0]
%!   star,      1, single(0.5), [0; 1; 1; 1], [1; 2; 3; 4],   [0 1 1 1]
%!   logical(star), 1, -0.5, [0; 1; 1; 1], [1; 2; 3; 4],  [0 1 1 1]
%!   1i*star, 1,  [],   [0; 1; 1; 1],    [1; 2; 3; 4],    [0 1 1 1]
%! };
%! for k = 1:rows (cases)
%!   [d, order, pred] = wavefront (cases{k, 1:3});
%!   assert (isequal ({d, order, pred}, cases(k, 4:6)), sprintf ("case %d", k));
%! endfor

## The stored order of the out-edges breaks ties; 2.7 is vertex 2.
%!test
%! A = sparse ([4 3 5], [2 2 3], 1, 5, 5);   # 2 -> 3, 4; 3 -> 5
%! [d, order, pred] = wavefront (A, 2.7, 0);
%! assert (d', [-1 0 1 1 2]);
%! assert (order', [-1 1 2 3 4]);
%! assert (pred, [0 0 2 2 3]);

## Fewer outputs than the module computes: only those fit the list.
%!test
%! A = sparse ([2 3], [1 2], 1, 3, 3);
%! d = wavefront (A, 1, 0);
%! assert (d, [0; 1; 2]);
%! [d, order] = wavefront (A, 1, 3);
%! assert (order, [1; 2; 3]);

%!test
%! [d, order, pred] = wavefront (sparse (5, 5), 5, 0);
%! assert (size (pred), [1 5]);
%! assert (d', [-1 -1 -1 -1 0]);

## A path of a million vertices, reached to its end.
%!test
%! n = 1e6;
%! A = sparse (2:n, 1:n-1, 1, n, n);
%! [d, order, pred] = wavefront (A, 1, n);
%! assert (d(end), n - 1);
%! assert (order(end), n);
%! assert (pred(end), n - 1);

%!error <3 inputs required\.> wavefront ()
%!error <3 inputs required\.> wavefront (sparse (1), 1)
%!error <Input must be a square sparse matrix\.> wavefront (sparse (2, 3), 1, 0)
%!error <Input must be a square sparse matrix\.> wavefront (eye (2), 1, 0)
%!error <Invalid scalar\.> wavefront (sparse (2, 2), [1 2], 0)
%!error <Invalid scalar\.> wavefront (sparse (2, 2), single (1), 0)
%!error <Invalid scalar\.> wavefront (sparse (2, 2), int32 (1), 0)
%!error <Invalid scalar\.> wavefront (sparse (2, 2), 1, {1})

## Bad vertices: the identifier, and the argument truncated in the message.
%!test
%! cases = {
%!   {sparse(2, 2), [], 0}, "start vertex (0) not a valid vertex."
%!   {sparse(0, 0), 1, 0}, "start vertex (1) not a valid vertex."
%!   {sparse(2, 2), 0.5, 0}, "start vertex (0) not a valid vertex."
%!   {sparse(2, 2), 3, 0}, "start vertex (3) not a valid vertex."
%!   {sparse(2, 2), -2.5, 0}, "start vertex (-2) not a valid vertex."
%!   {sparse(2, 2), NaN, 0}, "start vertex (NaN) not a valid vertex."
%!   {sparse(2, 2), Inf, 0}, "start vertex (Inf) not a valid vertex."
%!   {sparse(2, 2), 1e20, 0}, "start vertex (1e+20) not a valid vertex."
%!   {sparse(2, 2), 2^32 + 1, 0}, "start vertex (4294967297) not a valid vertex."
%!   {sparse(2, 2), 1, 3}, "target vertex (3) not a valid vertex."
%!   {sparse(2, 2), 1, -1}, "target vertex (-1) not a valid vertex."
%!   {sparse(2, 2), 1, -Inf}, "target vertex (-Inf) not a valid vertex."
%!   {sparse(2, 2), 1, NaN}, "target vertex (NaN) not a valid vertex."
%! };
%! for k = 1:rows (cases)
%!   try
%!     wavefront (cases{k, 1}{:});
%!     error ("case %d: no error", k);
%!   catch err
%!     assert (err.identifier, "kelvara:invalidParameter");
%!     assert (err.message, ["wavefront: " cases{k, 2}]);
%!   end_try_catch
%! endfor
