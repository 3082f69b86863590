function cI = grid_aggregates(dims, block)
% GRID_AGGREGATES  Map of a grid's unknowns to blocks of block^d points.
%   cI = grid_aggregates(dims, block) numbers the unknowns of a grid of size
%   dims (column-major, as kron builds it) by the block of side `block`
%   that holds them; blocks are numbered column-major, 1-based.
  lin = (0:prod(dims)-1)';
  nb = ceil(dims / block);
  cI = zeros(size(lin));
  below = 1;
  stride = 1;
  for k = 1:numel(dims)
    coord = mod(floor(lin / below), dims(k));
    cI = cI + floor(coord / block) * stride;
    below = below * dims(k);
    stride = stride * nb(k);
  end
  cI = cI + 1;
end
