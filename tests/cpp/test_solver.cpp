// The solver's classification of matrices through the harness: its
// answers, malformed arguments and exhausted memory.  The harness checks
// every call for leaks, changed inputs and writes past the output list.
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

} // namespace

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
  ptr full = harness::dense(3, 3, std::vector<double>(9, 0));
  ptr rect = harness::sparse(3, 2, {});
  struct cse {
    const char *module;
    std::vector<const mxArray *> in;
    const char *message;
  };
  const std::vector<cse> cases = {
      {"sdd_kind", {}, "Wrong number of input arguments"},
      {"sdd_kind", {full.get()}, "Input must be a real sparse double matrix"},
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
  struct cse {
    const char *module;
    int nlhs;
    std::vector<const mxArray *> in;
  };
  const std::vector<cse> cases = {{"sdd_kind", 3, {W.get()}}};
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
