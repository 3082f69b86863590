function H = ladder_levels (A, doubled, n0, opts)
% LADDER_LEVELS  The Hierarchy of the matrix A with non-positive
%   off-diagonal entries and a dominant diagonal, as options opts say.
  cls = opts.precision;
  [H, M, grounded] = ladder_setup (A, opts.maxdirect, opts.maxlevels, strcmp (cls, 'single'));
  for i = 1:numel (H)
    s = H{i};
    if (~ s.islast)
      s = workspaces (s, s.A.n, s.nc, cls);
    elseif (s.iterative)
      s = workspaces (s, s.A.n, 0, cls);
    else
      s.chol = ladder_factor (M);
    end
    if (opts.verbose)
      fprintf ('level %2d: %9d unknowns %10d entries', i, s.A.n, 2 * numel (s.A.a) - s.A.n);
      if (~ s.islast)
        fprintf ('  repeat %d\n', s.repeat);
      elseif (s.iterative)
        fprintf ('  diagonal scaling\n');
      else
        fprintf ('  factor with %d entries\n', numel (s.chol.ld.a));
      end
    end
    H{i} = s;
  end
  H{1}.kelvara = struct ('order', n0, 'doubled', doubled, 'grounded', grounded, ...
                         'precision', cls);
end

function s = workspaces (s, n, nc, cls)
  % workspaces, each a fresh array of its own: the cycle writes them in place
  s.lws1 = zeros (n, 1, cls);
  s.lws2 = zeros (n, 1, cls);
  s.sws1 = zeros (nc, 1, cls);
  s.sws2 = zeros (nc, 1, cls);
  s.sws3 = zeros (nc, 1, cls);
end
