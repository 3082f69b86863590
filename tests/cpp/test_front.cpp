// The front end's compiled steps through the harness: ladder_fingerprint
// tells apart matrices that differ in order, pattern or any one value and
// is blind to stored zeros; ladder_grounding passes only labels of whole
// components without excess, of a matrix or of its cover; both refuse
// malformed arguments and release everything when memory runs out.  The
// harness checks every call for leaks, changed inputs and writes past the
// output list.
#include "harness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <set>
#include <utility>

using harness::call;
using harness::entry;
using harness::ptr;

namespace {

// The fingerprint of A, failing the test when the call fails.
std::uint64_t fingerprint(const mxArray *A)
{
  harness::result r = call("ladder_fingerprint", 1, {A});
  EXPECT_TRUE(r.ok()) << r.message();
  if (!r.ok())
    return 0;
  EXPECT_EQ(mxGetClassID(r.out(0)), mxUINT64_CLASS);
  EXPECT_EQ(harness::dims(r.out(0)), (std::vector<std::size_t>{1, 1}));
  std::uint64_t f;
  std::memcpy(&f, mxGetData(r.out(0)), sizeof f);
  return f;
}

// A 3-by-3 path Laplacian with a diagonal excess on its first vertex.
const std::vector<entry> base = {{0, 0, 3}, {1, 0, -1}, {0, 1, -1}, {1, 1, 2},
                                 {2, 1, -1}, {1, 2, -1}, {2, 2, 1}};

} // namespace

// Matrices one change away from the base, and from one another, all differ;
// the same matrix built again, or with a stored zero, does not.
TEST(front, fingerprint_separates_every_change)
{
  const double ulp = std::nextafter(2.0, 3.0);
  std::vector<std::vector<entry>> variants = {
      // one value a unit in the last place higher
      {{0, 0, 3}, {1, 0, -1}, {0, 1, -1}, {1, 1, ulp}, {2, 1, -1}, {1, 2, -1}, {2, 2, 1}},
      // every value doubled
      {{0, 0, 6}, {1, 0, -2}, {0, 1, -2}, {1, 1, 4}, {2, 1, -2}, {1, 2, -2}, {2, 2, 2}},
      // the excess moved to the last vertex: the same values, swapped
      {{0, 0, 1}, {1, 0, -1}, {0, 1, -1}, {1, 1, 2}, {2, 1, -1}, {1, 2, -1}, {2, 2, 3}},
      // signs of the off-diagonal entries flipped
      {{0, 0, 3}, {1, 0, 1}, {0, 1, 1}, {1, 1, 2}, {2, 1, 1}, {1, 2, 1}, {2, 2, 1}},
      // another pattern: the edge 0-1 moved to 0-2
      {{0, 0, 3}, {2, 0, -1}, {1, 1, 2}, {2, 1, -1}, {0, 2, -1}, {1, 2, -1}, {2, 2, 1}},
      // an edge less
      {{0, 0, 3}, {1, 1, 2}, {2, 1, -1}, {1, 2, -1}, {2, 2, 1}},
      // the smallest subnormal stored where there was nothing
      {{0, 0, 3}, {1, 0, -1}, {0, 1, -1}, {1, 1, 2}, {2, 1, -1}, {1, 2, -1}, {2, 2, 1},
       {0, 2, std::numeric_limits<double>::denorm_min()}},
  };
  std::set<std::uint64_t> seen;
  const ptr A = harness::sparse(3, 3, base);
  seen.insert(fingerprint(A.get()));
  for (const auto &v : variants) {
    const ptr B = harness::sparse(3, 3, v);
    EXPECT_TRUE(seen.insert(fingerprint(B.get())).second) << "variant " << seen.size();
  }
  // the base with one more order (an empty last row and column)
  const ptr wide = harness::sparse(4, 4, base);
  EXPECT_TRUE(seen.insert(fingerprint(wide.get())).second);
  // empty matrices of different orders
  const ptr e0 = harness::sparse(0, 0, {}), e1 = harness::sparse(1, 1, {});
  EXPECT_TRUE(seen.insert(fingerprint(e0.get())).second);
  EXPECT_TRUE(seen.insert(fingerprint(e1.get())).second);

  // unchanged: the base built again, with stored zeros of either sign
  std::vector<entry> zeros = base;
  zeros.push_back({2, 0, 0.0});
  zeros.push_back({0, 2, -0.0});
  const ptr again = harness::sparse(3, 3, base), Z = harness::sparse(3, 3, zeros);
  EXPECT_EQ(fingerprint(again.get()), fingerprint(A.get()));
  EXPECT_EQ(fingerprint(Z.get()), fingerprint(A.get()));
}

// Malformed arguments get clear errors; every creation failed in turn is
// reported as memory exhaustion with nothing left behind.
TEST(front, fingerprint_refuses_and_releases)
{
  const ptr A = harness::sparse(3, 3, base), rect = harness::sparse(3, 2, {});
  const ptr full = harness::dense(2, 2, {1, 0, 0, 1});
  const ptr cplx = harness::sparse(2, 2, {{0, 0, 1}}, false, {1});
  const ptr logic = harness::sparse(2, 2, {{0, 0, 1}}, true);
  struct cse {
    int nlhs;
    std::vector<const mxArray *> in;
    const char *message;
  };
  const std::vector<cse> cases = {
      {1, {}, "Wrong number of input arguments"},
      {1, {A.get(), A.get()}, "Wrong number of input arguments"},
      {2, {A.get()}, "Wrong number of output arguments"},
      {1, {full.get()}, "Input must be a real sparse double matrix"},
      {1, {cplx.get()}, "Input must be a real sparse double matrix"},
      {1, {logic.get()}, "Input must be a real sparse double matrix"},
      {1, {rect.get()}, "Input must be square"},
  };
  for (const cse &c : cases) {
    harness::result r = call("ladder_fingerprint", c.nlhs, c.in);
    EXPECT_FALSE(r.ok()) << c.message;
    EXPECT_EQ(r.message(), c.message);
  }
  long k = 0;
  for (;; ++k) {
    khost::fail_allocation(k);
    harness::result r = call("ladder_fingerprint", 1, {A.get()});
    if (r.ok())
      break;
    EXPECT_EQ(r.message(), "Out of memory");
  }
  khost::fail_allocation(-1);
  EXPECT_GT(k, 0);
}

namespace {

// [ok, i] of ladder_grounding on A with the labels g.
std::pair<bool, double> grounding(const mxArray *A, const std::vector<std::uint32_t> &g,
                                  bool doubled)
{
  const ptr G = harness::uint32s(g.size(), 1, g), D = harness::scalar(doubled);
  harness::result r = call("ladder_grounding", 2, {A, G.get(), D.get()});
  EXPECT_TRUE(r.ok()) << r.message();
  if (!r.ok())
    return {false, -1};
  return {*mxGetLogicals(r.out(0)) != 0, harness::doubles(r.out(1))[0]};
}

} // namespace

// Labels pass only when they mark whole components without excess: of A,
// or of its cover, where a positive entry joins the two halves.
TEST(front, grounding_checks_labels_against_the_matrix)
{
  // two components: {0, 1} without excess, {2, 3} with excess on 3
  const ptr A = harness::sparse(4, 4, {{0, 0, 1}, {1, 0, -1}, {0, 1, -1}, {1, 1, 1},
                                       {2, 2, 1}, {3, 2, -1}, {2, 3, -1}, {3, 3, 2}});
  // the same with positive off-diagonal entries: its cover has the
  // components {0, 5}, {1, 4} (no excess) and {2, 7}, {3, 6}
  const ptr P = harness::sparse(4, 4, {{0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1},
                                       {2, 2, 1}, {3, 2, 1}, {2, 3, 1}, {3, 3, 2}});
  struct cse {
    const mxArray *A;
    std::vector<std::uint32_t> g;
    bool doubled, ok;
    double at;
  };
  const std::vector<cse> cases = {
      {A.get(), {1, 1, 0, 0}, false, true, 0},
      {A.get(), {0, 0, 0, 0}, false, true, 0},       // unlabelled: the solve's flags tell
      {A.get(), {1, 0, 0, 0}, false, false, 1},      // half a component
      {A.get(), {1, 1, 2, 2}, false, false, 4},      // a component with excess
      {A.get(), {2, 2, 0, 0}, false, true, 0},
      {P.get(), {1, 2, 0, 0, 2, 1, 0, 0}, true, true, 0},
      {P.get(), {1, 1, 0, 0, 1, 1, 0, 0}, true, true, 0},   // both halves one label
      {P.get(), {1, 2, 0, 0, 1, 2, 0, 0}, true, false, 1},  // halves joined as if negative
      {P.get(), {1, 2, 0, 0, 2, 1, 3, 3}, true, false, 3},  // the excess component
  };
  for (const cse &c : cases) {
    const auto r = grounding(c.A, c.g, c.doubled);
    EXPECT_EQ(r.first, c.ok) << c.g[0] << c.g[1] << c.g[2] << c.g[3];
    EXPECT_EQ(r.second, c.at);
  }
}

// Malformed arguments get clear errors; every creation failed in turn is
// reported as memory exhaustion with nothing left behind.
TEST(front, grounding_refuses_and_releases)
{
  const ptr A = harness::sparse(2, 2, {{0, 0, 1}, {1, 0, -1}, {0, 1, -1}, {1, 1, 1}});
  const ptr g = harness::uint32s(2, 1, {1, 1}), g3 = harness::uint32s(3, 1, {1, 1, 1});
  const ptr gd = harness::column({1, 1}), no = harness::scalar(0), yes = harness::scalar(1);
  const ptr rect = harness::sparse(2, 3, {}), full = harness::dense(2, 2, {1, 0, 0, 1});
  struct cse {
    int nlhs;
    std::vector<const mxArray *> in;
    const char *message;
  };
  const std::vector<cse> cases = {
      {1, {A.get(), g.get()}, "Wrong number of input arguments"},
      {3, {A.get(), g.get(), no.get()}, "Wrong number of output arguments"},
      {1, {full.get(), g.get(), no.get()}, "First argument must be a real sparse double matrix"},
      {1, {rect.get(), g.get(), no.get()}, "First argument must be square"},
      {1, {A.get(), gd.get(), no.get()}, "Second argument must be a uint32 vector of n labels"},
      {1, {A.get(), g3.get(), no.get()}, "Second argument must be a uint32 vector of n labels"},
      {1, {A.get(), g.get(), yes.get()}, "Second argument must be a uint32 vector of 2n labels"},
      {1, {A.get(), g.get(), g.get()}, "Third argument must be a scalar, true for a doubled system"},
  };
  for (const cse &c : cases) {
    harness::result r = call("ladder_grounding", c.nlhs, c.in);
    EXPECT_FALSE(r.ok()) << c.message;
    EXPECT_EQ(r.message(), c.message);
  }
  long k = 0;
  for (;; ++k) {
    khost::fail_allocation(k);
    harness::result r = call("ladder_grounding", 2, {A.get(), g.get(), no.get()});
    if (r.ok())
      break;
    EXPECT_EQ(r.message(), "Out of memory");
  }
  khost::fail_allocation(-1);
  EXPECT_GT(k, 1);
}
