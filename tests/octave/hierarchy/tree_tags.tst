## tree_tags: worked parent vectors (self-loops, two-vertex roots, paths
## into roots, n+1 marks, longer cycles, walks past the first stack
## block), output shapes, argument errors and refused entries.

## Each row: P, then the expected labels (as a row) and sizes.
%!test
%! long = [1:249, 249];
%! cases = {
%!   [0 1 2 3],           [1 2 3 4],       [1 1 1 1]
%!   [2 2 2],             [1 1 1],         3
%!   [1 2 3 2 3],         [1 1 1 1 1],     5
%!   [4 2 2 1 4],         [1 2 2 2 1],     [2 3]
%!   [5 5 1 5],           [0 1 1 0],       2
%!   [0 5 1 5],           [1 2 2 0],       [1 2]
%!   [1 2 0 4 4 3],       [1 1 1 2 2 2],   [3 3]
%!   long,                ones(1, 250),    250
%! };
%! for k = 1:rows (cases)
%!   [labels, K, sizes] = tree_tags (uint32 (cases{k, 1}));
%!   assert (labels, uint32 (cases{k, 2}(:)));
%!   assert (K, numel (cases{k, 3}));
%!   assert (sizes, cases{k, 3});
%! endfor

## Orientation and empty vectors: labels are always a column; a walk of
## more than 100 vertices in reverse index order labels all of them; one
## or two outputs give the same labels and count.
%!test
%! for P = {zeros(1, 0, "uint32"), zeros(0, 1, "uint32")}
%!   [labels, K, sizes] = tree_tags (P{1});
%!   assert (size (labels), [0 1]);
%!   assert (class (labels), "uint32");
%!   assert (K, 0);
%!   assert (size (sizes), [1 0]);
%! endfor
%! P = uint32 ([0, 0:298]);
%! [labels, K] = tree_tags (P);
%! assert (labels, ones (300, 1, "uint32"));
%! assert (K, 1);
%! assert (tree_tags (uint32 ([1; 0; 3; 2])), uint32 ([1; 1; 2; 2]));
%! assert (tree_tags (uint32 ([1 0 3 2])), uint32 ([1; 1; 2; 2]));

%!error <^tree_tags: Wrong number of input arguments$> tree_tags ()
%!error <Wrong number of input arguments> tree_tags (uint32 (0), uint32 (0))
%!error <Wrong number of output arguments> [a, b, c, d] = tree_tags (uint32 (0))
%!error <Input must be a vector> tree_tags (zeros (0, 0, "uint32"))
%!error <Input must be a vector> tree_tags (uint32 ([0 1; 1 0]))
%!error <Input vector must be of type uint32> tree_tags ([0 1])
%!error <Input vector must be of type uint32> tree_tags (int32 ([0 1]))
%!error <Parent entries must be vertex indices below n, or n\+1 for none> tree_tags (uint32 ([0 2]))
%!error <Parent entries must be vertex indices below n, or n\+1 for none> tree_tags (uint32 ([0 4]))
%!error <Parent entries must be vertex indices below n, or n\+1 for none> tree_tags (uint32 ([0 intmax("uint32")]))
