// The graph view under both index types, and the graph modules through the
// host harness: stored zeros, the output list bound, memory exhaustion, and
// random, empty, huge-value and malformed inputs that must each end in a
// result or an error, never a fault.
#include "harness.h"

#include "../../graph/sparse_graph_view.h"

#include <boost/graph/breadth_first_search.hpp>
#include <boost/graph/strong_components.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

using harness::ptr;

namespace {

// ---- the view ---------------------------------------------------------------

// The same structure (edges 0->1, 0->2, 1->0, 2->2) read through signed and
// unsigned index arrays, with descriptors of the index type or narrower:
// same ranges, degrees, components and distances.
template <class Index, class Vertex = Index> void check_view()
{
  const Index jc[] = {0, 2, 3, 4}, ir[] = {1, 2, 0, 2};
  kelvara::sparse_graph_view<Index, Vertex> g(3, jc, ir);
  EXPECT_EQ(num_vertices(g), Vertex(3));
  EXPECT_EQ(out_degree(Vertex(0), g), Vertex(2));
  std::vector<Vertex> seen;
  for (auto r = out_edges(Vertex(0), g); r.first != r.second; ++r.first) {
    EXPECT_EQ(source(*r.first, g), Vertex(0));
    seen.push_back(target(*r.first, g));
  }
  EXPECT_EQ(seen, (std::vector<Vertex>{1, 2}));
  // sources are found from the edge's position, past columns without entries
  const Index jc2[] = {0, 1, 1, 1, 3}, ir2[] = {3, 0, 1};
  kelvara::sparse_graph_view<Index, Vertex> h(4, jc2, ir2);
  std::vector<Vertex> from;
  for (Vertex u = 0; u < 4; ++u)
    for (auto r = out_edges(u, h); r.first != r.second; ++r.first)
      from.push_back(source(*r.first, h));
  EXPECT_EQ(from, (std::vector<Vertex>{0, 3, 3}));
  std::vector<Index> comp(3);
  const Index k = boost::strong_components(g, kelvara::vertex_array(g, comp.data()));
  EXPECT_EQ(k, Index(2));
  EXPECT_EQ(comp, (std::vector<Index>{1, 1, 0}));  // {2} completes first
  std::vector<Index> dist(3, 0);
  boost::breadth_first_search(g, Vertex(1), boost::visitor(boost::make_bfs_visitor(boost::record_distances(
                                               kelvara::vertex_array(g, dist.data()), boost::on_tree_edge()))));
  EXPECT_EQ(dist, (std::vector<Index>{1, 0, 2}));
}

TEST(view, signed_and_unsigned_index_arrays)
{
  check_view<std::int64_t>();
  check_view<std::size_t>();
  check_view<std::int32_t>();
  check_view<std::int64_t, std::uint32_t>();
  check_view<std::size_t, std::uint32_t>();
}

// ---- the modules through the harness ---------------------------------------

// A random n-by-n pattern of about density * n^2 entries, some values zero.
ptr random_graph(std::mt19937 &rng, std::size_t n, double density)
{
  std::vector<harness::entry> e;
  std::bernoulli_distribution pick(density);
  for (std::size_t j = 0; j < n; ++j)
    for (std::size_t i = 0; i < n; ++i)
      if (pick(rng))
        e.push_back({i, j, static_cast<double>(rng() % 3)});
  return harness::sparse(n, n, e);
}

TEST(graph, stored_zeros_are_edges_and_self_loops_count)
{
  ptr A = harness::sparse(3, 3, {{1, 0, 0.0}, {2, 1, 0.0}, {1, 1, 0.0}});  // 1->2->3, loop at 2
  auto r = harness::call("wavefront", 3, {A.get(), harness::scalar(1).get(), harness::scalar(0).get()});
  ASSERT_TRUE(r.ok()) << r.message();
  EXPECT_EQ(harness::doubles(r.out(0)), (std::vector<double>{0, 1, 2}));
  EXPECT_EQ(harness::doubles(r.out(2)), (std::vector<double>{0, 1, 2}));
  auto c = harness::call("graph_islands", 2, {A.get()});
  EXPECT_EQ(harness::doubles(c.out(0)), (std::vector<double>{3, 2, 1}));
  auto t = harness::call("dag_sequence", 2, {A.get()});
  EXPECT_EQ(harness::doubles(t.out(1)), (std::vector<double>{0}));
  // without the self-loop the chain is a DAG
  ptr B = harness::sparse(3, 3, {{1, 0, 0.0}, {2, 1, 0.0}});
  auto u = harness::call("dag_sequence", 2, {B.get()});
  EXPECT_EQ(harness::doubles(u.out(0)), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(harness::doubles(u.out(1)), (std::vector<double>{1}));
}

// The labels are the library's own numbering with plain per-vertex arrays
// (components in order of completion), on random directed graphs sparse
// and dense, and on a chain and a cycle deep enough to need the explicit
// stack.
TEST(graph, islands_number_as_the_library_does)
{
  std::mt19937 rng(9);
  std::vector<ptr> graphs;
  for (std::size_t n : {1u, 2u, 17u, 120u, 400u})
    for (double density : {0.002, 0.01, 0.05})
      graphs.push_back(random_graph(rng, n, density));
  const std::size_t deep = 5000;
  std::vector<harness::entry> chain, cycle;
  for (std::size_t v = 0; v + 1 < deep; ++v)
    chain.push_back({v + 1, v, 1});
  cycle = chain;
  cycle.push_back({0, deep - 1, 1});
  graphs.push_back(harness::sparse(deep, deep, chain));
  graphs.push_back(harness::sparse(deep, deep, cycle));
  for (const ptr &A : graphs) {
    const std::size_t n = mxGetN(A.get());
    kelvara::sparse_graph_view<mwIndex> g(n, mxGetJc(A.get()), mxGetIr(A.get()));
    std::vector<mwIndex> comp(n);
    const mwIndex k = boost::strong_components(g, kelvara::vertex_array(g, comp.data()));
    std::vector<double> labels(n), sizes(k > 0 ? k : 1, 0.0);
    for (std::size_t v = 0; v < n; ++v) {
      labels[v] = comp[v] + 1.0;
      sizes[comp[v]] += 1;
    }
    auto c = harness::call("graph_islands", 2, {A.get()});
    ASSERT_TRUE(c.ok()) << c.message();
    EXPECT_EQ(harness::doubles(c.out(0)), labels) << n;
    EXPECT_EQ(harness::doubles(c.out(1)), sizes) << n;
  }
}

// Each module computes more outputs than may be asked for: only those that
// fit the output list are stored (the harness flags writes past it, and
// leaks of the others).
TEST(graph, outputs_stay_within_the_list)
{
  ptr A = harness::sparse(4, 4, {{1, 0, 1}, {0, 1, 1}, {3, 2, 1}});
  ptr s = harness::scalar(1), t = harness::scalar(2);
  for (int nlhs = 0; nlhs <= 4; ++nlhs) {
    auto w = harness::call("wavefront", nlhs, {A.get(), s.get(), t.get()});
    auto c = harness::call("graph_islands", nlhs, {A.get()});
    auto d = harness::call("dag_sequence", nlhs, {A.get()});
    auto p = harness::call("route_unwind", nlhs, {harness::row({0, 1}).get(), t.get()});
    for (auto *r : {&w, &c, &d, &p}) {
      ASSERT_TRUE(r->ok()) << r->message();
      ASSERT_EQ(r->o.out.size(), static_cast<std::size_t>(nlhs > 1 ? nlhs : 1));
      EXPECT_NE(r->out(0), nullptr);
    }
    EXPECT_EQ(harness::doubles(w.out(0)), (std::vector<double>{0, 1, -1, -1}));
    EXPECT_EQ(harness::doubles(c.out(0)), (std::vector<double>{1, 1, 3, 2}));
  }
}

TEST(graph, empty_graphs)
{
  ptr E = harness::sparse(0, 0, {});
  auto c = harness::call("graph_islands", 2, {E.get()});
  ASSERT_TRUE(c.ok());
  EXPECT_EQ(harness::dims(c.out(0)), (std::vector<std::size_t>{0, 1}));
  EXPECT_EQ(harness::doubles(c.out(1)), (std::vector<double>{0}));
  auto d = harness::call("dag_sequence", 2, {E.get()});
  ASSERT_TRUE(d.ok());
  EXPECT_EQ(harness::doubles(d.out(1)), (std::vector<double>{1}));
  auto w = harness::call("wavefront", 3, {E.get(), harness::scalar(1).get(), harness::scalar(0).get()});
  EXPECT_EQ(w.id(), "kelvara:invalidParameter");
  EXPECT_EQ(w.message(), "start vertex (1) not a valid vertex.");
  auto p = harness::call("route_unwind", 1, {harness::row({}).get(), harness::dense(0, 0, {}).get()});
  EXPECT_EQ(p.message(), "The predecessor array contained a loop.");
}

TEST(graph, malformed_arguments_are_refused)
{
  ptr A = harness::sparse(2, 2, {{1, 0, 1}});
  ptr full = harness::dense(2, 2, {0, 1, 0, 0});
  ptr wide = harness::sparse(2, 3, {});
  ptr s = harness::scalar(1), one_single = harness::singles(1, 1, {1});
  ptr pair = harness::row({1, 1}), cell(mxCreateCellMatrix(1, 1));
  ptr words = harness::uint32s(1, 2, {0, 1}), pred = harness::row({0, 1});
  // rows and columns compared in full width: 2^32 + 1 rows are not 1 (with
  // the 32-bit interface, which cannot express that count, 2^16 + 1 rows)
  const std::size_t m = (std::size_t(1) << (sizeof(mwSize) > 4 ? 32 : 16)) + 1;
  ptr tall = ptr(mxCreateSparse(static_cast<mwSize>(m), 1, 0, mxREAL));
  struct row_t {
    const char *module;
    std::vector<const mxArray *> in;
    const char *message;
  } rows[] = {
      {"wavefront", {A.get(), s.get()}, "3 inputs required."},
      {"wavefront", {full.get(), s.get(), s.get()}, "Input must be a square sparse matrix."},
      {"wavefront", {tall.get(), s.get(), s.get()}, "Input must be a square sparse matrix."},
      {"wavefront", {A.get(), one_single.get(), s.get()}, "Invalid scalar."},
      {"wavefront", {A.get(), pair.get(), s.get()}, "Invalid scalar."},
      {"wavefront", {A.get(), s.get(), cell.get()}, "Invalid scalar."},
      {"graph_islands", {}, "1 inputs required."},
      {"graph_islands", {wide.get()}, "Input must be a square sparse matrix."},
      {"graph_islands", {tall.get()}, "Input must be a square sparse matrix."},
      {"dag_sequence", {A.get(), A.get()}, "1 inputs required."},
      {"dag_sequence", {full.get()}, "Input must be a noncomplex square sparse matrix."},
      {"route_unwind", {s.get()}, "2 inputs required."},
      {"route_unwind", {full.get(), s.get()}, "Predecessor input must be a double array."},
      {"route_unwind", {words.get(), s.get()}, "Predecessor input must be a double array."},
      {"route_unwind", {pred.get(), one_single.get()}, "Invalid scalar for destination."},
  };
  for (const row_t &r : rows) {
    auto o = harness::call(r.module, 1, r.in);
    EXPECT_FALSE(o.ok()) << r.module << " " << r.message;
    EXPECT_EQ(o.message(), r.message) << r.module;
  }
}

// Sparse predecessor vectors are read by position, as full ones are.
TEST(graph, sparse_predecessors)
{
  ptr col = harness::sparse(5, 1, {{1, 0, 1}, {3, 0, 2}, {4, 0, 4}});  // [0 1 0 2 4]
  ptr row = harness::sparse(1, 5, {{0, 1, 1}, {0, 3, 2}, {0, 4, 4}});
  for (const mxArray *pred : {col.get(), row.get()}) {
    auto r = harness::call("route_unwind", 1, {pred, harness::scalar(5).get()});
    ASSERT_TRUE(r.ok()) << r.message();
    EXPECT_EQ(harness::doubles(r.out(0)), (std::vector<double>{1, 2, 4, 5}));
    auto z = harness::call("route_unwind", 1, {pred, harness::scalar(3).get()});
    EXPECT_EQ(harness::doubles(z.out(0)), (std::vector<double>{3}));
  }
}

// route_unwind's vertex numbers have the width of the host's indices: a
// value beyond 32 bits is a vertex too large in the 32-bit interface, and
// read as it is in the 64-bit one; wavefront names a start beyond 32 bits
// as given in both.
TEST(graph, vertex_numbers_have_the_index_width)
{
  const bool narrow = sizeof(mwIndex) == 4;
  const double below = -3e9;  // fits 64 bits, not 32
  auto r = harness::call("route_unwind", 1, {harness::row({below, 1}).get(), harness::scalar(1).get()});
  EXPECT_EQ(r.message(), narrow ? "The predecessor array referenced a vertex too large."
                                : "The predecessor array contains negative references.");
  auto d = harness::call("route_unwind", 1, {harness::row({0}).get(), harness::scalar(below).get()});
  EXPECT_EQ(d.message(), narrow ? "The predecessor array referenced a vertex too large."
                                : "The predecessor array contains negative references.");
  ptr A = harness::sparse(2, 2, {{1, 0, 1}});
  auto w = harness::call("wavefront", 3, {A.get(), harness::scalar(4294967297.0).get(),
                                          harness::scalar(0).get()});
  EXPECT_EQ(w.message(), "start vertex (4294967297) not a valid vertex.");
}

// Every creation and allocation of a call, made to fail in turn, ends in an
// error with everything released (the harness checks leaks).
TEST(graph, memory_exhaustion_is_an_error)
{
  ptr A = harness::sparse(3, 3, {{1, 0, 1}, {2, 1, 1}, {0, 2, 1}});
  ptr s = harness::scalar(1), t = harness::scalar(0);
  for (long k = 0; k < 3; ++k) {
    khost::fail_allocation(k);
    auto w = harness::call("wavefront", 3, {A.get(), s.get(), t.get()});
    EXPECT_EQ(w.message(), "Out of memory") << k;
    khost::fail_allocation(k);
    auto c = harness::call("graph_islands", 2, {A.get()});
    EXPECT_EQ(c.message(), k < 2 ? "Out of memory" : "") << k;
    khost::fail_allocation(k);
    auto d = harness::call("dag_sequence", 2, {A.get()});
    EXPECT_EQ(d.message(), k < 2 ? "Out of memory" : "") << k;
  }
  ptr pred = harness::row({0, 1});
  khost::fail_allocation(0);
  auto p = harness::call("route_unwind", 1, {pred.get(), s.get()});
  EXPECT_EQ(p.message(), "Out of memory");
}

// Random graphs with start and target values of every kind, including NaN,
// infinities, huge and negative ones: a result or an error, never a fault.
TEST(graph, random_and_huge_values)
{
  std::mt19937 rng(5);
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = HUGE_VAL;
  const double odd[] = {nan, inf, -inf, 1e300, -1e300, 9.3e18, -9.3e18, 4294967297.0, -1, 0, 0.5, 2.9};
  for (int trial = 0; trial < 40; ++trial) {
    const std::size_t n = rng() % 30;
    ptr A = random_graph(rng, n, 0.1 + 0.02 * (trial % 5));
    const double sv = trial % 3 ? static_cast<double>(rng() % (n + 2)) : odd[rng() % 12];
    const double tv = trial % 2 ? static_cast<double>(rng() % (n + 2)) : odd[rng() % 12];
    ptr s = harness::scalar(sv), t = harness::scalar(tv);
    auto w = harness::call("wavefront", 3, {A.get(), s.get(), t.get()});
    if (w.ok()) {
      // every path along the predecessors is as long as the distance
      const std::vector<double> d = harness::doubles(w.out(0));
      for (std::size_t v = 0; v < n; ++v) {
        auto p = harness::call("route_unwind", 1, {w.out(2), harness::scalar(v + 1.0).get()});
        ASSERT_TRUE(p.ok()) << p.message();
        if (d[v] >= 0) {
          EXPECT_EQ(harness::doubles(p.out(0)).size(), static_cast<std::size_t>(d[v]) + 1);
        }
      }
    } else {
      EXPECT_EQ(w.id(), "kelvara:invalidParameter");
    }
    auto c = harness::call("graph_islands", 2, {A.get()});
    auto d = harness::call("dag_sequence", 2, {A.get()});
    EXPECT_TRUE(c.ok() && d.ok());
    std::vector<double> pred(n);
    for (double &x : pred)
      x = rng() % 4 ? static_cast<double>(rng() % (n + 2)) - 0.5 : odd[rng() % 12];
    harness::call("route_unwind", 1, {harness::row(pred).get(), harness::scalar(sv).get()});
  }
}

} // namespace
