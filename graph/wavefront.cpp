// [d, order, pred] = wavefront(A, s, t): breadth-first search over the
// directed graph of the sparse matrix A from vertex s, stopping when vertex
// t is discovered (t = 0: no target).  d is the distance in edges, order the
// discovery order, pred the predecessor row; -1, -1, 0 where not reached.
#include "args.h"
#include "gateway.h"
#include "graph_input.h"
#include "widen.h"

#include <boost/graph/breadth_first_search.hpp>
#include <boost/graph/visitors.hpp>

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

using index_t = mwIndex;

// Thrown by value to end the search early.
struct stop_bfs {};

// Ends the search when the target vertex is discovered.
template <class Vertex> struct stop_at_target {
  using event_filter = boost::on_discover_vertex;
  Vertex t;
  template <class G> void operator()(Vertex v, const G &) const
  {
    if (v == t)
      throw stop_bfs();
  }
};

// Per-vertex arrays keyed by vertex numbers of type Vertex.
template <class T, class Vertex>
using vertex_map = boost::iterator_property_map<T *, boost::typed_identity_property_map<Vertex>>;

// The visitor without target: distances and predecessors on tree edges,
// discovery order on discover events.
template <class Vertex>
using bfs_recorder = std::pair<
    boost::distance_recorder<vertex_map<std::int32_t, Vertex>, boost::on_tree_edge>,
    std::pair<boost::time_stamper<vertex_map<std::int32_t, Vertex>, std::int32_t,
                                  boost::on_discover_vertex>,
              boost::predecessor_recorder<vertex_map<std::uint32_t, Vertex>, boost::on_tree_edge>>>;

// The same, ending the search at the target.
template <class Vertex>
using bfs_target_recorder =
    std::pair<typename bfs_recorder<Vertex>::first_type,
              std::pair<typename bfs_recorder<Vertex>::second_type::first_type,
                        std::pair<typename bfs_recorder<Vertex>::second_type::second_type,
                                  stop_at_target<Vertex>>>>;

// The search's colour map: one bit per vertex, set when it turns gray.  At
// n/8 bytes it stays in cache on graphs whose per-vertex arrays do not, and
// it is read on every edge.  Black is not told apart from gray, as no
// visitor acts on the difference.
template <class Vertex> struct seen_bits {
  using key_type = Vertex;
  using value_type = boost::default_color_type;
  using reference = value_type;
  using category = boost::read_write_property_map_tag;
  std::uint64_t *bits;
};

template <class Vertex> boost::default_color_type get(const seen_bits<Vertex> &c, Vertex v)
{
  return c.bits[v >> 6] >> (v & 63) & 1 ? boost::gray_color : boost::white_color;
}

template <class Vertex> void put(const seen_bits<Vertex> &c, Vertex v, boost::default_color_type x)
{
  const std::uint64_t bit = std::uint64_t(1) << (v & 63);
  if (x == boost::white_color)
    c.bits[v >> 6] &= ~bit;
  else
    c.bits[v >> 6] |= bit;
}

// How far down the queue the column starts, and half as far the row
// indices, of the vertices to come are prefetched.
const std::size_t ahead = 16;

// The first-in-first-out queue of the search over the graph g: a flat array
// with room for every vertex, as each is queued at most once.  Taking a
// vertex off prefetches the columns of those queued after it.
template <class G> struct flat_queue {
  using vertex = typename G::vertex_type;
  const G &g;
  std::uint32_t *a;
  std::size_t head = 0, tail = 0;
  void push(vertex v) { a[tail++] = static_cast<std::uint32_t>(v); }
  vertex top() const { return a[head]; }
  void pop()
  {
    ++head;
    if (head + ahead < tail)
      __builtin_prefetch(g.jc + a[head + ahead]);
    if (head + ahead / 2 < tail)
      __builtin_prefetch(g.ir + g.jc[a[head + ahead / 2]]);
  }
  bool empty() const { return head == tail; }
};

// Breadth-first search of the graph g from s, stopping at t (t = n: no
// target), over zero-filled arrays: dist[v] = 1 + the distance of v, 0 where
// not reached (dist[s] = 1 preset by the caller); order[v] = the discovery
// number of v, 0 where not reached; pred[v] = the vertex v was reached
// from, written on tree edges only; seen has n bits, queue room for n
// vertices.
template <class G>
void bfs(const G &g, index_t s, index_t t, std::int32_t *dist, std::int32_t *order,
         std::uint32_t *pred, std::uint64_t *seen, std::uint32_t *queue)
{
  using vertex = typename G::vertex_type;
  std::int32_t time = 0;
  flat_queue<G> q{g, queue};
  const vertex s0 = static_cast<vertex>(s);
  const seen_bits<vertex> color{seen};
  const bfs_recorder<vertex> rec{
      boost::record_distances(kelvara::vertex_array(g, dist), boost::on_tree_edge()),
      {boost::stamp_times(kelvara::vertex_array(g, order), time, boost::on_discover_vertex()),
       boost::record_predecessors(kelvara::vertex_array(g, pred), boost::on_tree_edge())}};
  if (t == static_cast<index_t>(g.n)) {
    boost::breadth_first_visit(g, s0, q, boost::make_bfs_visitor(rec), color);
    return;
  }
  const bfs_target_recorder<vertex> trec{
      rec.first, {rec.second.first, {rec.second.second, {static_cast<vertex>(t)}}}};
  try {
    boost::breadth_first_visit(g, s0, q, boost::make_bfs_visitor(trec), color);
  } catch (stop_bfs) {
  }
}

// A vertex argument as the error message shows it: truncated toward zero,
// whole numbers in full up to 15 digits, NaN and Inf by name.
void vertex_text(double x, char (&text)[32])
{
  if (std::isnan(x))
    std::snprintf(text, sizeof text, "NaN");
  else if (std::isinf(x))
    std::snprintf(text, sizeof text, x > 0 ? "Inf" : "-Inf");
  else if (std::fabs(x) < 1e15)
    std::snprintf(text, sizeof text, "%lld", static_cast<long long>(x));
  else
    std::snprintf(text, sizeof text, "%.15g", std::trunc(x));
}

// The 0-based vertex of the 1-based argument x (truncated) of n vertices, or
// fails with the module's identifier and a message that shows x; `which`
// names the argument.
index_t vertex(double x, double n, const char *which)
{
  if (!(x >= 1 && x < n + 1)) {
    char text[32];
    vertex_text(x, text);
    kelvara::fail_id("kelvara:invalidParameter", "%s vertex (%s) not a valid vertex.", which, text);
  }
  return static_cast<index_t>(x) - 1;
}

void wavefront(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  using kelvara::fail;
  if (nrhs != 3)
    fail("3 inputs required.");
  const index_t n = kelvara::graph_order(prhs[0], "Input must be a square sparse matrix.");
  // s must be a double scalar; t only needs to be readable as a number
  if (mxGetNumberOfElements(prhs[1]) > 1 || !mxIsDouble(prhs[1]) ||
      !kelvara::is_number_class(prhs[2]))
    fail("Invalid scalar.");
  const double sx = kelvara::scalar_value(prhs[1]);
  const double tx = kelvara::scalar_value(prhs[2]);
  const double nd = static_cast<double>(n);
  const index_t s = vertex(sx, nd, "start");
  const index_t t = std::trunc(tx) == 0 ? n : vertex(tx, nd, "target");

  kelvara::owned d(kelvara::made(mxCreateDoubleMatrix(n, 1, mxREAL), "Out of memory"));
  kelvara::owned order(kelvara::made(mxCreateDoubleMatrix(n, 1, mxREAL), "Out of memory"));
  kelvara::owned pred(kelvara::made(mxCreateDoubleMatrix(1, n, mxREAL), "Out of memory"));
  // dist, order and pred in 32-bit form in the first halves of the outputs'
  // own (zero-filled) storage; the colour bits in the second half of
  // order's (8-byte aligned, room for them once n >= 2; a word of its own
  // for n = 1), the queue in the second half of pred's
  double *dd = mxGetPr(d.get()), *od = mxGetPr(order.get()), *pd = mxGetPr(pred.get());
  std::int32_t *di = reinterpret_cast<std::int32_t *>(dd);
  std::int32_t *oi = reinterpret_cast<std::int32_t *>(od);
  std::uint32_t *pi = reinterpret_cast<std::uint32_t *>(pd);
  std::uint64_t one = 0;
  std::uint64_t *seen = n >= 2 ? reinterpret_cast<std::uint64_t *>(oi + n + (n & 1)) : &one;
  di[s] = 1;
  kelvara::with_graph(prhs[0], n, [&](const auto &g) { bfs(g, s, t, di, oi, pi, seen, pi + n); });
  kelvara::widen_bfs(n, dd, od, pd);

  kelvara::store(nlhs, plhs, 0, d.release());
  kelvara::store(nlhs, plhs, 1, order.release());
  kelvara::store(nlhs, plhs, 2, pred.release());
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { wavefront(nlhs, plhs, nrhs, prhs); });
}
