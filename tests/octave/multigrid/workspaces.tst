## Every code path that builds a Hierarchy gives each workspace an array of
## its own: a call writes its workspaces in place, so a workspace that
## shared its data with a literal, a cached array or another Hierarchy
## would carry one call's numbers into places the caller never passed.
## Each builder runs twice with the same arguments; many calls on the first
## Hierarchy leave the second's workspaces (made before the calls) at zero,
## and so do those of a third built after them.

%!function w = workspace_values (H)
%!  w = [];
%!  for i = 1:numel (H)
%!    for f = {"lws1", "lws2", "sws1", "sws2", "sws3"}
%!      if (isstruct (H{i}) && isfield (H{i}, f{1}))
%!        w = [w; double(H{i}.(f{1})(:))];
%!      endif
%!    endfor
%!  endfor
%!endfunction
%!function check_builder (build, apply, n)
%!  H1 = build ();
%!  H2 = build ();
%!  w = workspace_values (H2);
%!  assert (! isempty (w));
%!  for k = 1:5
%!    apply (H1, randn (n, 1));
%!  endfor
%!  assert (any (workspace_values (H1) != 0));
%!  assert (workspace_values (H2), zeros (size (w)));
%!  assert (workspace_values (build ()), zeros (size (w)));
%!endfunction

%!test
%! rand ("seed", 2); randn ("seed", 2);
%! [As, cIs] = grid_levels (6, 8);
%! A = As{1};
%! n = rows (A);
%! dbl = @(H, b) ladder_double (H, b);
%! sgl = @(H, b) ladder_single (H, single (b));
%! check_builder (@() two_level_example ("double"), dbl, 2);
%! check_builder (@() two_level_example ("single"), sgl, 2);
%! check_builder (@() hierarchy_from_levels (As, cIs, "double"), dbl, n);
%! check_builder (@() hierarchy_from_levels (As, cIs, "single", "iterative", 1), sgl, n);
%! check_builder (@() ladder_build (A, "maxdirect", 20), dbl, n);
%! check_builder (@() ladder_build (A, "maxdirect", 20, "precision", "single"), sgl, n);
%! L = grid_laplacian (6);
%! check_builder (@() ladder_build (L, "maxdirect", 20), dbl, rows (L));
