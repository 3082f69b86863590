## The compiled steps of ladder_build and ladder_solve that users never
## call, reached in the toolbox's private folder: each on a case small
## enough to check by hand.

%!test
%! sdd_kind = private_fn ("sdd_kind");
%! [k, i, j] = sdd_kind (sparse ([2 -1; -1 1]));
%! assert ([k i j], [0 0 0]);
%! [k, i, j] = sdd_kind (sparse ([2 -1; -0.5 1]));
%! assert ([k i j], [-2 2 1]);

%!test
%! ladder_cg_double = private_fn ("ladder_cg_double");
%! A = sparse ([2 -1 0; -1 2 -1; 0 -1 2]);
%! H = ladder_build (A, "precision", "double");
%! [X, flag] = ladder_cg_double (A, [1 0; 0 0; 3 1], 1e-10, 20, H);
%! assert (flag, [0 0]);
%! assert (X, [1.5 0.25; 2 0.5; 2.5 0.75], 1e-8);

%!test
%! ladder_cg_single = private_fn ("ladder_cg_single");
%! A = sparse ([2 -1 0; -1 2 -1; 0 -1 2]);
%! H = ladder_build (A, "precision", "single");
%! [X, flag] = ladder_cg_single (A, [1 0; 0 0; 3 1], 1e-10, 20, H);
%! assert (flag, [0 0]);
%! assert (X, [1.5 0.25; 2 0.5; 2.5 0.75], 1e-8);

%!test
%! ladder_fingerprint = private_fn ("ladder_fingerprint");
%! A = sparse ([2 -1; -1 1]);
%! f = ladder_fingerprint (A);
%! assert (class (f), "uint64");
%! assert (ladder_fingerprint (sparse (full (A))), f);
%! assert (ladder_fingerprint (2 * A) != f);

%!test
%! ladder_grounding = private_fn ("ladder_grounding");
%! L = sparse ([1 -1 0; -1 2 -1; 0 -1 2]);
%! assert (ladder_grounding (L, uint32 ([0; 0; 0]), false));
%! [ok, i] = ladder_grounding (L, uint32 ([1; 1; 0]), false);
%! assert ([ok, i], [false, 2]);
