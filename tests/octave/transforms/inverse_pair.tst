## sdd_from_weights and weights_from_sdd are inverse on an adjacency without
## diagonal, on a real matrix: west0479's off-diagonal pattern with random
## positive weights.

%!test
%! s = load (fullfile (OCTAVE_HOME (), "share", "octave", version (), "data", "west0479.mat"));
%! P = spones (s.west0479);
%! P = P - spdiags (diag (P), 0, rows (P), rows (P));
%! n = rows (P);
%! [i, j] = find (P);
%! rand ("state", 479);
%! A = sparse (i, j, 0.1 + rand (numel (i), 1), n, n);
%! d = full (sum (A, 1));
%! L = sdd_from_weights (A, d);
%! assert (nnz (L), nnz (A) + n);
%! assert (full (diag (L)), d(:));
%! assert (isequal (L, spdiags (d(:), 0, n, n) - A));
%! W = weights_from_sdd (L);
%! assert (isequal (W, A));
%! assert (isequal (weights_from_sdd (sdd_from_weights (A, zeros (n, 1))), A));
