% HEAVY_EDGE  Strongest neighbour, weighted degree and strongest weight.
%   [p, deg, w] = heavy_edge(A) reads the sparse n-by-n double matrix A as a
%   weighted graph (column i holds the weights of vertex i's edges) and
%   returns, in one pass:
%     p    uint32 1-by-n parent vector: p(i) is the 0-based row of the
%          largest positive value of column i, the lowest such row on ties
%          (a stored diagonal entry competes too), or n+1 when no value of
%          the column is positive (empty column, all values <= 0 or NaN)
%     deg  double n-by-1: the sum of every stored value of column i,
%          negative values, NaN and the diagonal included
%     w    double n-by-1: the winning value of column i, 0 when none wins
%   [p, deg, w] = heavy_edge(A, B) chooses by the products A(k) .* B(k) of
%   the values at the same storage position k instead; B is a sparse n-by-n
%   double matrix with A's pattern.  deg still sums A alone, and w holds the
%   winning product.
%
%   For a symmetric A, following every vertex to p gives a forest whose
%   trees end in a two-vertex cycle or a self-loop: the input of TREE_TAGS,
%   TREE_CLEAVE and RELABEL_SETS.  Only the shape of A is tested, not its
%   symmetry.  Only real parts are read.  All three outputs are computed
%   whatever the number requested.
%
%   Errors: 'Wrong number of input arguments', 'Wrong number of output
%   arguments' (none, or more than three), 'Input must be a sparse matrix',
%   'Matrix must be symmetric' (A not square), 'Matrix dimensions must be
%   identical' (B not sparse or not n-by-n), 'Sparse matrix must be of class
%   double' (a sparse logical A or B), 'Matrices must have the same number
%   of stored entries' (B's pattern cannot pair with A's), 'Too many
%   vertices for 32-bit parent indices' (n >= 2^32-1), 'Unsufficient
%   memory'.
%
%   See also TREE_TAGS, TREE_CLEAVE, RELABEL_SETS.
function [p, deg, w] = heavy_edge(A, B) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'heavy_edge is not built; run kelvara_build');
end

%!test
%! A = sparse ([0 3 1; 3 0 2; 1 2 0]);
%! [p, deg, w] = heavy_edge (A);
%! assert (p, uint32 ([1 0 1]));
%! assert ([deg, w], [4 3; 5 3; 3 2]);
%!error <Input must be a sparse matrix> p = heavy_edge (ones (3))
