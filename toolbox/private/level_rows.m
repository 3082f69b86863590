% LEVEL_ROWS  A level matrix of a Hierarchy in rows, from its graph and diagonal.
%   [a, ia, ja] = level_rows(W, d, single) stores diag(d) - W, for the
%   symmetric weighted graph W (sparse n-by-n double; its diagonal ignored),
%   as the fields "a", "ia", "ja" of a Hierarchy level's "A": row i holds
%   d(i) first, then -W(j,i) for every stored j > i in ascending order.
%     a   the values, of class single when single is true, else double
%     ia  uint32 (n+1)-by-1: 0-based row starts
%     ja  uint32: the 0-based column of each entry, the diagonal's own first
%
%   Errors: 'Wrong number of input arguments', 'Wrong number of output
%   arguments', 'First argument must be a real sparse double matrix', 'First
%   argument must be square', 'Second argument must be a real double vector
%   with one entry per vertex', 'Third argument must be a scalar, true for
%   single precision', 'Too many entries for 32-bit row starts', 'Out of
%   memory'.
%
%   See also LADDER_BUILD, LADDER_DOUBLE.
function [a, ia, ja] = level_rows(W, d, single) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'level_rows is not built; run kelvara_build');
end
