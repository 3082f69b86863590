function S = ladder_rows (W, d, cls)
% LADDER_ROWS  The level matrix diag(d) - W of a Hierarchy as its struct
%   "A": rows holding the diagonal first, then the entries right of it;
%   values of class cls, indices uint32 and 0-based.
  [a, ia, ja] = level_rows (W, d, strcmp (cls, 'single'));
  S = struct ('a', a, 'ia', ia, 'ja', ja, 'n', size (W, 1), 'issym', 1);
end
