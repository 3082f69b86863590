function [A, b] = real_family (folder, name)
% REAL_FAMILY  The matrix FOLDER/NAME.mat of the shared real matrices and a
%   standard normal right-hand side, seeded, made consistent on each
%   connected component without diagonal excess (GROUND_FREE).
  A = real_matrix (fullfile (folder, [name ".mat"]));
  randn ("state", 2);
  b = ground_free (A, randn (rows (A), 1));
end
