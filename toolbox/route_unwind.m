% ROUTE_UNWIND  Path from the root of a predecessor array to a vertex.
%   path = route_unwind(pred, dest) follows predecessors from vertex dest
%   until a predecessor value of 0 and returns the vertices met, root first
%   and dest last, as a 1-by-L double row.  pred(j) is the 1-based vertex
%   from which j was reached, 0 for none (the third output of WAVEFRONT).
%
%   pred  double vector (row or column, full or sparse, may be empty);
%         values are rounded down (1.7 is vertex 1, 0.5 is 0, -0.5 is -1)
%   dest  double scalar or empty (empty counts as 0); truncated toward zero
%
%   Errors: '2 inputs required.', 'Predecessor input must be a double
%   array.', 'Invalid scalar for destination.', and for a bad chain: 'The
%   predecessor array referenced a vertex too large.' (also NaN and Inf),
%   'The predecessor array contains negative references.', 'The predecessor
%   array contained a loop.', 'Unknown error with predecessor array.' (dest
%   is 0 and pred is not empty).
%
%   See also WAVEFRONT.
function path = route_unwind(pred, dest) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'route_unwind is not built; run kelvara_build');
end

%!assert (route_unwind ([0 1 2], 3), [1 2 3])
%!assert (route_unwind ([0 1 2]', 1), 1)
%!error <The predecessor array contained a loop> route_unwind ([2 1], 1)
