// [order, isdag] = dag_sequence(A): a topological order of the directed
// graph of the sparse matrix A (an entry in row i, column j puts j before
// i), the reverse of the depth-first finishing order, and 1 when the graph
// is acyclic.  On a cycle isdag is 0 and order is not an order: its trailing
// elements hold the vertices finished before the cycle was met, the others 1.
#include "args.h"
#include "gateway.h"
#include "graph_input.h"
#include "widen.h"

#include <boost/graph/topological_sort.hpp>

#include <cstdint>
#include <iterator>
#include <vector>

namespace {

using index_t = mwIndex;

// Topological order of the graph g of n vertices, written into order from
// its last element towards its first as vertices finish; *isdag = 0 when a
// back edge ends the search, else 1.
template <class G> void toposort(const G &g, index_t n, index_t *order, std::int32_t *isdag)
{
  *isdag = 1;
  if (n == 0)
    return;
  std::vector<boost::default_color_type> color(n);
  try {
    boost::topological_sort(g, std::reverse_iterator<index_t *>(order + n),
                            boost::color_map(kelvara::vertex_array(g, color.data())));
  } catch (const boost::not_a_dag &) {
    *isdag = 0;
  }
}

void dag_sequence(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 1)
    kelvara::fail("1 inputs required.");
  const index_t n =
      kelvara::graph_order(prhs[0], "Input must be a noncomplex square sparse matrix.");

  kelvara::owned order(kelvara::made(mxCreateDoubleMatrix(n, 1, mxREAL), "Out of memory"));
  kelvara::owned isdag(kelvara::made(mxCreateDoubleMatrix(1, 1, mxREAL), "Out of memory"));
  index_t *oi = reinterpret_cast<index_t *>(mxGetPr(order.get()));
  std::int32_t *flag = reinterpret_cast<std::int32_t *>(mxGetPr(isdag.get()));
  kelvara::with_graph(prhs[0], n, [&](const auto &g) { toposort(g, n, oi, flag); });
  kelvara::widen<index_t>(n, 1.0, mxGetPr(order.get()));
  kelvara::widen<std::int32_t>(1, 0, mxGetPr(isdag.get()));

  kelvara::store(nlhs, plhs, 0, order.release());
  kelvara::store(nlhs, plhs, 1, isdag.release());
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { dag_sequence(nlhs, plhs, nrhs, prhs); });
}
