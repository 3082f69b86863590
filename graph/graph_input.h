// The matrix argument of the traversal modules: a square sparse matrix read
// as a directed graph.
#ifndef KELVARA_GRAPH_GRAPH_INPUT_H
#define KELVARA_GRAPH_GRAPH_INPUT_H

#include "gateway.h"
#include "sparse_graph_view.h"

namespace kelvara {

// Vertex numbers, discovery times and loop counters are 32-bit signed in
// the traversal modules, so a graph has at most 2^31 - 1 vertices.
const double max_vertices = 2147483647.0;

// The order n of A after the two shape checks: square and sparse (else
// fails with `shape`), and fewer than 2^31 vertices.  Rows and columns are
// compared in full width.
inline mwIndex graph_order(const mxArray *A, const char *shape)
{
  if (mxGetM(A) != mxGetN(A) || !mxIsSparse(A))
    fail("%s", shape);
  if (static_cast<double>(mxGetN(A)) > max_vertices)
    fail("Graph too large: 2^31 or more vertices.");
  return static_cast<mwIndex>(mxGetN(A));
}

// The view of A's structure; n as graph_order() returned it.
inline sparse_graph_view<mwIndex> graph_of(const mxArray *A, mwIndex n)
{
  return sparse_graph_view<mwIndex>(n, mxGetJc(A), mxGetIr(A));
}

} // namespace kelvara

#endif
