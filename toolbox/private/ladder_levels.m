function H = ladder_levels (A, doubled, n0, opts)
% LADDER_LEVELS  The Hierarchy of the matrix A with non-positive
%   off-diagonal entries and a dominant diagonal, as options opts say.
  cls = opts.precision;
  [H, M, grounded] = ladder_setup (A, opts.maxdirect, opts.maxlevels, strcmp (cls, 'single'));
  if (~ H{end}.iterative)
    H{end}.chol = ladder_factor (M);
  end
  H{1}.kelvara = struct ('order', n0, 'doubled', doubled, 'grounded', grounded, ...
                         'precision', cls);
  if (opts.verbose)
    for i = 1:numel (H)
      s = H{i};
      fprintf ('level %2d: %9d unknowns %10d entries', i, s.A.n, 2 * numel (s.A.a) - s.A.n);
      if (~ s.islast)
        fprintf ('  repeat %d\n', s.repeat);
      elseif (s.iterative)
        fprintf ('  diagonal scaling\n');
      else
        fprintf ('  factor with %d entries\n', numel (s.chol.ld.a));
      end
    end
  end
end
