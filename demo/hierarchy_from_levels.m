function H = hierarchy_from_levels(As, cIs, cls, varargin)
% HIERARCHY_FROM_LEVELS  A Hierarchy cell from level matrices and maps.
%   H = hierarchy_from_levels(As, cIs, cls) builds the Hierarchy of the
%   symmetric matrices As{1} (finest) ... As{end} (the last level, solved by
%   its LDL' factor), where cIs{i} (1-based) maps the unknowns of level i to
%   those of level i+1.  Values are of class cls ('double' or 'single').
%   Options (name, value): 'omega' (Jacobi weight, 2/3), 'repeat' (1),
%   'iterative' (1 to solve the last level by diagonal scaling, 0),
%   'laplacian' (0), 'islast_extra' (1 to append an unread entry, 0).
  o = struct('omega', 2/3, 'repeat', 1, 'iterative', 0, 'laplacian', 0, 'islast_extra', 0);
  for k = 1:2:numel(varargin)
    o.(varargin{k}) = varargin{k + 1};
  end
  L = numel(As);
  H = cell(1, L + o.islast_extra);
  for i = 1:L
    A = As{i};
    n = rows(A);
    s = struct();
    s.islast = double(i == L);
    s.iterative = 0;
    s.A = segments_from_matrix(A, cls);
    if i == 1
      s.laplacian = double(o.laplacian);
    end
    if i < L
      nc = rows(As{i + 1});
      s.cI = uint32(cIs{i}(:) - 1);
      s.nc = nc;
      s.dc = 0;
      s.repeat = o.repeat;
      s = workspaces(s, o.omega ./ full(diag(A)), n, nc, cls);
    elseif o.iterative
      s.iterative = 1;
      s = workspaces(s, 1 ./ full(diag(A)), n, 0, cls);
    else
      s.chol = factor_from_matrix(A);
    end
    H{i} = s;
  end
  if o.islast_extra
    H{L + 1} = struct();
  end
end

function s = workspaces(s, invD, n, nc, cls)
  % every workspace its own fresh array
  s.invD = cast(invD, cls);
  s.lws1 = zeros(n, 1, cls);
  s.lws2 = zeros(n, 1, cls);
  s.sws1 = zeros(nc, 1, cls);
  s.sws2 = zeros(nc, 1, cls);
  s.sws3 = zeros(nc, 1, cls);
end
