function [A, doubled, fingerprint] = ladder_check (A)
% LADDER_CHECK  A checked as a real, finite, symmetric, diagonally dominant
%   square matrix, returned sparse double with round-off asymmetry averaged
%   out; doubled is true when A has positive off-diagonal entries (and is
%   solved through ladder_cover); fingerprint is that of sparse(double(A))
%   as given, which ladder_solve compares with a reused Hierarchy's.
  if (~ (isnumeric (A) || islogical (A)) || ndims (A) ~= 2)
    error ('kelvara:notNumeric', 'A must be a numeric matrix; it is of class %s.', class (A));
  end
  [m, n] = size (A);
  if (m ~= n)
    error ('kelvara:notSquare', 'A must be square; it is %d-by-%d.', m, n);
  end
  if (iscomplex (A))
    error ('kelvara:complex', 'A must be real; it is complex (pass real (A) if its imaginary part is round-off).');
  end
  A = sparse (double (A));
  fingerprint = ladder_fingerprint (A);
  [kind, i, j] = sdd_kind (A);
  if (kind == 2)
    A = (A + A.') / 2;                  % symmetric up to round-off
    [kind, i, j] = sdd_kind (A);
  end
  switch (kind)
    case -1
      error ('kelvara:notFinite', 'A(%d,%d) is %g; every entry of A must be finite.', i, j, full (A(i, j)));
    case -2
      error ('kelvara:notSymmetric', 'A is not symmetric: A(%d,%d) = %g but A(%d,%d) = %g; pass (A + A'')/2 if that is the matrix meant.', ...
             i, j, full (A(i, j)), j, i, full (A(j, i)));
    case -3
      s = full (sum (abs (A(:, i)))) - abs (full (A(i, i)));
      error ('kelvara:notDiagonallyDominant', ...
             'Row %d of A is not diagonally dominant: A(%d,%d) = %g is less than %g, the sum of the magnitudes of its off-diagonal entries; only diagonally dominant systems can be solved here (pcg or \\ solve others).', ...
             i, i, i, full (A(i, i)), s);
  end
  doubled = kind == 1;
end
