function write_system (file, A, b)
% WRITE_SYSTEM  Writes the sparse matrix A to FILE.A and the vector b to
%   FILE.b: int64 order and entry count, int64 column starts (n+1) and
%   0-based row indices, then the double values; b as n doubles.
  [i, j, v] = find (A);
  n = rows (A);
  jc = [0; cumsum(accumarray(j, 1, [n, 1]))];
  fid = fopen ([file ".A"], "w");
  fwrite (fid, [n; numel(v); jc; i - 1], "int64");
  fwrite (fid, v, "double");
  fclose (fid);
  fid = fopen ([file ".b"], "w");
  fwrite (fid, b, "double");
  fclose (fid);
end
