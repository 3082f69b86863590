function [As, cIs] = grid_levels (m, coarsest)
% GRID_LEVELS  Levels of the 3-D grid Laplacian aggregated in 2x2x2 blocks.
%   [As, cIs] = grid_levels (m, coarsest) returns the Laplacian of the
%   m-by-m-by-m grid as As{1}, its Galerkin coarse matrices As{2}, ... and
%   the aggregation maps cIs between them, coarsening until a level has at
%   most `coarsest` unknowns.
  dims = [m m m];
  maps = {};
  while prod (dims) > coarsest
    maps{end + 1} = grid_aggregates (dims, 2);
    dims = ceil (dims / 2);
  endwhile
  [As, cIs] = galerkin_levels (grid_laplacian (m), maps{:});
end
