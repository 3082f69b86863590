## Every module, called with odd arguments in every position and with 0 to 4
## outputs, ends in a result or an error: never a crash of the session.

%!test
%! modules = {"ladder_single", 2; "ladder_double", 2; "heavy_edge", 2; ...
%!            "tree_tags", 1; "tree_cleave", 1; "relabel_sets", 2; ...
%!            "mask_enumerate", 1; "sdd_from_weights", 2; ...
%!            "weights_from_sdd", 1; "twosided_scale", 2; "jitter_lower", 3; ...
%!            "wavefront", 3; "graph_islands", 1; "dag_sequence", 1; ...
%!            "route_unwind", 2};
%! odd = {[], zeros(0, 3), 1, -1, NaN, Inf, 2^40, [1 2; 3 4], "ab", {1}, ...
%!        struct("a", 1), int8([1 2]), single([1; 2]), uint32([3 0 1]), ...
%!        uint32(zeros(1, 0)), true(1, 3), sparse([1 0; 1 1]), ...
%!        sparse(logical([1 0; 1 1])), sparse([1i 0; 0 2]), [1+2i; 3], ...
%!        @sin, sparse(3, 3), speye(3), sparse([0 1 0; 0 0 1; 1 0 0])};
%! rand ("seed", 5);
%! calls = 0;
%! for m = 1:rows (modules)
%!   f = str2func (modules{m, 1});
%!   nin = modules{m, 2};
%!   for trial = 1:60
%!     args = odd(randi (numel (odd), 1, nin - (trial > 50) + (trial > 55)));
%!     nout = randi ([0 4]);
%!     try
%!       out = cell (1, nout);
%!       [out{:}] = f (args{:});
%!     catch
%!     end_try_catch
%!     calls++;
%!   endfor
%! endfor
%! assert (calls, 60 * rows (modules));
