## L = sdd_from_weights(A, d): diag(d) - A, one diagonal entry per column in
## sorted place, stored zeros kept.

%!function Z = with_zeros (A, k)
%!  ## A with the entries of row and column k turned into stored zeros.
%!  v = ones (1, columns (A));
%!  v(k) = 0;
%!  Z = twosided_scale (A, v);
%!endfunction

%!test
%! A = sparse ([2 3 1 4 1], [1 1 3 3 4], [5 -7 2 0.5 3], 4, 4);
%! d = [10 0 -3 4];
%! L = sdd_from_weights (A, d);
%! assert (issparse (L) && isreal (L) && isa (L, "double"));
%! assert (full (L), diag (d) - full (A));
%! assert ([nnz(L), nzmax(L)], [nnz(A) + 4, nnz(A) + 4]);
%! [i, j] = find (L);
%! assert (issorted (j * 10 + i));            # rows ascending, diagonal in place
%! assert (L(2,2) == 0 && nnz (L(:,2)) == 1);  # d(k) = 0 stored, empty column
%! assert (isequal (sdd_from_weights (A, d.'), L));

%!test
%! ## a stored zero weight stays stored, negated
%! Z = with_zeros (sparse ([2 3], [1 1], [5 7], 3, 3), 2);
%! L = sdd_from_weights (Z, [1 2 3]);
%! assert (nnz (L), 5);
%! assert (1 ./ nonzeros (L(:,1)), [1; -Inf; -1/7]);

%!test
%! ## n = 0 and n = 1
%! L = sdd_from_weights (sparse (0, 0), zeros (1, 0));
%! assert (issparse (L) && isequal (size (L), [0 0]) && nnz (L) == 0);
%! assert (size (sdd_from_weights (sparse (0, 0), zeros (0, 1))), [0 0]);
%! L = sdd_from_weights (sparse (1, 1), 4);
%! assert (issparse (L) && nnz (L) == 1 && L(1,1) == 4);

%!test
%! ## logical adjacency: weights 1; complex parts are dropped
%! A = sparse ([2 1], [1 2], [true true], 2, 2);
%! L = sdd_from_weights (A, [1 1]);
%! assert (isa (L, "double") && isequal (full (L), [1 -1; -1 1]));
%! L = sdd_from_weights (sparse ([0 2+3i; 0 0]), [1+1i 2]);
%! assert (isreal (L) && isequal (full (L), [1 -2; 0 2]));

%!error <: Wrong number of input arguments$> sdd_from_weights (sparse (1))
%!error <: Wrong number of input arguments$> sdd_from_weights (sparse (1), 1, 1)
%!error <: Wrong number of output arguments$> [a, b] = sdd_from_weights (sparse (1, 1), 1)
%!error <: Input must be a sparse matrix$> sdd_from_weights (zeros (2), [1 2])
%!error <: Second argument must be a non-sparse vector$> sdd_from_weights (sparse (2, 2), sparse ([1 2]))
%!error <: Second argument must be a non-sparse vector$> sdd_from_weights (sparse (2, 2), int32 ([1 2]))
%!error <: Second argument must be a non-sparse vector$> sdd_from_weights (sparse (2, 2), [true true])
%!error <: Second argument must be a non-sparse vector$> sdd_from_weights (sparse (2, 3), single ([1 2]))
%!error <: Input must be symmetric$> sdd_from_weights (sparse (2, 3), [1 2 3])
%!error <: Inconsistent argument dimensions$> sdd_from_weights (sparse (0, 0), [])
%!error <: Inconsistent argument dimensions$> sdd_from_weights (sparse (2, 2), [1 2 3])
%!error <: Inconsistent argument dimensions$> sdd_from_weights (sparse (2, 2), ones (2))
%!error <: Adjacency contains a diagonal element$> sdd_from_weights (sparse ([0 1; 1 1]), [1 2])
%!error <: Adjacency contains a diagonal element$> sdd_from_weights (with_zeros (speye (2), 1), [1 2])
