% kelvara: multigrid for graph Laplacians, sparse-matrix transforms and
% graph algorithms over the sparsity structure of a sparse matrix.
%
% Solving
%   ladder_build     - Multigrid hierarchy of a symmetric diagonally dominant matrix.
%   ladder_solve     - Solve a diagonally dominant system by preconditioned CG.
%   ladder_preconditioner - A Hierarchy as a preconditioner handle for pcg, gmres and others.
%
% Multigrid preconditioner
%   ladder_double    - One multigrid cycle of a Hierarchy, in double.
%   ladder_single    - One multigrid cycle of a Hierarchy, in single.
%
% Hierarchy construction
%   heavy_edge       - Strongest neighbour, weighted degree, strongest weight.
%   tree_tags        - Labels, count and sizes of the trees of a parent vector.
%   tree_cleave      - Split the trees of a parent vector into smaller trees.
%   relabel_sets     - Detach weakly attached vertices from their trees.
%   mask_enumerate   - Number the true entries of a logical vector.
%
% Matrix transforms
%   sdd_from_weights - The matrix diag(d) - A of a weighted adjacency.
%   weights_from_sdd - The weighted adjacency -offdiag(L) of a Laplacian.
%   twosided_scale   - diag(v) * A * diag(v) on A's pattern.
%   jitter_lower     - Random scaling of the strictly lower triangle.
%
% Graph algorithms
%   wavefront        - Breadth-first search with early stop at a target.
%   graph_islands    - Strongly connected components.
%   dag_sequence     - Topological order, and whether the graph is acyclic.
%   route_unwind     - Path from the root of a predecessor array to a vertex.
%
% Building
%   kelvara_build    - Build the modules with this program's mex command.
