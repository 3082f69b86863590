## relabel_sets: the one-eighth threshold and its comparison rules (exact
## eighth, NaN and infinite ratios, negative degrees, n+1 entries, the
## doubled weight of a two-vertex root), shapes, argument errors and the
## refusal of inputs whose sizes disagree.

## Each row: A, G, then the expected Q and deg.
%!test
%! cases = {
%!   sparse([2 3], [1 1], [1 7], 3, 3),        [1 4 4], [1 4 4], [8; 0; 0]
%!   sparse([2 3], [1 1], [0.99 7.01], 3, 3),  [1 4 4], [0 4 4], [8; 0; 0]
%!   sparse([2 3], [1 1], [1 -3], 3, 3),       [1 4 4], [0 4 4], [-2; 0; 0]
%!   sparse([1 1], [2 3], [1 1], 3, 3),        [4 4 4], [4 1 2], [0; 1; 1]
%!   sparse([2 1 3 1], [1 2 1 3], [1 1 15 15]), [1 0 4], [1 0 2], [16; 1; 15]
%!   sparse([2 1 3 1], [1 2 1 3], [1 1 16 16]), [1 0 4], [0 0 2], [17; 1; 16]
%! };
%! for k = 1:rows (cases)
%!   [Q, deg] = relabel_sets (cases{k, 1}, uint32 (cases{k, 2}));
%!   assert (Q, uint32 (cases{k, 3}));
%!   assert (deg, cases{k, 4});
%! endfor

## Q takes G's orientation, deg is always a column; empty inputs.
%!test
%! A = sparse ([0 1 10; 1 0 9; 10 9 0]);
%! G = uint32 ([1 2 1]);
%! [Qr, dr] = relabel_sets (A, G);
%! [Qc, dc] = relabel_sets (A, G');
%! assert (Qr, uint32 ([0 2 1]));
%! assert (Qc, Qr');
%! assert (dr, [11; 10; 19]);
%! assert (dc, dr);
%! [Q, deg] = relabel_sets (sparse (0, 0), zeros (1, 0, "uint32"));
%! assert (size (Q), [1 0]);
%! assert (class (Q), "uint32");
%! assert (size (deg), [0 1]);

%!shared A, G
%! A = sparse ([0 1; 1 0]);
%! G = uint32 ([1 0]);
%!error <^relabel_sets: Wrong number of input arguments$> [Q, d] = relabel_sets (A)
%!error <Wrong number of input arguments> [Q, d] = relabel_sets (A, G, G)
%!error <Wrong number of output arguments> Q = relabel_sets (A, G)
%!error <Wrong number of output arguments> relabel_sets (A, G)
%!error <Wrong number of output arguments> [Q, d, e] = relabel_sets (A, G)
%!error <First input must be a sparse matrix> [Q, d] = relabel_sets (full (A), G)
%!error <Second input must be a vector> [Q, d] = relabel_sets (A, zeros (0, 0, "uint32"))
%!error <Second input must be a vector> [Q, d] = relabel_sets (A, uint32 ([1 0; 0 1]))
%!error <Input vector must be of type uint32> [Q, d] = relabel_sets (A, [1 0])
%!error <Sparse matrix must be of class double> [Q, d] = relabel_sets (A > 0, G)
%!error <First input must be a square matrix> [Q, d] = relabel_sets (sparse (3, 2), G)
%!error <Second input must have one entry per column of the first> [Q, d] = relabel_sets (A, uint32 ([1 0 0]))
%!error <Second input must have one entry per column of the first> [Q, d] = relabel_sets (A, uint32 (1))
