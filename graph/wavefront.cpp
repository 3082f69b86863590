// [d, order, pred] = wavefront(A, s, t): breadth-first search over the
// directed graph of the sparse matrix A from vertex s, stopping when vertex
// t is discovered (t = 0: no target).  d is the distance in edges, order the
// discovery order, pred the predecessor row; -1, -1, 0 where not reached.
#include "args.h"
#include "gateway.h"
#include "graph_input.h"
#include "pages.h"

#include <boost/graph/breadth_first_search.hpp>

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

using index_t = mwIndex;

// Thrown by value to end the search early.
struct stop_bfs {};

// What the search records of one vertex, side by side so that discovering
// it writes one cache line: 1 + its distance and its discovery number (0
// while not reached), and the vertex it was reached from.
struct mark {
  std::int32_t dist, order;
  std::uint32_t pred;
};

// Writes the marks as the search goes, and ends it when the target t is
// discovered (Target = true).  The vertex being examined is the source of
// the tree edges that follow, so edges need not carry their source.
template <class Vertex, bool Target> struct recorder : boost::default_bfs_visitor {
  mark *m;
  Vertex t, u = 0;
  std::int32_t time = 0;
  recorder(mark *m, Vertex t) : m(m), t(t) {}
  template <class G> void examine_vertex(Vertex v, const G &) { u = v; }
  template <class E, class G> void tree_edge(const E &e, const G &g)
  {
    mark &x = m[target(e, g)];
    x.dist = m[u].dist + 1;
    x.pred = static_cast<std::uint32_t>(u);
  }
  template <class G> void discover_vertex(Vertex v, const G &)
  {
    m[v].order = ++time;
    if (Target && v == t)
      throw stop_bfs();
  }
};

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
// target), into zero-filled marks (m[s].dist = 1 preset by the caller): the
// marks of every vertex reached, as struct mark says; the predecessor is
// written on tree edges only.  seen has n bits, queue room for n vertices.
template <class G>
void bfs(const G &g, index_t s, index_t t, mark *m, std::uint64_t *seen, std::uint32_t *queue)
{
  using vertex = typename G::vertex_type;
  flat_queue<G> q{g, queue};
  const vertex s0 = static_cast<vertex>(s), t0 = static_cast<vertex>(t);
  const seen_bits<vertex> color{seen};
  if (t == static_cast<index_t>(g.n)) {
    boost::breadth_first_visit(g, s0, q, recorder<vertex, false>(m, t0), color);
    return;
  }
  try {
    boost::breadth_first_visit(g, s0, q, recorder<vertex, true>(m, t0), color);
  } catch (stop_bfs) {
  }
}

// The outputs from the marks of the n vertices: d[v] = distance, order[v] =
// discovery number, pred[v] = 1-based predecessor; -1, -1, 0 where not
// reached (the start has no predecessor).
void spread(std::size_t n, const mark *m, double *d, double *order, double *pred)
{
  for (std::size_t v = 0; v < n; ++v) {
    const mark x = m[v];
    d[v] = x.dist - 1.0;
    order[v] = x.order ? x.order : -1.0;
    pred[v] = x.dist >= 2 ? x.pred + 1.0 : 0.0;
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
  // the search records into marks and colour bits of their own and keeps
  // its queue in the second half of pred's storage; the outputs are written
  // from the marks in one pass in vertex order
  kelvara::pages<mark> m(n);
  kelvara::pages<std::uint64_t> seen((n + 63) / 64);
  if (!m || !seen)
    fail("Out of memory");
  double *dd = mxGetPr(d.get()), *od = mxGetPr(order.get()), *pd = mxGetPr(pred.get());
  std::uint32_t *queue = reinterpret_cast<std::uint32_t *>(pd) + n;
  m.get()[s].dist = 1;
  kelvara::with_graph(prhs[0], n,
                      [&](const auto &g) { bfs(g, s, t, m.get(), seen.get(), queue); });
  spread(n, m.get(), dd, od, pd);

  kelvara::store(nlhs, plhs, 0, d.release());
  kelvara::store(nlhs, plhs, 1, order.release());
  kelvara::store(nlhs, plhs, 2, pred.release());
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { wavefront(nlhs, plhs, nrhs, prhs); });
}
