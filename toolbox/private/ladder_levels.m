function H = ladder_levels (A, doubled, n0, opts)
% LADDER_LEVELS  The Hierarchy of the matrix A with non-positive
%   off-diagonal entries and a dominant diagonal, as options opts say.
  cls = opts.precision;
  n = size (A, 1);
  d = full (diag (A));
  if (all (d))
    W = weights_from_sdd (A);
  else
    W = spdiags (d, 0, n, n) - A;
  end
  deg = full (sum (W, 2));
  e = d - deg;
  e(e <= 1e-12 * d) = 0;
  [ground, grounded] = grounds (W, e);

  lv = level (W, d, e, ground);
  worst = 4;
  while (lv(end).n > opts.maxdirect && numel (lv) < opts.maxlevels && ~ all (lv(end).g))
    % aggregates as good as the graph allows; where they coarsen too
    % slowly, coarser ones of lesser quality (and from then on, since a
    % graph's coarse levels are much like it)
    [q, m, Wc, ec] = groups (lv(end), worst);
    while (m > 0.5 * lv(end).n && worst < 256)
      worst = worst * 4;
      [q, m, Wc, ec] = groups (lv(end), worst);
    end
    if (m > 0.9 * lv(end).n)
      break;                            % coarsening has stalled
    end
    lv(end).q = q;
    lv(end).nc = m + any (q == m);
    lv(end).dc = any (q == m);
    % over-correction where aggregates are large and regular: the coarse
    % matrix scaled down by 1.5, since their piecewise-constant correction
    % undershoots smooth errors
    scale = 1 + 0.5 * (lv(end).n >= 3.8 * m);
    lv(end + 1) = level (Wc / scale, [], ec / scale, false (m, 1));
  end
  if (numel (lv) == 1 && any (ground))
    % a singular last level cannot be factored: ground it through one
    % level that maps every other vertex to a node of its own
    q = uint32 (cumsum (~ ground) - 1);
    m = n - nnz (ground);
    q(ground) = m;
    [Wc, ec] = group_sum (W, e, q, m);
    lv(1).q = q;
    lv(1).nc = m + 1;
    lv(1).dc = 1;
    lv(2) = level (Wc, [], ec, false (m, 1));
  end

  L = numel (lv);
  H = cell (1, L);
  for i = 1:L
    s = struct ('islast', double (i == L), 'iterative', 0, ...
                'A', ladder_rows (lv(i).W, lv(i).d, cls));
    if (i == 1)
      s.laplacian = 0;
      s.kelvara = struct ('order', n0, 'doubled', doubled, 'grounded', grounded, ...
                          'precision', cls);
    end
    if (i < L)
      ratio = nnz (lv(i).W) / max (nnz (lv(i + 1).W), 1);
      s.cI = lv(i).q;
      s.nc = lv(i).nc;
      s.dc = double (lv(i).dc);
      s.repeat = 1 + (ratio >= 2.5);
      s = workspaces (s, 0.8 ./ lv(i).d, lv(i).n, lv(i).nc, cls);
    elseif (lv(i).n <= 1 || all (lv(i).g))
      s.iterative = 1;
      s = workspaces (s, 1 ./ lv(i).d, lv(i).n, 0, cls);
    else
      s.chol = ladder_factor (spdiags (lv(i).d, 0, lv(i).n, lv(i).n) - lv(i).W);
    end
    if (opts.verbose)
      fprintf ('level %2d: %9d unknowns %10d entries', i, lv(i).n, 2 * nnz (lv(i).W) + lv(i).n);
      if (i < L)
        fprintf ('  repeat %d\n', s.repeat);
      elseif (s.iterative)
        fprintf ('  diagonal scaling\n');
      else
        fprintf ('  factor with %d entries\n', numel (s.chol.ld.a));
      end
    end
    H{i} = s;
  end
end

function [ground, grounded] = grounds (W, e)
  % one ground vertex, its lowest, on each component without excess, and
  % the number of every vertex's component among those (0 for others)
  n = size (W, 1);
  ground = false (n, 1);
  grounded = zeros (n, 1, 'uint32');
  if (n == 0)
    return;
  end
  [comp, sizes] = graph_islands (W);
  comp = comp(:);
  free = accumarray (comp, e, [numel(sizes) 1]) == 0;
  [~, first] = unique (comp, 'first');
  ground(first(free)) = true;
  k = cumsum (free);
  grounded(:) = k(comp) .* free(comp);
end

function lv = level (W, d, e, ground)
  % a level's graph W, diagonal d, excess e and the vertices kept out of
  % every aggregate: grounded ones, isolated ones and those held mostly by
  % their excess
  deg = full (sum (W, 2));
  if (isempty (d))
    d = deg + e;
  end
  lv = struct ('W', W, 'd', d, 'e', e, 'n', size (W, 1), ...
               'g', ground | deg == 0 | e >= 4 * deg, 'q', [], 'nc', 0, 'dc', 0);
end

function [q, m, Wc, ec] = groups (lv, worst)
  % aggregates of about four vertices, pairs then pairs of pairs, and
  % their graph and excess, summed from the graph of the pairs
  [q1, m1] = pair_groups (lv.W, lv.d, lv.g, worst);
  [W1, e1] = group_sum (lv.W, lv.e, q1, m1);
  d1 = accumarray (double (q1) + 1, lv.d, [m1 + 1, 1]);
  [q2, m] = pair_groups (W1, d1(1:m1), false (m1, 1), worst);
  [Wc, ec] = group_sum (W1, e1, q2, m);
  q2(end + 1) = m;
  q = q2(q1 + 1);
end

function s = workspaces (s, invD, n, nc, cls)
  % weights and workspaces, each a fresh array of its own: the cycle
  % writes the workspaces in place
  invD(~ isfinite (invD)) = 0;
  s.invD = cast (invD, cls);
  s.lws1 = zeros (n, 1, cls);
  s.lws2 = zeros (n, 1, cls);
  s.sws1 = zeros (nc, 1, cls);
  s.sws2 = zeros (nc, 1, cls);
  s.sws3 = zeros (nc, 1, cls);
end
