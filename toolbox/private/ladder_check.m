function [A, doubled] = ladder_check (A)
% LADDER_CHECK  A checked as a real, finite, symmetric, diagonally dominant
%   square matrix, returned sparse double with round-off asymmetry averaged
%   out; doubled is true when A has positive off-diagonal entries (and is
%   solved through ladder_cover).
  if (! (isnumeric (A) || islogical (A)) || ndims (A) != 2)
    error ("kelvara:notNumeric", "A must be a numeric matrix; it is of class %s.", class (A));
  end
  [m, n] = size (A);
  if (m != n)
    error ("kelvara:notSquare", "A must be square; it is %d-by-%d.", m, n);
  end
  if (iscomplex (A))
    error ("kelvara:complex", "A must be real; it is complex.");
  end
  A = sparse (double (A));
  [i, j, v] = find (A);
  bad = find (! isfinite (v), 1);
  if (! isempty (bad))
    error ("kelvara:notFinite", "A(%d,%d) is %g; every entry of A must be finite.", i(bad), j(bad), v(bad));
  end
  % symmetric up to round-off: |A(i,j) - A(j,i)| within 1e-12 of their size
  D = A - A.';
  if (nnz (D))
    [di, dj, dv] = find (D);
    M = abs (A) + abs (A.');
    bad = find (abs (dv) > 1e-12 * full (M(sub2ind ([n n], di, dj))), 1);
    if (! isempty (bad))
      r = di(bad); c = dj(bad);
      error ("kelvara:notSymmetric", "A is not symmetric: A(%d,%d) = %g but A(%d,%d) = %g.", ...
             r, c, full (A(r, c)), c, r, full (A(c, r)));
    end
    A = (A + A.') / 2;
    [i, j, v] = find (A);
  end
  % diagonally dominant up to round-off: a deficit below 1e-12 of the row's magnitude
  d = full (diag (A));
  s = full (sum (abs (A), 2)) - abs (d);
  bad = find (d < s - 1e-12 * (abs (d) + s), 1);
  if (! isempty (bad))
    error ("kelvara:notDiagonallyDominant", ...
           "Row %d of A is not diagonally dominant: A(%d,%d) = %g is less than %g, the sum of the magnitudes of its off-diagonal entries.", ...
           bad, bad, bad, d(bad), s(bad));
  end
  doubled = any (i != j & v > 0);
end
