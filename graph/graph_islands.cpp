// [labels, sizes] = graph_islands(A): the strongly connected components of
// the directed graph of the sparse matrix A.  labels(v) is the component of
// vertex v, 1..K, numbered in the order in which the components complete;
// sizes(k) counts the vertices of component k.
#include "args.h"
#include "gateway.h"
#include "graph_input.h"

#include <boost/graph/strong_components.hpp>

#include <cstdint>
#include <cstring>

namespace {

using index_t = mwIndex;

// The algorithm's working maps live in the labels output's own storage: the
// 8 bytes of vertex v hold two 32-bit words, its cell and its root, so
// that the maps the search reads for one vertex share a cache line.  While
// v waits for its component, its cell holds its discover time with the top
// bit set; once assigned, its component number (vertex numbers, times and
// component numbers all stay below 2^31).  The library reads discover times
// only of vertices still waiting, so one word serves both.
struct slot {
  std::uint32_t cell, root;
};

const std::uint32_t waiting = 0x80000000u;

// A root of `unseen` marks a vertex not yet discovered, which also gives the
// colour.
const std::uint32_t unseen = 0xFFFFFFFFu;

// Shared by the four maps: the type the library asks them about.
template <class Value> struct slot_map {
  using key_type = std::uint32_t;
  using value_type = Value;
  using reference = value_type;
  using category = boost::read_write_property_map_tag;
  slot *s;
};

// The component map over the cells: the largest value while v waits.
struct comp_cells : slot_map<std::uint32_t> {};

template <class V> std::uint32_t get(const comp_cells &m, V v)
{
  const std::uint32_t x = m.s[v].cell;
  return x & waiting ? unseen : x;
}

template <class V> void put(const comp_cells &m, V v, std::uint32_t c)
{
  m.s[v].cell = c == unseen ? waiting : c;
}

// The discover-time map over the cells.
struct time_cells : slot_map<std::uint32_t> {};

template <class V> std::uint32_t get(const time_cells &m, V v) { return m.s[v].cell & ~waiting; }

template <class V> void put(const time_cells &m, V v, std::uint32_t t) { m.s[v].cell = t | waiting; }

// The root map.
struct roots : slot_map<std::uint32_t> {};

template <class V> std::uint32_t get(const roots &m, V v) { return m.s[v].root; }

template <class V> void put(const roots &m, V v, std::uint32_t r) { m.s[v].root = r; }

// The colour map over the roots: white while the root is `unseen`, gray
// after.  Making a vertex white marks its root unseen; the library makes it
// gray just before its discovery sets its root to itself, and black when
// done, which no visitor tells apart from gray.
struct seen_color : slot_map<boost::default_color_type> {};

template <class V> boost::default_color_type get(const seen_color &m, V v)
{
  return m.s[v].root == unseen ? boost::white_color : boost::gray_color;
}

template <class V> void put(const seen_color &m, V v, boost::default_color_type c)
{
  if (c == boost::white_color)
    m.s[v].root = unseen;
}

// Strongly connected components of the graph g, over s (one slot per
// vertex, as described above): the 0-based component number of each vertex
// into its cell.  Returns the number of components.
template <class G> std::uint32_t scc(const G &g, slot *s)
{
  return boost::strong_components(g, comp_cells{{s}},
                                  boost::root_map(roots{{s}})
                                      .discover_time_map(time_cells{{s}})
                                      .color_map(seen_color{{s}}));
}

// labels[k] = cell + 1 and sizes[cell] += 1, for the cell of each of the n
// slots at labels (each slot is converted in its own place).  Runs of equal
// labels are counted first and added at once, so that a large component
// does not chain every addition through one entry of sizes.
void label(std::size_t n, double *labels, double *sizes)
{
  unsigned char *b = reinterpret_cast<unsigned char *>(labels);
  std::uint32_t last = 0;
  std::size_t run = 0;
  for (std::size_t k = 0; k < n; ++k) {
    std::uint32_t c;
    std::memcpy(&c, b + 8 * k, 4);
    if (c != last) {
      sizes[last] += static_cast<double>(run);
      last = c;
      run = 0;
    }
    ++run;
    const double x = c + 1.0;
    std::memcpy(b + 8 * k, &x, 8);
  }
  if (run > 0)
    sizes[last] += static_cast<double>(run);
}

void graph_islands(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 1)
    kelvara::fail("1 inputs required.");
  const index_t n = kelvara::graph_order(prhs[0], "Input must be a square sparse matrix.");

  kelvara::owned labels(kelvara::made(mxCreateDoubleMatrix(n, 1, mxREAL), "Out of memory"));
  slot *s = reinterpret_cast<slot *>(mxGetPr(labels.get()));
  std::uint32_t count = 0;
  kelvara::with_graph(prhs[0], n, [&](const auto &g) { count = scc(g, s); });

  kelvara::owned sizes(
      kelvara::made(mxCreateDoubleMatrix(count > 0 ? count : 1, 1, mxREAL), "Out of memory"));
  label(n, mxGetPr(labels.get()), mxGetPr(sizes.get()));

  kelvara::store(nlhs, plhs, 0, labels.release());
  kelvara::store(nlhs, plhs, 1, sizes.release());
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { graph_islands(nlhs, plhs, nrhs, prhs); });
}
