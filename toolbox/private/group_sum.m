% GROUP_SUM  The graph of the groups of a weighted graph with diagonal excess.
%   [Wc, ec] = group_sum(W, e, q, m) sums the symmetric weighted graph W
%   (sparse n-by-n double; its diagonal ignored), whose vertex i also has the
%   excess e(i) (an edge to a ground outside the graph), over the m groups
%   q (uint32, 0-based; m marks the ground):
%     Wc  sparse m-by-m: Wc(J,K) sums the weights between groups J and K;
%         weights inside a group drop out
%     ec  double m-by-1: the excess of J's vertices plus their weights into
%         the ground
%   The Laplacian diag(sum(Wc,2) + ec) - Wc equals P'*(diag(sum(W,2) + e) -
%   W)*P for the 0/1 matrix P of the groups, without the cancellation of
%   forming that product.
%
%   Errors: 'Wrong number of input arguments', 'Wrong number of output
%   arguments', 'First argument must be a real sparse double matrix', 'First
%   argument must be square', 'Second argument must be a real double vector
%   with one entry per vertex', 'Third argument must be a uint32 vector with
%   one entry per vertex', 'Fourth argument must be a whole number of groups
%   below 2^32 - 1', 'Group numbers must be below the group count, or equal
%   to it for the ground', 'Out of memory'.
%
%   See also PAIR_GROUPS, LADDER_BUILD.
function [Wc, ec] = group_sum(W, e, q, m) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'group_sum is not built; run kelvara_build');
end
