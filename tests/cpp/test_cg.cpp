// The compiled solve loop through the harness: a small system solved as
// pcg solves it, several right-hand sides in lockstep giving what each gives
// alone, warm starts, right-hand sides of extreme scale, refusals with their
// identifiers, workspaces shared with an argument, interrupts and exhausted
// memory.  The harness checks every call for leaks, changed inputs and
// writes past the output list.
#include "control.h"
#include "harness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using harness::call;
using harness::ptr;
using harness::record;

namespace {

ptr reals(bool single, std::size_t n, double v)
{
  if (!single)
    return harness::column(std::vector<double>(n, v));
  return harness::singles(n, 1, std::vector<float>(n, static_cast<float>(v)));
}

ptr workspace(bool single, std::size_t n)
{
  ptr a = reals(single, n, 0);
  khost::mark_scratch(a.get());
  return a;
}

// The one-level Hierarchy of the path Laplacian tridiag(-1, 2, -1) of order
// 3, solved by diagonal scaling: conjugate gradients with Jacobi.
ptr jacobi_hierarchy(bool single)
{
  std::vector<std::pair<const char *, ptr>> A;
  A.emplace_back("a", single ? harness::singles(5, 1, {2, -1, 2, -1, 2})
                             : harness::column({2, -1, 2, -1, 2}));
  A.emplace_back("ia", harness::uint32s(4, 1, {0, 2, 4, 5}));
  A.emplace_back("ja", harness::uint32s(5, 1, {0, 1, 1, 2, 2}));
  A.emplace_back("n", harness::scalar(3));
  A.emplace_back("issym", harness::scalar(1));
  std::vector<std::pair<const char *, ptr>> f;
  f.emplace_back("islast", harness::scalar(1));
  f.emplace_back("iterative", harness::scalar(1));
  f.emplace_back("laplacian", harness::scalar(0));
  f.emplace_back("A", record(std::move(A)));
  f.emplace_back("invD", reals(single, 3, 0.5));
  for (const char *w : {"lws1", "lws2", "sws1", "sws2", "sws3"})
    f.emplace_back(w, workspace(single, 3));
  ptr H(mxCreateCellMatrix(1, 1));
  mxSetCell(H.get(), 0, record(std::move(f)).release());
  return H;
}

// The path Laplacian of order 3 as the host stores it.
ptr path3()
{
  return harness::sparse(3, 3, {{0, 0, 2}, {1, 0, -1}, {0, 1, -1}, {1, 1, 2}, {2, 1, -1}, {1, 2, -1}, {2, 2, 2}});
}

const char *cg_module(bool single) { return single ? "ladder_cg_single" : "ladder_cg_double"; }

} // namespace

// The path of order 3 is solved in three iterations in double (a few more
// with the cycle rounded to single); a zero right-hand side returns x = 0,
// and no iterations the start, flagged.  Three columns in one call give what
// each gives alone, and each column's relres is its own true residual.
TEST(cg, solves_columns_in_lockstep_as_pcg_reports)
{
  ptr A = path3();
  ptr B = harness::dense(3, 3, {1, 0, 3, 0, 0, 0, -2, 5, 1});
  ptr tol = harness::scalar(1e-10), ten = harness::scalar(10), none = harness::scalar(0);
  for (bool single : {false, true}) {
    ptr H = jacobi_hierarchy(single);
    harness::result r = call(cg_module(single), 5, {A.get(), B.get(), tol.get(), ten.get(), H.get()});
    ASSERT_TRUE(r.ok()) << r.message();
    const std::vector<double> X = harness::doubles(r.out(0));
    const std::vector<double> want = {1.5, 2, 2.5, 0, 0, 0, 1.25, 4.5, 2.75};
    for (std::size_t i = 0; i < 9; ++i)
      EXPECT_NEAR(X[i], want[i], 1e-9) << i;
    EXPECT_EQ(harness::doubles(r.out(1)), (std::vector<double>{0, 0, 0}));
    const std::vector<double> iter = harness::doubles(r.out(3));
    EXPECT_LE(iter[0], single ? 8 : 3) << cg_module(single);
    EXPECT_EQ(iter[1], 0);
    EXPECT_EQ(harness::dims(r.out(4))[1], 3u);
    const double *Bv = mxGetPr(B.get());
    for (std::size_t c : {0u, 2u}) {
      ptr b = harness::column({Bv[3 * c], Bv[3 * c + 1], Bv[3 * c + 2]});
      harness::result one = call(cg_module(single), 4, {A.get(), b.get(), tol.get(), ten.get(), H.get()});
      ASSERT_TRUE(one.ok());
      EXPECT_EQ(harness::doubles(one.out(3))[0], iter[c]);
      for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(harness::doubles(one.out(0))[i], X[3 * c + i]);
    }
    harness::result idle = call(cg_module(single), 3, {A.get(), B.get(), tol.get(), none.get(), H.get()});
    ASSERT_TRUE(idle.ok());
    EXPECT_EQ(harness::doubles(idle.out(0)), std::vector<double>(9, 0));
    EXPECT_EQ(harness::doubles(idle.out(1)), (std::vector<double>{1, 0, 1}));
    EXPECT_EQ(harness::doubles(idle.out(2)), (std::vector<double>{1, 0, 1}));
  }
}

// Right-hand sides from 1e-300 to 1e300 (subnormal entries included) are
// solved as well as one of norm 1; a start at the solution takes no
// iteration, and MAXIT = Inf is accepted.
TEST(cg, extreme_scales_and_warm_starts)
{
  ptr A = path3();
  ptr tol = harness::scalar(1e-10), inf = harness::scalar(INFINITY);
  for (bool single : {false, true}) {
    ptr H = jacobi_hierarchy(single);
    for (double s : {1e-300, 4e-320, 1.0, 1e300}) {
      ptr b = harness::column({s, 0, 3 * s});
      harness::result r = call(cg_module(single), 3, {A.get(), b.get(), tol.get(), inf.get(), H.get()});
      ASSERT_TRUE(r.ok()) << r.message();
      EXPECT_EQ(harness::doubles(r.out(1))[0], 0) << s;
      EXPECT_LE(harness::doubles(r.out(2))[0], 1e-10) << s;
      const std::vector<double> x = harness::doubles(r.out(0));
      EXPECT_NEAR(x[1] / s, 2, 1e-6) << s;
    }
    ptr b = harness::column({1, 0, 3}), x0 = harness::column({1.5, 2, 2.5});
    ptr ten = harness::scalar(10);
    harness::result w = call(cg_module(single), 4, {A.get(), b.get(), tol.get(), ten.get(), H.get(), x0.get()});
    ASSERT_TRUE(w.ok()) << w.message();
    EXPECT_EQ(harness::doubles(w.out(3))[0], 0);
    EXPECT_EQ(harness::doubles(w.out(0)), (std::vector<double>{1.5, 2, 2.5}));
  }
}

// Malformed arguments are refused before any work, with the identifier of
// the argument at fault; a workspace of H that shares data with B is too.
TEST(cg, refusals_name_the_argument)
{
  ptr A = path3(), b = harness::column({1, 0, 3}), b2 = harness::column({1, 0});
  ptr nan = harness::column({1, NAN, 3}), sp = harness::sparse(3, 1, {{0, 0, 1}});
  ptr tol = harness::scalar(1e-10), ten = harness::scalar(10), bad = harness::scalar(-1);
  ptr half = harness::scalar(2.5), one = harness::scalar(1);
  ptr H = jacobi_hierarchy(false), Hs = jacobi_hierarchy(true), notcell = harness::scalar(1);
  ptr x0 = harness::column({1, 2}), empty = harness::dense(0, 0, {});
  const mxArray *lws1 = mxGetField(mxGetCell(H.get(), 0), 0, "lws1");
  struct cse {
    std::vector<const mxArray *> in;
    const char *id;
  };
  const std::vector<cse> cases = {
      {{A.get(), b.get(), tol.get(), ten.get()}, "kelvara:badArguments"},
      {{b.get(), b.get(), tol.get(), ten.get(), H.get()}, "kelvara:notNumeric"},
      {{A.get(), b2.get(), tol.get(), ten.get(), H.get()}, "kelvara:badRightHandSide"},
      {{A.get(), nan.get(), tol.get(), ten.get(), H.get()}, "kelvara:badRightHandSide"},
      {{A.get(), sp.get(), tol.get(), ten.get(), H.get()}, "kelvara:badRightHandSide"},
      {{A.get(), b.get(), bad.get(), ten.get(), H.get()}, "kelvara:badTolerance"},
      {{A.get(), b.get(), one.get(), ten.get(), H.get()}, "kelvara:badTolerance"},
      {{A.get(), b.get(), tol.get(), half.get(), H.get()}, "kelvara:badTolerance"},
      {{A.get(), b.get(), tol.get(), ten.get(), notcell.get()}, "kelvara:badHierarchy"},
      {{A.get(), b.get(), tol.get(), ten.get(), Hs.get()}, "kelvara:badHierarchy"},
      {{A.get(), b.get(), tol.get(), ten.get(), H.get(), x0.get()}, "kelvara:badInitialGuess"},
      {{A.get(), lws1, tol.get(), ten.get(), H.get()}, "kelvara:badHierarchy"},
  };
  for (const cse &c : cases) {
    harness::result r = call("ladder_cg_double", 1, c.in);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.id(), c.id) << r.message();
  }
  harness::result r = call("ladder_cg_double", 1, {A.get(), b.get(), tol.get(), ten.get(), H.get(), empty.get()});
  EXPECT_TRUE(r.ok()) << r.message();
}

// An interrupt ends the call at the next poll, and every failed creation
// leaves nothing behind.
TEST(cg, interrupts_and_exhausted_memory_release_everything)
{
  ptr A = path3(), b = harness::column({1, 0, 3});
  ptr tol = harness::scalar(1e-10), ten = harness::scalar(10);
  ptr H = jacobi_hierarchy(false);
  for (long polls : {0L, 1L, 3L}) {
    khost::interrupt_after(polls);
    harness::result r = call("ladder_cg_double", 5, {A.get(), b.get(), tol.get(), ten.get(), H.get()});
    khost::interrupt_after(-1);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.id(), "kelvara:interrupted");
  }
  long k = 0;
  for (;; ++k) {
    khost::fail_allocation(k);
    harness::result r = call("ladder_cg_double", 5, {A.get(), b.get(), tol.get(), ten.get(), H.get()});
    if (r.ok())
      break;
    EXPECT_EQ(r.message(), "Out of memory");
  }
  khost::fail_allocation(-1);
  EXPECT_GT(k, 0);
}
