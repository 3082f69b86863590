// The front end's compiled step through the harness: ladder_fingerprint
// tells apart matrices that differ in order, pattern or any one value, is
// blind to stored zeros, refuses malformed arguments and releases
// everything when memory runs out.  The harness checks every call for leaks,
// changed inputs and writes past the output list.
#include "harness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <set>

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
