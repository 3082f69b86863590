// [labels, sizes] = graph_islands(A): the strongly connected components of
// the directed graph of the sparse matrix A.  labels(v) is the component of
// vertex v, 1..K, numbered in the order in which the components complete;
// sizes(k) counts the vertices of component k.
#include "args.h"
#include "gateway.h"
#include "graph_input.h"
#include "widen.h"

#include <boost/graph/strong_components.hpp>

#include <vector>

namespace {

using index_t = mwIndex;

// Strongly connected components of the graph g: the 0-based component
// number of each vertex into comp.
template <class G> void scc(const G &g, index_t *comp)
{
  using vertex = typename G::vertex_type;
  const std::size_t n = static_cast<std::size_t>(g.n), m = n > 0 ? n : 1;
  std::vector<vertex> root(m), time(m);
  std::vector<boost::default_color_type> color(n);
  boost::strong_components(g, kelvara::vertex_array(g, comp),
                           boost::root_map(kelvara::vertex_array(g, root.data()))
                               .discover_time_map(kelvara::vertex_array(g, time.data()))
                               .color_map(kelvara::vertex_array(g, color.data())));
}

void graph_islands(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 1)
    kelvara::fail("1 inputs required.");
  const index_t n = kelvara::graph_order(prhs[0], "Input must be a square sparse matrix.");

  kelvara::owned labels(kelvara::made(mxCreateDoubleMatrix(n, 1, mxREAL), "Out of memory"));
  index_t *comp = reinterpret_cast<index_t *>(mxGetPr(labels.get()));
  kelvara::with_graph(prhs[0], n, [&](const auto &g) { scc(g, comp); });
  index_t top = 0;
  for (index_t v = 0; v < n; ++v)
    top = comp[v] > top ? comp[v] : top;

  kelvara::owned sizes(kelvara::made(mxCreateDoubleMatrix(top + 1, 1, mxREAL), "Out of memory"));
  double *count = mxGetPr(sizes.get());
  for (index_t v = 0; v < n; ++v)
    count[comp[v]] += 1.0;
  kelvara::widen<index_t>(n, 1.0, mxGetPr(labels.get()));

  kelvara::store(nlhs, plhs, 0, labels.release());
  kelvara::store(nlhs, plhs, 1, sizes.release());
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { graph_islands(nlhs, plhs, nrhs, prhs); });
}
