% SDD_KIND  What a sparse matrix is for the solver, and where it fails.
%   [kind, i, j] = sdd_kind(A) reads the real sparse square double matrix A
%   once, column by column, without forming its transpose:
%      0  symmetric and diagonally dominant, no positive off-diagonal entry
%      1  the same with a positive off-diagonal entry
%      2  symmetric only up to round-off (an entry differs from its mirror
%         by at most 1e-12 of their magnitudes): average A with A' and ask
%         again
%     -1  A(i,j) is NaN or infinite
%     -2  A(i,j) differs from A(j,i) beyond round-off
%     -3  row i (that is column i) falls short of dominance by more than
%         1e-12 of its magnitude
%   i and j are 1-based and name the first failure in column order, 0 when
%   kind is not negative.  Only the kind of A is reported; LADDER_SOLVE
%   turns failures into errors.
%
%   Errors: 'Wrong number of input arguments', 'Wrong number of output
%   arguments', 'Input must be a real sparse double matrix', 'Input must be
%   square', 'Out of memory'.
%
%   See also LADDER_BUILD, LADDER_SOLVE.
function [kind, i, j] = sdd_kind(A) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'sdd_kind is not built; run kelvara_build');
end
