// The matrix argument of the traversal modules: a square sparse matrix read
// as a directed graph.
#ifndef KELVARA_GRAPH_GRAPH_INPUT_H
#define KELVARA_GRAPH_GRAPH_INPUT_H

#include "gateway.h"
#include "sparse_graph_view.h"

#include <cstdint>

namespace kelvara {

// Vertex numbers, discovery times and loop counters are 32-bit signed in
// the traversal modules, so a graph has at most 2^31 - 1 vertices.
const double max_graph_order = 2147483647.0;

// The order n of A after the two shape checks: square and sparse (else
// fails with `shape`), and fewer than 2^31 vertices.  Rows and columns are
// compared in full width.
inline mwIndex graph_order(const mxArray *A, const char *shape)
{
  if (mxGetM(A) != mxGetN(A) || !mxIsSparse(A))
    fail("%s", shape);
  if (static_cast<double>(mxGetN(A)) > max_graph_order)
    fail("Graph too large: 2^31 or more vertices.");
  return static_cast<mwIndex>(mxGetN(A));
}

// Calls f(g) with g the view of A's structure, n as graph_order() returned
// it.  With a 32-bit index type, vertex numbers and edge positions are of
// that type; with a wider one, they are 32-bit when the entry count fits
// (n always does), else of the index type.
template <class F> void with_graph(const mxArray *A, mwIndex n, F &&f)
{
  const mwIndex *jc = mxGetJc(A), *ir = mxGetIr(A);
  if constexpr (sizeof(mwIndex) == 4)
    f(sparse_graph_view<mwIndex>(n, jc, ir));
  else if (static_cast<double>(jc[n]) <= 4294967295.0)
    f(sparse_graph_view<mwIndex, std::uint32_t>(static_cast<std::uint32_t>(n), jc, ir));
  else
    f(sparse_graph_view<mwIndex>(n, jc, ir));
}

} // namespace kelvara

#endif
