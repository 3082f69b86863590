function [A, b] = read_system (file)
% READ_SYSTEM  Reads the matrix and right-hand side that WRITE_SYSTEM wrote
%   to FILE.A and FILE.b.
  fid = fopen ([file ".A"], "r");
  h = fread (fid, 2, "int64=>double");
  jc = fread (fid, h(1) + 1, "int64=>double");
  ir = fread (fid, h(2), "int64=>double");
  pr = fread (fid, h(2), "double");
  fclose (fid);
  A = sparse (ir + 1, repelem ((1:h(1))', diff (jc)), pr, h(1), h(1));
  fid = fopen ([file ".b"], "r");
  b = fread (fid, h(1), "double");
  fclose (fid);
end
