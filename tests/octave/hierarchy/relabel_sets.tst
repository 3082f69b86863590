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

## Random graphs with whole-number weights (so that every order of adding
## gives the same sums), against the group weights computed here: each
## vertex's entry in the row it names, plus those of the vertices naming it.
%!test
%! rand ("seed", 5);
%! for n = [1 7 300]
%!   A = sprand (n, n, 0.05) + speye (n) * (n < 10);
%!   A(A != 0) = randi (9, nnz (A), 1);
%!   [~, g] = max (A, [], 1);          # mostly the heaviest neighbour
%!   g = g(:) - 1;
%!   odd = rand (n, 1) < 0.3;
%!   g(odd) = randi (n + 1, nnz (odd), 1) - 1;
%!   g(g == n) = n + 1;
%!   [Q, deg] = relabel_sets (A, uint32 (g));
%!   has = g < n;
%!   own = zeros (n, 1);
%!   own(has) = A(sub2ind ([n n], g(has) + 1, find (has)));
%!   gw = own + accumarray (g(has) + 1, own(has), [n 1]);
%!   d = full (sum (A, 1))';
%!   want = g;
%!   want(gw ./ d < 0.125) = find (gw ./ d < 0.125) - 1;
%!   assert (deg, d);
%!   assert (Q, uint32 (want));
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
