## B = twosided_scale(A, v): every stored A(r,c) scaled by v(r) * v(c), the
## smaller index's factor first, on A's pattern.

%!function B = expected (A, v)
%!  [i, j, a] = find (A);
%!  B = sparse (i, j, (v(min (i, j)) .* v(max (i, j))) .* a, rows (A), columns (A));
%!endfunction

%!test
%! rand ("state", 3);
%! A = sprand (30, 30, 0.2);
%! A = A + A.';
%! v = rand (1, 30) * 4 - 2;
%! B = twosided_scale (A, v);
%! assert (isequal (B, expected (A, v(:))));
%! assert (isequal (B, B.'));                  # mirror entries identical
%! assert (isequal (twosided_scale (A, v.'), B));
%! assert (isequal (twosided_scale (triu (A), v), triu (B)));  # unsymmetric A

%!test
%! ## zero factors keep the pattern as stored zeros; infinite ones give NaN
%! A = sparse ([1 2 1 2], [1 1 2 2], [1 2 3 4]);
%! B = twosided_scale (A, [0 1]);
%! assert (nnz (B), 4);
%! assert (full (B), [0 0; 0 4]);
%! C = twosided_scale (B, [Inf 1]);
%! assert (nnz (C), 4);
%! assert (full (C), [NaN NaN; NaN 4]);
%! assert (full (twosided_scale (A, [-1 1])), [1 -3; -2 4]);

%!test
%! ## n = 0 and n = 1
%! B = twosided_scale (sparse (0, 0), zeros (1, 0));
%! assert (issparse (B) && isequal (size (B), [0 0]));
%! assert (size (twosided_scale (sparse (0, 0), zeros (0, 1))), [0 0]);
%! assert (full (twosided_scale (sparse (2), [3 5 7])), 18);
%! assert (full (twosided_scale (sparse (2), [3; 5; 7])), 18);
%! B = twosided_scale (sparse (1, 1), zeros (1, 0));   # nothing to scale
%! assert (issparse (B) && nnz (B) == 0);

%!test
%! ## complex A: real parts scaled, imaginary parts unchanged
%! A = sparse ([1 2], [2 1], [3+1i 5-2i], 2, 2);
%! B = twosided_scale (A, [2 3 + 9i]);
%! assert (full (B), [0 18+1i; 30-2i 0]);

%!error <: Wrong number of input arguments$> twosided_scale (speye (2))
%!error <: Wrong number of output arguments$> [a, b] = twosided_scale (speye (2), [1 2])
%!error <: Input must be a sparse matrix$> twosided_scale (eye (2), [1 2])
%!error <: Second arguments must be a full vector$> twosided_scale (speye (2), sparse ([1 2]))
%!error <: Second arguments must be a full vector$> twosided_scale (speye (2), single ([1 2]))
%!error <: Second arguments must be a full vector$> twosided_scale (sparse (2, 3), sparse ([1 2]))
%!error <: Input matrix must be square$> twosided_scale (sparse (2, 3), ones (2))
%!error <: Second arguments must be a vector$> twosided_scale (speye (2), ones (2))
%!error <: Second arguments must be a vector$> twosided_scale (speye (2), [])
%!error <: Vector dimensions must agree with matrix dimensions$> twosided_scale (speye (2), [1 2 3])
%!error <: Vector dimensions must agree with matrix dimensions$> twosided_scale (sparse (0, 0), 1)
%!error <: Input must be a sparse double matrix$> twosided_scale (speye (2) > 0, [1 2])
%!error <: Second argument must not be empty$> twosided_scale (sparse (5), zeros (0, 1))
