## mask_enumerate: ranks of the true entries, shapes, argument errors.

## Each row: the mask, then the expected numbers.
%!test
%! cases = {
%!   logical([1 0 1 1 0]),   [1 0 2 3 0]
%!   false(1, 4),            [0 0 0 0]
%!   true(3, 1),             [1; 2; 3]
%!   logical([0; 1; 0; 1]),  [0; 1; 0; 2]
%!   true,                   1
%!   false(1, 0),            zeros(1, 0)
%!   false(0, 1),            zeros(0, 1)
%! };
%! for k = 1:rows (cases)
%!   idx = mask_enumerate (cases{k, 1});
%!   assert (idx, uint32 (cases{k, 2}));
%! endfor

## Agrees with find on a long random mask.
%!test
%! mask = rand (1, 5000) < 0.3;
%! idx = mask_enumerate (mask);
%! assert (idx(mask), uint32 (1:nnz (mask)));
%! assert (all (idx(! mask) == 0));

%!error <^mask_enumerate: Wrong number of input arguments$> mask_enumerate ()
%!error <Wrong number of input arguments> mask_enumerate (true, true)
%!error <Wrong number of output arguments> [a, b] = mask_enumerate (true)
%!error <Input must be a boolean vector> mask_enumerate ([1 0 1])
%!error <Input must be a boolean vector> mask_enumerate (uint8 ([1 0 1]))
%!error <Input must be a boolean vector> mask_enumerate (false (0, 0))
%!error <Input must be a boolean vector> mask_enumerate (true (2, 2))
%!error <Input must be a full boolean vector> mask_enumerate (sparse (logical ([1 0 1])))
