function W = pixel_graph (img, beta)
% PIXEL_GRAPH  Weighted 4-neighbour graph of the pixels of an image.
%   W = pixel_graph (img, beta) returns the sparse symmetric adjacency of the
%   pixels of the r-by-c gray or r-by-c-by-3 colour image img (values in
%   [0, 1], pixels numbered column-major): each pixel is joined to its
%   vertical and horizontal neighbours with weight exp(-beta*d^2) + 1e-10, d
%   the difference of intensity (or colour, as a Euclidean distance).  The
%   small floor keeps every region joined to the rest in double precision.
  [r, c, ~] = size (img);
  idx = reshape (1:r*c, r, c);
  dv = sum (diff (img, 1, 1) .^ 2, 3);
  dh = sum (diff (img, 1, 2) .^ 2, 3);
  I = [idx(1:end-1, :)(:); idx(:, 1:end-1)(:)];
  J = [idx(2:end, :)(:); idx(:, 2:end)(:)];
  W = sparse (I, J, exp (-beta * [dv(:); dh(:)]) + 1e-10, r*c, r*c);
  W = W + W.';
end
