% LADDER_DOUBLE  One multigrid cycle of a precomputed Hierarchy, in double.
%   x = ladder_double(H, b) applies the multigrid Hierarchy H to the column
%   b (class double) and returns x, an approximation of A\b for the matrix A
%   of H's finest level: weighted Jacobi smoothing around coarse corrections,
%   and a last level solved by its LDL' factor or by diagonal scaling.
%   Used as a preconditioner: pcg(A, b, tol, maxit, @(r) ladder_double(H, r)).
%
%   H is a cell array of level structs, H{1} the finest:
%     islast, iterative   1 marks the last level; 1 solves it by x = invD.*b
%     A                   struct with a (values), ia, ja (uint32, 0-based
%                         segment starts and indices; each segment holds its
%                         diagonal first, each off-diagonal pair once), n, issym
%     cI, nc, dc, repeat  inner levels: coarse node of each unknown (uint32,
%                         0-based), coarse node count, 1 to leave out node
%                         nc-1, cycles run on the next level per correction
%     invD                smoothing weights (inverse diagonal)
%     lws1, lws2          n-vectors, sws1, sws2, sws3 nc-vectors: workspaces,
%                         each an array of its own; overwritten by every call
%     laplacian           H{1} only: 1 when b has one entry more than A's
%                         order (that entry of x is 0)
%     chol                direct last level: ld, ldT (rows of L with D last,
%                         and of L', diagonal slot first), p, invp (uint32)
%   When H{end-1}.islast is 1, H{end} is not read.  A cell of several rows
%   and columns is read as its first max(rows, columns) entries, by linear
%   index.  Value arrays are double; index arrays uint32; scalars double.
%
%   x is a double column with as many entries as b; entries past the
%   finest order are 0.  Two calls sharing one H must not overlap.
%
%   The workspaces are written in place, and the module cannot see which
%   variables share their data: Octave and MATLAB let an assignment share
%   an array's data until one side changes it.  A workspace taken from
%   another variable (z = zeros(n, 1, 'double'); H{1}.lws1 = z) makes every
%   call change z too; one taken from a literal (H{1}.lws1 = [0; 0]) changes
%   the literal itself, so the next pass of a loop sees other numbers.
%   Make each workspace where it is stored, with zeros(n, 1, 'double') or
%   zeros(nc, 1, 'double').  A copy of a Hierarchy (H2 = H) shares its
%   workspaces with H: calls on either change both.
%
%   Errors: 'Wrong number of input arguments', 'First argument must be a
%   Hierarchy cell', 'Second argument must be a non-sparse double precision
%   vector', 'Second argument must be a column vector', and a message naming
%   the entry and field of a Hierarchy that breaks the format above (missing
%   field, wrong class or length, an index out of range, workspaces sharing
%   data with each other or with the arrays a cycle reads).  A cell of more
%   than 10000 levels, and a cycle whose repeats would read more than 3e9
%   stored entries (a few seconds of work, since a call cannot be
%   interrupted), are refused before anything runs.
%
%   See also LADDER_SINGLE, PCG.
function x = ladder_double(H, b) %#ok<INUSD,STOUT>
  error('kelvara:notBuilt', 'ladder_double is not built; run kelvara_build');
end

%!test
%! ## one level, solved by diagonal scaling: x = invD .* b
%! A = struct ("a", [2; -1; 2], "ia", uint32 ([0; 2; 3]), "ja", uint32 ([0; 1; 1]),
%!             "n", 2, "issym", 1);
%! H = {struct("islast", 1, "iterative", 1, "A", A, "invD", [0.5; 0.25], "laplacian", 0,
%!             "lws1", zeros (2, 1), "lws2", zeros (2, 1), "sws1", [], "sws2", [], "sws3", [])};
%! assert (ladder_double (H, [2; 4]), [1; 1]);
%!error <Second argument must be a non-sparse double precision vector> ladder_double ({}, single (1))
