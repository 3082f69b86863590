## ladder_single and ladder_double: worked cycles, flags, argument errors,
## malformed Hierarchies, agreement with a plain reference cycle, and use
## inside pcg.


%!function x = run_ladder (cls, H, b)
%!  if (strcmp (cls, "single"))
%!    x = ladder_single (H, single (b));
%!  else
%!    x = ladder_double (H, double (b));
%!  endif
%!endfunction
%!function t = ifelse_tol (c)
%!  if (strcmp (c, "single")) t = 1e-6; else t = 1e-14; endif
%!endfunction
%!function msg = lasterr_of (f, varargin)
%!  msg = "";
%!  try
%!    f (varargin{:});
%!  catch e
%!    msg = regexprep (e.message, "^[a-z_]+: ", "");
%!  end_try_catch
%!endfunction
%!function H = setlev (H, i, name, v)
%!  H{i}.(name) = v;
%!endfunction
%!function H = setA (H, i, name, v)
%!  H{i}.A.(name) = v;
%!endfunction
%!function H = setchol (H, name, v)
%!  H{2}.chol.(name) = v;
%!endfunction

## The two-level worked example: exact in both precisions, with its
## variants for "laplacian", m > n, "dc" and one-level Hierarchies.
%!test
%! for cls = {"single", "double"}
%!   c = cls{1};
%!   H = two_level_example (c);
%!   x = run_ladder (c, H, [1; 0]);
%!   assert (class (x), c);
%!   assert (x, cast ([0.625; 0.375], c));
%!   assert (run_ladder (c, H, [1; 0; 7; 7]), cast ([0.625; 0.375; 0; 0], c));
%!   H{1}.laplacian = 1;
%!   assert (run_ladder (c, H, [1; 0; 5]), cast ([0.625; 0.375; 0], c));
%!   H{1}.laplacian = 0;
%!   H{1}.cI = uint32 ([0; 1]);
%!   H{1}.nc = 2;
%!   H{1}.dc = 1;
%!   H{1}.sws1 = zeros (2, 1, c);
%!   H{1}.sws2 = zeros (2, 1, c);
%!   H{1}.sws3 = zeros (2, 1, c);
%!   assert (run_ladder (c, H, [1; 0]), cast ([0.5; 0.25], c));
%! endfor

## A one-level Hierarchy is its own last level: diagonal scaling, or the
## factor; no inner-level field is read.
%!test
%! for cls = {"single", "double"}
%!   c = cls{1};
%!   H = two_level_example (c);
%!   d = rmfield (H{1}, {"cI", "nc", "dc", "repeat"});
%!   d.iterative = 1;
%!   d.invD = cast ([0.25; 4], c);
%!   assert (run_ladder (c, {d}, [2; 3]), cast ([0.5; 12], c));
%!   A = [4 -1 0; -1 3 -1; 0 -1 2];
%!   s = struct ("islast", 1, "iterative", 0, "laplacian", 0, ...
%!               "A", segments_from_matrix (sparse (A), c), ...
%!               "chol", factor_from_matrix (sparse (A)));
%!   b = [1; 2; 3];
%!   x = run_ladder (c, {s}, b);
%!   tol = ifelse_tol (c);
%!   assert (double (x), A \ b, tol);
%! endfor

## islast = 1 on the second-to-last entry: the last entry is never read.
%!test
%! H = two_level_example ("double");
%! H{3} = struct ();
%! assert (ladder_double (H, [1; 0]), [0.625; 0.375]);
%! H{3} = 17;
%! assert (ladder_double (H, [1; 0]), [0.625; 0.375]);

## No output requested: x still comes back as ans.
%!test
%! H = two_level_example ("double");
%! ladder_double (H, [1; 0]);
%! assert (ans, [0.625; 0.375]);

## cycles 0 and repeat 0: an inner level visited with no cycles gives 0, so
## with repeat = 0 on level 1 each cycle of level 1 is two Jacobi sweeps.
%!test
%! A = random_sdd (30, 0.2);
%! c1 = random_aggregates (30, 8);
%! c2 = random_aggregates (8, 3);
%! [As, cIs] = galerkin_levels (A, c1, c2);
%! H = hierarchy_from_levels (As, cIs, "double", "repeat", 0);
%! b = rand (30, 1);
%! invD = double (H{1}.invD);
%! x = invD .* b;
%! x = x + invD .* (b - A * x);
%! assert (ladder_double (H, b), x, 1e-12);
%! assert (ladder_double (H, b), ladder_reference (H, b), 1e-12);

## Argument errors, in their order.
%!test
%! H = two_level_example ("double");
%! for m = {"ladder_single", "ladder_double"}
%!   f = str2func (m{1});
%!   err = @(varargin) lasterr_of (f, varargin{:});
%!   assert (err (H), "Wrong number of input arguments");
%!   assert (err (H, [1; 0], 3), "Wrong number of input arguments");
%!   assert (err (struct ("a", 1), [1; 0]), "First argument must be a Hierarchy cell");
%!   assert (err ([1 2], [1; 0]), "First argument must be a Hierarchy cell");
%!   assert (err (H, sparse ([1; 0])), ...
%!           sprintf ("Second argument must be a non-sparse %s precision vector", ...
%!                    m{1}(8:end)));
%!   assert (err (H, cast (ones (1, 5), m{1}(8:end))), "Second argument must be a column vector");
%! endfor
%! assert (lasterr_of (@ladder_single, H, [1; 0]), ...
%!         "Second argument must be a non-sparse single precision vector");
%! assert (lasterr_of (@ladder_double, H, single ([1; 0])), ...
%!         "Second argument must be a non-sparse double precision vector");

## Malformed Hierarchies: each is refused with a message naming the entry
## and the field, and no call takes the session down.
%!test
%! cases = {
%!   @(H) {},                                   "Hierarchy cell is empty"
%!   @(H) {H{1}, 5},                            "H\\{2\\} must be a struct"
%!   @(H) setlev (H, 1, "A", rmfield (H{1}.A, "ja")), "H\\{1\\} has no field A.ja"
%!   @(H) setlev (H, 1, "cI", []),              "H\\{1\\}.cI must be a full real uint32 array of at least 2"
%!   @(H) setlev (H, 1, "cI", uint32 ([0; 1])), "H\\{1\\}.cI holds a coarse node not below nc = 1"
%!   @(H) setlev (H, 1, "invD", single ([1; 1])), "H\\{1\\}.invD must be a full real double"
%!   @(H) setlev (H, 1, "lws1", sparse ([0; 0])), "H\\{1\\}.lws1 must be a full real double"
%!   @(H) setlev (H, 1, "nc", NaN),             "H\\{1\\}.nc must be a whole number"
%!   @(H) setlev (H, 1, "nc", -1),              "H\\{1\\}.nc must be a whole number"
%!   @(H) setlev (H, 1, "repeat", 2^31),        "H\\{1\\}.repeat must be a whole number"
%!   @(H) setlev (H, 1, "islast", "x"),         "H\\{1\\}.islast must be a real double scalar"
%!   @(H) setA (H, 1, "ia", uint32 ([0; 2; 2])), "H\\{1\\}.A.ia must start at 0 and increase"
%!   @(H) setA (H, 1, "ia", uint32 ([1; 2; 3])), "H\\{1\\}.A.ia must start at 0 and increase"
%!   @(H) setA (H, 1, "ia", uint32 ([0; 2; 9])), "H\\{1\\}.A.a must be a full real double array of at least 9"
%!   @(H) setA (H, 1, "ja", uint32 ([0; 2; 1])), "H\\{1\\}.A.ja holds an index not below the level's order 2"
%!   @(H) setA (H, 1, "n", 3),                  "H\\{1\\}.A.ia must be a full real uint32 array of at least 4"
%!   @(H) setA (H, 2, "n", 2),                  "H\\{2\\}.A.ia must be a full real uint32 array of at least 3"
%!   @(H) setchol (H, "ld", struct ("a", [], "ia", uint32 (0), "ja", uint32 ([]), "n", 0)), "H\\{2\\}.chol.ld.n must equal the level's order 1"
%!   @(H) setlev (H, 1, "nc", 0),               "coarse node not below nc = 0"
%!   @(H) setlev (setlev (H, 1, "dc", 1), 1, "nc", 1), "H\\{2\\}.A.n = 1 exceeds the 0 coarse nodes"
%!   @(H) setlev (H, 2, "islast", 0),           "H\\{2\\} is the last level"
%!   @(H) setlev (H, 1, "islast", 1),           "H\\{1\\} has no field chol"
%!   @(H) {setfield(H{1}, "islast", 1), H{1}, H{2}}, "H\\{1\\} is an inner level"
%!   @(H) setchol (H, "p", uint32 (1)),         "H\\{2\\}.chol.p and H\\{2\\}.chol.invp must be inverse permutations"
%!   @(H) setchol (H, "invp", uint32 ([])),     "H\\{2\\}.chol.invp must be a full real uint32"
%!   @(H) setchol (H, "ld", struct ("a", 2, "ia", uint32 ([0; 0]), "ja", uint32 (0), "n", 1)), "H\\{2\\}.chol must hold every pivot"
%!   @(H) setchol (H, "ldT", struct ("a", 2, "ia", uint32 ([0; 0]), "ja", uint32 (0), "n", 1)), "H\\{2\\}.chol must hold every pivot"
%!   @(H) setchol (H, "ld", rmfield (H{2}.chol.ld, "n")), "H\\{2\\} has no field chol.ld.n"
%!   @(H) setlev (H, 1, "lws2", H{1}.lws1),     "H\\{1\\}.lws[12] shares its data with H\\{1\\}.lws[12]"
%!   @(H) setlev (H, 1, "sws2", H{1}.sws1),     "H\\{1\\}.sws[12] shares its data with H\\{1\\}.sws[12]"
%!   @(H) setlev (H, 1, "lws1", H{1}.invD),     "H\\{1\\}.(lws1|invD) shares its data with H\\{1\\}.(lws1|invD)"
%!   @(H) setlev (H, 1, "sws2", H{2}.chol.ld.a), "H\\{.\\}.(sws2|chol.ldT?.a) shares its data with H\\{.\\}.(sws2|chol.ldT?.a)"
%!   @(H) setlev (H, 1, "sws1", H{2}.chol.ldT.a), "H\\{.\\}.(sws1|chol.ldT?.a) shares its data with H\\{.\\}.(sws1|chol.ldT?.a)"
%!   @(H) setlev (H, 1, "lws2", H{1}.A.a(1:2)), "shares its data with"
%! };
%! H0 = two_level_example ("double");
%! for k = 1:rows (cases)
%!   H = cases{k, 1} (H0);
%!   try
%!     ladder_double (H, [1; 0]);
%!     error ("case %d was accepted", k);
%!   catch e
%!     assert (! isempty (regexp (e.message, cases{k, 2}, "once")), ...
%!             sprintf ("case %d: %s", k, e.message));
%!   end_try_catch
%! endfor

## A workspace that is the last level's factor: refused, and the factor
## keeps its values, so later calls on a repaired Hierarchy are right.
%!test
%! H = two_level_example ("double");
%! f = 2;
%! H{1}.sws2 = f;
%! H{2}.chol.ld.a = f;
%! fail ("ladder_double (H, [1; 0])", "shares its data with");
%! assert (H{2}.chol.ld.a, 2);
%! H{1}.sws2 = zeros (1, 1);
%! assert (ladder_double (H, [1; 0]), [0.625; 0.375]);

## A cell with more rows and columns than one: k is the larger count and
## its entries are taken by linear index, so a 2-by-2 cell is read as the
## Hierarchy in its first column.
%!test
%! for cls = {"single", "double"}
%!   H = two_level_example (cls{1});
%!   assert (run_ladder (cls{1}, {H{1}, 5; H{2}, "x"}, [1; 0]), cast ([0.625; 0.375], cls{1}));
%!   assert (run_ladder (cls{1}, H', [1; 0]), cast ([0.625; 0.375], cls{1}));
%! endfor
%! H = two_level_example ("double");
%! fail ("ladder_double ({H{1}, H{2}; 5, 5}, [1; 0])", "H\\{2\\} must be a struct");
%! fail ("ladder_double (cell (0, 3), 1)", "Hierarchy cell is empty");

## The right-hand side must cover the finest order (and its extra entry).
%!error <right-hand side has 1 entries; the finest level needs 2> ladder_double (two_level_example ("double"), 1)
%!test
%! H = two_level_example ("double");
%! H{1}.laplacian = 1;
%! fail ("ladder_double (H, [1; 0])", "right-hand side has 2 entries; the finest level needs 3");
%! H = two_level_example ("double");
%! b = [1; 0];
%! H{1}.lws1 = b;
%! fail ("ladder_double (H, b)", "lws1 shares its data with the right-hand side|the right-hand side shares its data with H\\{1\\}.lws1");

## Random hierarchies over random weighted graphs agree with the reference
## cycle: double to round-off, single to single round-off.
%!test
%! rand ("seed", 7); randn ("seed", 7);
%! for trial = 1:12
%!   n = randi ([20 120]);
%!   A = random_sdd (n, 0.08);
%!   sizes = n;
%!   while sizes(end) > 6 && numel (sizes) < 1 + randi (3)
%!     sizes(end + 1) = max (2, round (sizes(end) / randi ([2 5])));
%!   endwhile
%!   maps = arrayfun (@(k) random_aggregates (sizes(k), sizes(k + 1)), ...
%!                    1:numel (sizes) - 1, "UniformOutput", false);
%!   [As, cIs] = galerkin_levels (A, maps{:});
%!   opts = {"repeat", randi([1 2]), "iterative", mod(trial, 3) == 0, ...
%!           "laplacian", mod(trial, 4) == 1, "islast_extra", mod(trial, 2)};
%!   b = randn (n + 1, 1);
%!   Hd = hierarchy_from_levels (As, cIs, "double", opts{:});
%!   Hs = hierarchy_from_levels (As, cIs, "single", opts{:});
%!   ref = ladder_reference (Hd, b);
%!   if (Hd{1}.laplacian)
%!     ref(end) = 0;
%!   endif
%!   xd = ladder_double (Hd, b);
%!   xs = ladder_single (Hs, single (b));
%!   assert (xd, ref, 1e-10 * norm (ref, Inf));
%!   assert (double (xs), ref, 2e-4 * norm (ref, Inf));
%!   ## workspaces are scratch: a second call gives the same result
%!   assert (ladder_double (Hd, b), xd);
%! endfor

## With dc = 1 on a random hierarchy: node nc of every inner level is left
## out of restriction and prolongation.
%!test
%! rand ("seed", 3);
%! n = 60;
%! A = random_sdd (n, 0.1);
%! c1 = random_aggregates (n, 13);
%! P = sparse (1:n, c1, 1, n, 13);
%! Ac = P' * A * P;
%! H = hierarchy_from_levels ({A, Ac(1:12, 1:12)}, {c1}, "double");
%! H{1}.dc = 1;
%! H{1}.nc = 13;
%! H{1}.sws1 = zeros (13, 1); H{1}.sws2 = zeros (13, 1); H{1}.sws3 = zeros (13, 1);
%! b = rand (n, 1);
%! assert (ladder_double (H, b), ladder_reference (H, b), 1e-12);

## As the preconditioner of pcg on a 3-D grid Laplacian: converges, in
## fewer iterations than pcg alone.
%!test
%! [As, cIs] = grid_levels (12, 30);
%! A = As{1};
%! H = hierarchy_from_levels (As, cIs, "double");
%! Hs = hierarchy_from_levels (As, cIs, "single");
%! rand ("seed", 1);
%! b = rand (rows (A), 1);
%! [~, flag0, ~, it0] = pcg (A, b, 1e-8, 500);
%! [x, flag, ~, it] = pcg (A, b, 1e-8, 500, @(r) ladder_double (H, r));
%! assert (flag, 0);
%! assert (it < it0);
%! assert (norm (A * x - b) / norm (b) < 1e-8);
%! [~, flag] = pcg (A, b, 1e-6, 500, @(r) double (ladder_single (Hs, single (r))));
%! assert (flag, 0);
