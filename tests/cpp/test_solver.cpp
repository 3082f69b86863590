// The solver's compiled helpers through the harness: pairing on small
// graphs, the summed graph and the level rows against dense models on random
// graphs, the classification of matrices, malformed arguments and exhausted
// memory.  The harness checks every call for leaks, changed inputs and
// writes past the output list.
#include "harness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using harness::call;
using harness::entry;
using harness::ptr;
using harness::record;

namespace {

using dense_matrix = std::vector<std::vector<double>>;

// A random symmetric weighted graph of n vertices (no diagonal) and its
// dense weights.
ptr random_graph(std::mt19937 &g, std::size_t n, double density, dense_matrix &w)
{
  std::uniform_real_distribution<double> u(0, 1);
  w.assign(n, std::vector<double>(n, 0));
  std::vector<entry> e;
  for (std::size_t c = 0; c < n; ++c)
    for (std::size_t r = c + 1; r < n; ++r)
      if (u(g) < density) {
        w[r][c] = w[c][r] = std::pow(10.0, 4 * u(g) - 2);
        e.push_back({r, c, w[r][c]});
        e.push_back({c, r, w[r][c]});
      }
  return harness::sparse(n, n, e);
}

// The graph of a path 0 - 1 - ... - (n-1) with the given edge weights.
ptr path(const std::vector<double> &w)
{
  std::vector<entry> e;
  for (std::size_t k = 0; k < w.size(); ++k) {
    e.push_back({k, k + 1, w[k]});
    e.push_back({k + 1, k, w[k]});
  }
  return harness::sparse(w.size() + 1, w.size() + 1, e);
}

} // namespace

// Pairs follow the order of the vertices, skip the ground, refuse an edge
// too weak for its ends, and a vertex left alone joins a neighbouring group.
TEST(solver, pair_groups_pairs_strong_edges_and_joins_leftovers)
{
  struct cse {
    std::vector<double> w, d;
    std::vector<bool> g;
    std::vector<std::uint32_t> q;
    double m;
  };
  const std::vector<cse> cases = {
      // a unit path of four: two pairs
      {{1, 1, 1}, {1, 2, 2, 1}, {false, false, false, false}, {0, 0, 1, 1}, 2},
      // the second vertex grounded: 2 and 3 pair, vertex 0 is left alone
      {{1, 1, 1}, {1, 2, 2, 1}, {false, true, false, false}, {1, 2, 0, 0}, 2},
      // a weak middle edge between two strong pairs is not crossed
      {{100, 1e-3, 100}, {100, 100, 100, 100}, {false, false, false, false}, {0, 0, 1, 1}, 2},
      // a path of three: the last vertex joins the first pair
      {{1, 1}, {1, 2, 1}, {false, false, false}, {0, 0, 0}, 1},
      // its edge too weak to join: a group of its own
      {{1, 1e-4}, {1, 1, 1}, {false, false, false}, {0, 0, 1}, 2},
  };
  for (const cse &c : cases) {
    ptr W = path(c.w), d = harness::column(c.d);
    ptr g = harness::logicals(c.g.size(), 1, c.g);
    harness::result r = call("pair_groups", 2, {W.get(), d.get(), g.get()});
    ASSERT_TRUE(r.ok()) << r.message();
    EXPECT_EQ(harness::words(r.out(0)), c.q);
    EXPECT_EQ(harness::doubles(r.out(1)), std::vector<double>{c.m});
  }
  // a looser bound pairs across the weak edge
  ptr W = path({1, 1e-4}), d = harness::column({1, 1, 1});
  ptr g = harness::logicals(3, 1, {false, false, false});
  ptr loose = harness::scalar(1e6);
  harness::result r = call("pair_groups", 1, {W.get(), d.get(), g.get(), loose.get()});
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(harness::words(r.out(0)), (std::vector<std::uint32_t>{0, 0, 0}));
}

// group_sum agrees with P'*W*P off the diagonal and P'*e plus the weights
// into the ground, on random graphs and groups.
TEST(solver, group_sum_matches_a_dense_model)
{
  std::mt19937 g(3);
  for (std::size_t n : {1, 7, 40}) {
    dense_matrix w;
    ptr W = random_graph(g, n, 0.2, w);
    std::vector<double> e(n);
    std::vector<std::uint32_t> q(n);
    const std::size_t m = 1 + n / 3;
    for (std::size_t i = 0; i < n; ++i) {
      e[i] = (g() % 3) * 0.5;
      q[i] = g() % (m + 1);
    }
    ptr E = harness::column(e), Q = harness::uint32s(n, 1, q), M = harness::scalar(m);
    harness::result r = call("group_sum", 2, {W.get(), E.get(), Q.get(), M.get()});
    ASSERT_TRUE(r.ok()) << r.message();
    dense_matrix wc(m, std::vector<double>(m, 0));
    std::vector<double> ec(m, 0);
    for (std::size_t i = 0; i < n; ++i) {
      if (q[i] == m)
        continue;
      ec[q[i]] += e[i];
      for (std::size_t j = 0; j < n; ++j)
        if (q[j] == m)
          ec[q[i]] += w[j][i];
        else if (q[j] != q[i])
          wc[q[j]][q[i]] += w[j][i];
    }
    const mxArray *Wc = r.out(0);
    ASSERT_TRUE(mxIsSparse(Wc));
    ASSERT_EQ(mxGetM(Wc), m);
    ASSERT_EQ(mxGetN(Wc), m);
    dense_matrix got(m, std::vector<double>(m, 0));
    const mwIndex *jc = mxGetJc(Wc), *ir = mxGetIr(Wc);
    for (std::size_t c = 0; c < m; ++c)
      for (std::size_t p = jc[c]; p < jc[c + 1]; ++p) {
        EXPECT_TRUE(p == jc[c] || ir[p] > ir[p - 1]) << "rows ascend";
        got[ir[p]][c] = mxGetPr(Wc)[p];
      }
    for (std::size_t a = 0; a < m; ++a) {
      EXPECT_NEAR(harness::doubles(r.out(1))[a], ec[a], 1e-12 * (1 + ec[a]));
      for (std::size_t b = 0; b < m; ++b)
        EXPECT_NEAR(got[a][b], wc[a][b], 1e-12 * (1 + wc[a][b]));
    }
  }
}

// level_rows holds each row's diagonal first, then the entries right of
// it, in the class asked for.
TEST(solver, level_rows_hold_the_upper_triangle_by_rows)
{
  std::mt19937 g(5);
  dense_matrix w;
  const std::size_t n = 30;
  ptr W = random_graph(g, n, 0.15, w);
  std::vector<double> d(n);
  for (std::size_t i = 0; i < n; ++i)
    d[i] = 1.0 + i;
  ptr D = harness::column(d);
  for (double single : {0.0, 1.0}) {
    ptr S = harness::scalar(single);
    harness::result r = call("level_rows", 3, {W.get(), D.get(), S.get()});
    ASSERT_TRUE(r.ok()) << r.message();
    EXPECT_EQ(mxGetClassID(r.out(0)), single ? mxSINGLE_CLASS : mxDOUBLE_CLASS);
    std::vector<double> a;
    if (single)
      for (float f : harness::floats(r.out(0)))
        a.push_back(f);
    else
      a = harness::doubles(r.out(0));
    std::vector<std::uint32_t> ia = harness::words(r.out(1)), ja = harness::words(r.out(2));
    ASSERT_EQ(ia.size(), n + 1);
    std::size_t p = 0;
    for (std::size_t i = 0; i < n; ++i) {
      ASSERT_EQ(ia[i], p);
      EXPECT_EQ(ja[p], i);
      EXPECT_EQ(a[p++], d[i]);
      for (std::size_t j = i + 1; j < n; ++j)
        if (w[j][i] != 0) {
          EXPECT_EQ(ja[p], j);
          EXPECT_EQ(a[p++], single ? static_cast<double>(static_cast<float>(-w[j][i])) : -w[j][i]);
        }
    }
    EXPECT_EQ(ia[n], p);
    EXPECT_EQ(a.size(), p);
  }
}

// sdd_kind names what a matrix is and the first place where it fails.
TEST(solver, sdd_kind_classifies_and_locates)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct cse {
    std::vector<entry> e;
    double kind, i, j;
  };
  const std::vector<cse> cases = {
      {{{0, 0, 2}, {1, 0, -1}, {0, 1, -1}, {1, 1, 1}}, 0, 0, 0},
      {{{0, 0, 2}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1}}, 1, 0, 0},
      {{{0, 0, 2}, {1, 0, -1}, {0, 1, -1 * (1 + 1e-15)}, {1, 1, 1}}, 2, 0, 0},
      {{{0, 0, 2}, {1, 0, -1}, {0, 1, -1}, {1, 1, nan}}, -1, 2, 2},
      {{{0, 0, 2}, {1, 0, -1}, {0, 1, -0.5}, {1, 1, 1}}, -2, 2, 1},
      {{{0, 0, 2}, {1, 0, -1}, {1, 1, 1}}, -2, 2, 1},
      {{{0, 0, 2}, {1, 0, -1}, {0, 1, -1}, {1, 1, 0.5}}, -3, 2, 2},
      {{{0, 0, -1}}, -3, 1, 1},
      {{}, 0, 0, 0},
  };
  for (const cse &c : cases) {
    ptr A = harness::sparse(2, 2, c.e);
    harness::result r = call("sdd_kind", 3, {A.get()});
    ASSERT_TRUE(r.ok()) << r.message();
    EXPECT_EQ(harness::doubles(r.out(0))[0], c.kind);
    EXPECT_EQ(harness::doubles(r.out(1))[0], c.i);
    EXPECT_EQ(harness::doubles(r.out(2))[0], c.j);
  }
}

// Malformed arguments get clear errors.
TEST(solver, malformed_arguments_are_refused)
{
  ptr W = path({1, 1}), d = harness::column({1, 2, 1}), d2 = harness::column({1, 2});
  ptr g = harness::logicals(3, 1, {false, false, false}), gd = harness::column({0, 0, 0});
  ptr full = harness::dense(3, 3, std::vector<double>(9, 0));
  ptr rect = harness::sparse(3, 2, {});
  ptr q = harness::uint32s(3, 1, {0, 1, 5}), m = harness::scalar(2), half = harness::scalar(1.5);
  ptr e = harness::column({0, 0, 0}), zero = harness::scalar(0);
  struct cse {
    const char *module;
    std::vector<const mxArray *> in;
    const char *message;
  };
  const std::vector<cse> cases = {
      {"pair_groups", {W.get(), d.get()}, "Wrong number of input arguments"},
      {"pair_groups", {full.get(), d.get(), g.get()}, "First argument must be a real sparse double matrix"},
      {"pair_groups", {rect.get(), d.get(), g.get()}, "First argument must be square"},
      {"pair_groups", {W.get(), d2.get(), g.get()}, "Second argument must be a real double vector with one entry per vertex"},
      {"pair_groups", {W.get(), d.get(), gd.get()}, "Third argument must be a full logical vector with one entry per vertex"},
      {"pair_groups", {W.get(), d.get(), g.get(), zero.get()}, "Fourth argument must be a positive scalar"},
      {"group_sum", {W.get(), e.get(), q.get(), m.get()}, "Group numbers must be below the group count, or equal to it for the ground"},
      {"group_sum", {W.get(), e.get(), q.get(), half.get()}, "Fourth argument must be a whole number of groups below 2^32 - 1"},
      {"level_rows", {W.get(), d.get(), g.get(), g.get()}, "Wrong number of input arguments"},
      {"sdd_kind", {rect.get()}, "Input must be square"},
  };
  for (const cse &c : cases) {
    harness::result r = call(c.module, 1, c.in);
    EXPECT_FALSE(r.ok()) << c.module;
    EXPECT_EQ(r.message(), c.message) << c.module;
  }
}

// Every creation and host allocation of a call, failed in turn: the call
// reports memory exhaustion and the host finds nothing left behind.
TEST(solver, allocation_failures_release_everything)
{
  std::mt19937 g(9);
  dense_matrix w;
  ptr W = random_graph(g, 50, 0.1, w);
  std::vector<double> ones(50, 1.0);
  std::vector<std::uint32_t> q(50);
  for (std::size_t i = 0; i < 50; ++i)
    q[i] = static_cast<std::uint32_t>(i % 11);
  ptr d = harness::column(ones), G = harness::logicals(50, 1, std::vector<bool>(50, false));
  ptr Q = harness::uint32s(50, 1, q), M = harness::scalar(10), S = harness::scalar(1);
  struct cse {
    const char *module;
    int nlhs;
    std::vector<const mxArray *> in;
  };
  const std::vector<cse> cases = {{"pair_groups", 2, {W.get(), d.get(), G.get()}},
                                  {"group_sum", 2, {W.get(), d.get(), Q.get(), M.get()}},
                                  {"level_rows", 3, {W.get(), d.get(), S.get()}},
                                  {"sdd_kind", 3, {W.get()}}};
  for (const cse &c : cases) {
    long k = 0;
    for (;; ++k) {
      khost::fail_allocation(k);
      harness::result r = call(c.module, c.nlhs, c.in);
      if (r.ok())
        break;
      EXPECT_EQ(r.message(), "Out of memory") << c.module;
    }
    khost::fail_allocation(-1);
    EXPECT_GT(k, 0) << c.module;
  }
}
