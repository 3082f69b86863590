% MASK_ENUMERATE  Number the true entries of a logical vector.
%   idx = mask_enumerate(mask) returns a uint32 array of mask's shape in
%   which every true entry holds its position among the true entries (1 for
%   the first, 2 for the second, ... in index order) and every false entry
%   holds 0: for a true entry j, idx(j) is its index in find(mask).
%   mask is a full logical vector, row or column (a 1-by-0 or 0-by-1 one
%   gives an empty result of the same shape).
%
%   Errors: 'Wrong number of input arguments', 'Wrong number of output
%   arguments' (more than one), 'Input must be a boolean vector' (not
%   logical, a 0-by-0 array, or more than one row and column), 'Input must
%   be a full boolean vector' (a sparse logical vector), 'Vector too long
%   for 32-bit positions' (2^32 entries or more), 'Out of memory'.
%
%   See also FIND.
function idx = mask_enumerate(mask) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'mask_enumerate is not built; run kelvara_build');
end

%!assert (mask_enumerate (logical ([0 1 1 0 1])), uint32 ([0 1 2 0 3]))
%!assert (mask_enumerate (true (0, 1)), zeros (0, 1, "uint32"))
%!error <Input must be a boolean vector> mask_enumerate ([0 1])
