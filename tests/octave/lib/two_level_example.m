function H = two_level_example(cls)
% TWO_LEVEL_EXAMPLE  The two-level Hierarchy of A = [2 -1; -1 2] with one
%   coarse node and a direct last level, values of class cls.
  s.islast = 0;
  s.iterative = 0;
  s.laplacian = 0;
  s.A = struct('a', cast([2; -1; 2], cls), 'ia', uint32([0; 2; 3]), 'ja', uint32([0; 1; 1]), ...
               'n', 2, 'issym', 1);
  s.cI = uint32([0; 0]);
  s.nc = 1;
  s.dc = 0;
  s.repeat = 1;
  s.invD = cast([0.5; 0.5], cls);
  s.lws1 = zeros(2, 1, cls);
  s.lws2 = zeros(2, 1, cls);
  s.sws1 = zeros(1, 1, cls);
  s.sws2 = zeros(1, 1, cls);
  s.sws3 = zeros(1, 1, cls);
  f = struct('a', 2, 'ia', uint32([0; 1]), 'ja', uint32(0), 'n', 1);
  c.islast = 1;
  c.iterative = 0;
  c.A = struct('a', cast(2, cls), 'ia', uint32([0; 1]), 'ja', uint32(0), 'n', 1, 'issym', 1);
  c.chol = struct('ld', f, 'ldT', f, 'p', uint32(0), 'invp', uint32(0));
  H = {s, c};
end
