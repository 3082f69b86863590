function rgb = segmentation_overlay (img, labels, seeds, seedlabels)
% SEGMENTATION_OVERLAY  An image with its segmentation drawn over it.
%   rgb = segmentation_overlay (img, labels, seeds, seedlabels) returns the
%   r-by-c-by-3 uint8 picture of the gray or colour image img (values in
%   [0, 1]) tinted by the label of each pixel (labels, r*c entries), with
%   the region boundaries drawn in yellow and each seed marked by a 7-by-7
%   square of its label's colour with a black rim.
  [r, c, ~] = size (img);
  colours = [0.90 0.25 0.20; 0.20 0.70 0.95; 0.35 0.85 0.30; 0.85 0.40 0.90; 1.00 0.60 0.10];
  colours = colours(mod (0:max (labels) - 1, rows (colours)) + 1, :);
  gray = mean (img, 3)(:);
  pix = 0.65 * repmat (gray, 1, 3) + 0.35 * colours(labels, :);
  lab = reshape (labels, r, c);
  edge = false (r, c);
  edge(1:end-1, :) |= diff (lab, 1, 1) != 0;
  edge(:, 1:end-1) |= diff (lab, 1, 2) != 0;
  pix(edge, :) = repmat ([1 0.9 0], nnz (edge), 1);
  [sr, sc] = ind2sub ([r c], seeds(:));
  pix = mark (pix, r, c, sr, sc, 3, zeros (numel (seeds), 3));
  pix = mark (pix, r, c, sr, sc, 2, colours(seedlabels, :));
  rgb = uint8 (255 * reshape (pix, r, c, 3));
end

function pix = mark (pix, r, c, sr, sc, radius, colour)
  % squares of side 2*radius+1 around the points (sr, sc), clipped to the image
  [dr, dc] = ndgrid (-radius:radius);
  rr = min (max (sr + dr(:)', 1), r);
  cc = min (max (sc + dc(:)', 1), c);
  pix(sub2ind ([r c], rr(:), cc(:)), :) = repmat (colour, numel (dr), 1);
end
