function [As, cIs] = galerkin_levels(A, cI1, varargin)
% GALERKIN_LEVELS  Coarse matrices P'*A*P of a chain of aggregations.
%   [As, cIs] = galerkin_levels(A, cI1, cI2, ...) returns As{1} = A and
%   As{i+1} = P_i' * As{i} * P_i, where P_i is the 0/1 matrix of the map
%   cIs{i} (1-based, unknowns of level i to nodes of level i+1).
  cIs = [{cI1}, varargin];
  As = {A};
  for i = 1:numel(cIs)
    n = rows(As{i});
    P = sparse(1:n, cIs{i}(:), 1, n, max(cIs{i}));
    As{i + 1} = P' * As{i} * P;
  end
end
