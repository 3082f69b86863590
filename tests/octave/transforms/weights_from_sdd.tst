## W = weights_from_sdd(L): -offdiag(L), the diagonal dropped, every other
## stored entry negated and kept.

%!function Z = with_zeros (A, k)
%!  v = ones (1, columns (A));
%!  v(k) = 0;
%!  Z = twosided_scale (A, v);
%!endfunction

%!test
%! L = sparse ([1 2 3 2 1 3], [1 1 1 2 3 3], [4 -1 2 5 -3 6], 3, 3);
%! W = weights_from_sdd (L);
%! assert (issparse (W) && isreal (W));
%! assert (full (W), -(full (L) - diag (diag (L))));
%! assert ([nnz(W), nzmax(W)], [3 3]);
%! assert (nnz (W(:,2)), 0);                 # a column holding only its diagonal

%!test
%! ## diagonal matrices and n = 0 give no stored entries
%! W = weights_from_sdd (speye (4));
%! assert (issparse (W) && isequal (size (W), [4 4]) && nnz (W) == 0);
%! W = weights_from_sdd (sparse (0, 0));
%! assert (issparse (W) && isequal (size (W), [0 0]));

%!test
%! ## stored zeros: off the diagonal kept (negated), on it counted as present
%! Z = with_zeros (sparse ([1 2 1 2], [1 1 2 2], [1 2 3 4]), 1);
%! W = weights_from_sdd (Z);
%! assert (nnz (W), 2);
%! assert (1 ./ nonzeros (W), [-Inf; -Inf]);

%!test
%! ## logical values read as 1; complex parts dropped
%! W = weights_from_sdd (sparse (logical ([1 1; 0 1])));
%! assert (isa (W, "double") && isequal (full (W), [0 -1; 0 0]));
%! W = weights_from_sdd (sparse ([1 2i+3; 1i 1]));
%! assert (isreal (W) && isequal (full (W), [0 -3; 0 0]));

%!error <: Wrong number of input arguments$> weights_from_sdd ()
%!error <: Wrong number of input arguments$> weights_from_sdd (speye (2), 1)
%!error <: Wrong number of output arguments$> [a, b] = weights_from_sdd (speye (2))
%!error <: Input must be a sparse matrix$> weights_from_sdd (eye (2))
%!error <: Input must be symmetric$> weights_from_sdd (sparse (2, 3))
%!error <: Laplacian missing a diagonal element$> weights_from_sdd (sparse ([1 0; 0 0]))
%!error <: Laplacian missing a diagonal element$> weights_from_sdd (sparse ([1 1; 0 0]))
%!error <: Laplacian missing a diagonal element$> weights_from_sdd (sparse ([1 0 0; 0 0 1; 0 1 1]))
