## route_unwind: paths, rounding, shapes, sparse input, and every error.

## Each row: pred, dest, then the expected path.
%!test
%! cases = {
%!   [0 1 2],        3,    [1 2 3]
%!   [0 1 2],        1,    1
%!   [0; 1; 2],      3,    [1 2 3]
%!   [0 0 2],        2,    2
%!   [2 3 0],        1,    [3 2 1]
%!   [0.5 1.7],      2,    [1 2]
%!   [0 1 2],        2.9,  [1 2]
%!   sparse([0 1 2]),     3,  [1 2 3]
%!   sparse([0; 1; 0; 3]), 4, [3 4]
%!   sparse([0; 1; 0; 3]), 2, [1 2]
%!   [0 1]+1i,     2,    [1 2]
%! };
%! for k = 1:rows (cases)
%!   assert (isequal (route_unwind (cases{k, 1:2}), cases{k, 3}), sprintf ("case %d", k));
%! endfor

%!assert (route_unwind ([0 1 2 3 4], 5), 1:5)

%!error <2 inputs required\.> route_unwind ()
%!error <2 inputs required\.> route_unwind ([0 1], 1, 1)
%!error <Predecessor input must be a double array\.> route_unwind (zeros (2), 1)
%!error <Predecessor input must be a double array\.> route_unwind (zeros (0, 0), 1)
%!error <Predecessor input must be a double array\.> route_unwind (single ([0 1]), 1)
%!error <Predecessor input must be a double array\.> route_unwind (int32 ([0 1]), 1)
%!error <Invalid scalar for destination\.> route_unwind ([0 1], [1 2])
%!error <Invalid scalar for destination\.> route_unwind ([0 1], int32 (1))
%!error <contained a loop\.> route_unwind ([2 1], 1)
%!error <contained a loop\.> route_unwind ([2 1], 2)
%!error <contained a loop\.> route_unwind (zeros (1, 0), 0)
%!error <contained a loop\.> route_unwind (zeros (1, 0), [])
%!error <referenced a vertex too large\.> route_unwind ([0 5], 2)
%!error <referenced a vertex too large\.> route_unwind ([0 1], 3)
%!error <referenced a vertex too large\.> route_unwind ([0 1], NaN)
%!error <referenced a vertex too large\.> route_unwind ([0 1], Inf)
%!error <referenced a vertex too large\.> route_unwind ([0 NaN], 2)
%!error <referenced a vertex too large\.> route_unwind ([0 -Inf], 2)
%!error <referenced a vertex too large\.> route_unwind (zeros (1, 0), 1)
%!error <referenced a vertex too large\.> route_unwind ([2 3 4], 1)
%!error <contains negative references\.> route_unwind ([0 -3], 2)
%!error <contains negative references\.> route_unwind ([0 -0.5], 2)
%!error <contains negative references\.> route_unwind ([0 1], -1)
%!error <Unknown error with predecessor array\.> route_unwind ([0 1], 0)
%!error <Unknown error with predecessor array\.> route_unwind ([0 1], 0.7)
%!error <Unknown error with predecessor array\.> route_unwind ([0 1], [])
