## heavy_edge: worked columns (tie-break, n+1, diagonal, NaN, negative
## columns), the scaled choice with B, shapes and classes, argument errors
## and the refusals of inputs it cannot read.

## Each row: A, then the expected p (0-based, n+1 for none), deg and w.
%!test
%! nan_first = sparse ([1; 2], [1; 1], [NaN; 2], 2, 2);
%! nan_last = sparse ([1; 2], [1; 1], [2; NaN], 2, 2);
%! cases = {
%!   sparse([0 2 2; 2 0 1; 2 1 0]),         [1 0 0], [4; 3; 3],   [2; 2; 2]
%!   sparse([5 1; 1 0]),                     [0 0],   [6; 1],      [5; 1]
%!   sparse([0 -1; -1 -2]),                  [3 3],   [-1; -3],    [0; 0]
%!   sparse([0 1 0; 0 0 0; 3 0 0]),          [2 0 4], [3; 1; 0],   [3; 1; 0]
%!   nan_first,                              [1 3],   [NaN; 0],    [2; 0]
%!   nan_last,                               [0 3],   [NaN; 0],    [2; 0]
%!   sparse(2, 2),                           [3 3],   [0; 0],      [0; 0]
%! };
%! for k = 1:rows (cases)
%!   [p, deg, w] = heavy_edge (cases{k, 1});
%!   assert (p, uint32 (cases{k, 2}));
%!   assert (deg, cases{k, 3});
%!   assert (w, cases{k, 4});
%! endfor

## The second matrix only steers the choice, paired by storage position: a
## negative product never wins, the degree sums A alone.
%!test
%! A = sparse ([0 1 4; 1 0 2; 4 2 0]);
%! B = sparse ([0 1 -1; 3 0 1; 0.5 1 0]);
%! [p, deg, w] = heavy_edge (A, B);
%! [~, deg1] = heavy_edge (A);
%! assert (p, uint32 ([1 2 1]));
%! assert (deg, deg1);
%! assert (w, [3; 2; 2]);
%! [p, ~, w] = heavy_edge (A, -B);
%! assert (p, uint32 ([4 4 0]));
%! assert (w, [0; 0; 4]);

## Shapes and classes, the empty graph, one requested output, and the real
## part of a complex matrix.
%!test
%! [p, deg, w] = heavy_edge (sparse (0, 0));
%! assert (class (p), "uint32");
%! assert (size (p), [1 0]);
%! assert (size (deg), [0 1]);
%! assert (size (w), [0 1]);
%! A = sparse ([0 2; 2 0]);
%! assert (heavy_edge (A), uint32 ([1 0]));
%! [p, deg] = heavy_edge (A + 1i * sparse ([0 9; 0 0]));
%! assert (p, uint32 ([1 0]));
%! assert (deg, [2; 2]);

%!error <^heavy_edge: Wrong number of input arguments$> p = heavy_edge ()
%!error <Wrong number of input arguments> p = heavy_edge (sparse (1), sparse (1), sparse (1))
%!error <Wrong number of output arguments> heavy_edge (sparse (1))
%!error <Wrong number of output arguments> [a, b, c, d] = heavy_edge (sparse (1))
%!error <Input must be a sparse matrix> p = heavy_edge ([0 1; 1 0])
%!error <Matrix must be symmetric> p = heavy_edge (sparse (2, 3))
%!error <Matrix dimensions must be identical> p = heavy_edge (sparse (2, 2), ones (2))
%!error <Matrix dimensions must be identical> p = heavy_edge (sparse (2, 2), sparse (2, 3))
%!error <Matrix dimensions must be identical> p = heavy_edge (sparse (2, 2), sparse (3, 2))
%!error <Sparse matrix must be of class double> p = heavy_edge (sparse ([false true; true false]))
%!error <Sparse matrix must be of class double> p = heavy_edge (sparse ([0 1; 1 0]), sparse ([false true; true false]))
%!error <Matrices must have the same number of stored entries> p = heavy_edge (sparse ([0 1; 1 0]), sparse ([0 1; 0 0]))
