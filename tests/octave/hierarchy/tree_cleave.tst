## tree_cleave: the worked splits (paths halved by the first pass, heavy
## subtrees detached by the second), vectors left unchanged, shapes,
## argument errors, refused entries and longer cycles.

## Each row: P, then the expected Q.  The last row's path ends at a vertex
## marked n+1, which serves as its root.
%!test
%! m = 5;
%! chain = [1:4*m-1, 4*m-2];
%! split = chain;
%! split(4:4:4*m-4) = 3:4:4*m-5;
%! cases = {
%!   0,                              0
%!   [1 2 3 4 5 5],                  [1 2 3 4 5 5]
%!   [1 2 3 4 5 6 6],                [1 2 3 3 5 6 6]
%!   [1 2 3 4 5 6 7 8 9 8],          [1 2 3 3 5 6 7 8 9 8]
%!   chain,                          split
%!   [1 0 0 0 1 4 4],                [1 0 0 0 4 4 4]
%!   [3 3 3 3],                      [3 3 3 3]
%!   [5 5 0 5],                      [5 5 0 5]
%!   [1 2 3 4 5 6 7 10 7],           [1 2 3 3 5 6 7 10 7]
%! };
%! for k = 1:rows (cases)
%!   assert (tree_cleave (uint32 (cases{k, 1})), uint32 (cases{k, 2}));
%! endfor

## Longer cycles: one that no walk enters is copied; a walk from a leaf
## into one makes a root on it.
%!assert (tree_cleave (uint32 ([1 2 0])), uint32 ([1 2 0]))
%!assert (tree_cleave (uint32 ([1 2 3 1])), uint32 ([1 2 3 3]))

## The output keeps the input's shape, empty ones included.
%!test
%! P = uint32 ([1 2 3 4 5 6 6]);
%! assert (tree_cleave (P'), uint32 ([1 2 3 3 5 6 6])');
%! assert (size (tree_cleave (zeros (1, 0, "uint32"))), [1 0]);
%! assert (size (tree_cleave (zeros (0, 1, "uint32"))), [0 1]);

%!error <^tree_cleave: Wrong number of input arguments$> tree_cleave ()
%!error <Wrong number of input arguments> tree_cleave (uint32 (0), uint32 (0))
%!error <Wrong number of output arguments> [a, b] = tree_cleave (uint32 (0))
%!error <Input must be a vector> tree_cleave (zeros (0, 0, "uint32"))
%!error <Input must be a vector> tree_cleave (uint32 ([0 1; 1 0]))
%!error <Input vector must be of type uint32> tree_cleave ([0 0])
%!error <Parent entries must be vertex indices below n, or n\+1 for none> tree_cleave (uint32 ([0 2]))
%!error <Parent entries must be vertex indices below n, or n\+1 for none> tree_cleave (uint32 ([0 intmax("uint32")]))
