% TREE_CLEAVE  Split the trees of a parent vector into smaller trees.
%   Q = tree_cleave(P) takes a forest P (a uint32 vector of n entries, row
%   or column: P(i) is the 0-based parent of vertex i-1, or n+1 for none;
%   every tree ends in a self-loop or a two-vertex cycle, as HEAVY_EDGE
%   makes it) and returns a copy Q, of P's shape, in which some vertices
%   are made roots of their own (Q(v+1) = v); no entry changes otherwise.
%   A first pass from the leaves upward makes the middle vertex of every
%   walk of six or more steps a root, counting subtree sizes on the way; a
%   second pass detaches, on each leaf-to-root climb, the lowest subtree
%   that holds at least three vertices while the rest of its parent's
%   subtree holds at least three more.  TREE_TAGS numbers the new trees.
%
%   Entries n+1 are copied and start nothing; a vertex marked n+1 that
%   other vertices' parents lead to is taken as their root.  A vector with
%   cycles of three or more vertices is processed by the same rules: a
%   cycle no walk enters is copied, and walks that enter one make roots on
%   it.  A walk or climb that could not end is refused, never followed.
%
%   Errors: 'Wrong number of input arguments', 'Wrong number of output
%   arguments' (more than one), 'Input must be a vector' (a 0-by-0 array
%   too), 'Input vector must be of type uint32', 'Too many vertices for
%   32-bit parent indices' (n >= 2^32-1), 'Parent entries must be vertex
%   indices below n, or n+1 for none' (an entry n, or above n+1), 'Parent
%   vector has a cycle of more than two vertices' (a walk that could not
%   end), 'Unsufficient memory'.
%
%   See also HEAVY_EDGE, TREE_TAGS, RELABEL_SETS.
function Q = tree_cleave(P) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'tree_cleave is not built; run kelvara_build');
end

%!test
%! ## a path of 12 vertices falls apart; entries only ever become roots
%! P = uint32 ([0, 0:10]);
%! Q = tree_cleave (P);
%! changed = find (Q != P);
%! assert (! isempty (changed));
%! assert (Q(changed), uint32 (changed - 1));
%! assert (tree_cleave (uint32 ([1 0 1])), uint32 ([1 0 1]));
%!error <Parent entries must be vertex indices> tree_cleave (uint32 ([3 0 0]))
