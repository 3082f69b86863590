% LADDER_GROUNDING  Whether labels mark exactly the singular components of a matrix.
%   [ok, i] = ladder_grounding(A, g, doubled) reads the stored entries of
%   the real sparse square double matrix A once and tells whether the
%   uint32 labels g mark whole components without diagonal excess, as
%   H{1}.kelvara.grounded of LADDER_BUILD does: every stored edge joins
%   vertices of one label, and no labelled row has an excess (its diagonal
%   less the magnitudes of its off-diagonal entries) above 1e-12 of the
%   row.  g has one label per vertex, or, when doubled is true, one per
%   vertex of the cover of twice the order that LADDER_SOLVE solves for a
%   matrix with positive off-diagonal entries.  i is the row of A where the
%   labels first fail, 0 when ok is true.  LADDER_SOLVE uses it to check a
%   reused Hierarchy against A.
%
%   Errors: 'Wrong number of input arguments', 'Wrong number of output
%   arguments', 'First argument must be a real sparse double matrix',
%   'First argument must be square', 'Second argument must be a uint32
%   vector of n labels' (or 2n), 'Third argument must be a scalar, true for
%   a doubled system', 'Out of memory'.
%
%   See also LADDER_SOLVE, LADDER_BUILD.
function [ok, i] = ladder_grounding(A, g, doubled) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'ladder_grounding is not built; run kelvara_build');
end

