## B = jitter_lower(A, lo, hi): strictly lower stored entries times their
## own factor (hi - lo) * rand + lo, the others stored zeros; one call of rand
## for nnz(A) numbers.

%!function msg = with_rand (body, code)
%!  ## Runs code() with rand shadowed by a function of the given body; msg is
%!  ## the message of the error it raised, "" when none.
%!  d = tempname ();
%!  mkdir (d);
%!  fid = fopen (fullfile (d, "rand.m"), "w");
%!  fprintf (fid, "function r = rand (varargin)\n%s\nend\n", body);
%!  fclose (fid);
%!  w = warning ("off", "Octave:shadowed-function");
%!  addpath (d);
%!  msg = "";
%!  unwind_protect
%!    try
%!      code ();
%!    catch e
%!      msg = e.message;
%!    end_try_catch
%!  unwind_protect_cleanup
%!    rmpath (d);
%!    warning (w);
%!    confirm_recursive_rmdir (false, "local");
%!    rmdir (d, "s");
%!  end_unwind_protect
%!endfunction

%!test
%! ## a seeded rand gives the exact result, one number per stored entry
%! A = sparse ([1 2 4 1 3 4 2 4], [1 1 1 2 2 2 3 4], [1 -2 3 4 5 6 7 8], 4, 4);
%! rand ("state", 11);
%! r = rand (nnz (A), 1);
%! rand ("state", 11);
%! B = jitter_lower (A, -0.5, 3);
%! [i, j, a] = find (A);
%! x = ((3 - -0.5) * r + -0.5) .* a;
%! x(i <= j) = 0;
%! [bi, bj, bx] = find (B);
%! assert ([bi, bj], [i, j]);
%! assert (bx, x);
%! assert (nzmax (B), nnz (A));
%! next = rand ();
%! rand ("state", 11);
%! r = rand (nnz (A) + 1, 1);
%! assert (next, r(end));                      # rand advanced by nnz(A)

%!test
%! ## lo = 1, hi = 2: lower entries between a and 2a, the rest stored zeros
%! rand ("state", 5);
%! A = sprandn (40, 40, 0.3) + speye (40);
%! B = jitter_lower (A, 1, 2);
%! assert (isequal (spones (B), spones (A)));
%! L = tril (A, -1);
%! lb = B(find (L));
%! a = L(find (L));
%! assert (all (abs (lb) >= abs (a) & abs (lb) <= 2 * abs (a) & sign (lb) == sign (a)));
%! assert (nnz (triu (B) != 0), 0);
%! assert (! isequal (jitter_lower (A, 1, 2), B));

%!test
%! ## edge shapes: empty pattern, diagonal A, a column lo, NaN bound
%! B = jitter_lower (sparse (3, 3), 1, 2);
%! assert (issparse (B) && isequal (size (B), [3 3]) && nnz (B) == 0);
%! B = jitter_lower (speye (3), 1, 2);
%! assert (nnz (B), 3);
%! assert (full (B), zeros (3));
%! A = sparse ([2 1], [1 2], [4 5]);
%! rand ("state", 2);
%! B1 = jitter_lower (A, [1; 7; 9], 2);
%! rand ("state", 2);
%! assert (isequal (jitter_lower (A, 1, 2), B1));
%! assert (full (jitter_lower (A, NaN, 2)), [0 0; NaN 0]);
%! assert (full (jitter_lower (A, 0, NaN)), [0 0; NaN 0]);

%!test
%! ## complex A: imaginary parts unchanged
%! B = jitter_lower (sparse ([2 1], [1 2], [4+1i 5+2i]), 1, 2);
%! assert (imag (full (B)), [0 2; 1 0]);
%! assert (real (full (B(1,2))), 0);

%!test
%! ## a shadowed rand that answers wrongly is refused; its error passes
%! A = sparse ([2 3], [1 1], [4 5], 3, 3);
%! bad = {"r = single (ones (varargin{:}));", "r = ones (1, 1);", ...
%!        "r = sparse (ones (varargin{:}));", "r = complex (ones (varargin{:}));", ...
%!        "r = true (varargin{:});"};
%! for k = 1:numel (bad)
%!   assert (with_rand (bad{k}, @() jitter_lower (A, 1, 2)), ...
%!           "jitter_lower: rand must return a real double array of at least 2 elements");
%! endfor
%! assert (with_rand ("error ('my:rand', 'broken rand');", @() jitter_lower (A, 1, 2)),
%!         "jitter_lower: broken rand");
%! ## more numbers than asked for are fine: the first nnz(A) are used
%! assert (with_rand ("r = 0.5 * ones (varargin{1} + 1, 1);", ...
%!                    @() assert (full (jitter_lower (A, 0, 2)), [0 0 0; 4 0 0; 5 0 0])), "");

%!error <: Wrong number of input arguments$> jitter_lower (speye (2), 1)
%!error <: Wrong number of output arguments$> [a, b] = jitter_lower (speye (2), 1, 2)
%!error <: Input must be a sparse matrix$> jitter_lower (eye (2), 1, 2)
%!error <: Second and third arguments must be scalars$> jitter_lower (speye (2), [1 2], 3)
%!error <: Second and third arguments must be scalars$> jitter_lower (speye (2), 1, sparse (2))
%!error <: Second and third arguments must be scalars$> jitter_lower (speye (2), single (1), 2)
%!error <: Second and third arguments must be scalars$> jitter_lower (speye (2), zeros (0, 1), 2)
%!error <: Second and third arguments must be scalars$> jitter_lower (speye (2), 1, zeros (0, 1))
%!error <: Third argument must be larger than second$> jitter_lower (speye (2), 1, 1)
%!error <: Third argument must be larger than second$> jitter_lower (speye (2), 2, 1)
%!error <: Third argument must be larger than second$> jitter_lower (sparse (2, 3), 2, 1)
%!error <: Input must be symmetric$> jitter_lower (sparse (2, 3), 1, 2)
%!error <: Input must be a sparse double matrix$> jitter_lower (speye (2) > 0, 1, 2)
