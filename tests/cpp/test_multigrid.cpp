// The multigrid kernels on their edge cases, and ladder_single/ladder_double
// through the host harness: results, the host contract, and a sweep of
// malformed Hierarchies that must each end in an error, never a fault.
#include "harness.h"

#include "ldl_solve.h"
#include "rmvec.h"
#include "sspmv.h"
#include "vpv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using harness::ptr;
using harness::record;

namespace {

// ---- kernels (built here with Real = double) ------------------------------

TEST(kernels, sspmv_diagonal_pairs_and_empty)
{
  // diagonal: every segment holds only its diagonal
  std::vector<double> a{2, 3, 4}, x{1, 2, 3}, y(3, -9);
  std::vector<std::uint32_t> ia{0, 1, 2, 3}, ja{7, 7, 7};
  sspmv(3, a.data(), ia.data(), ja.data(), x.data(), y.data());
  EXPECT_EQ(y, (std::vector<double>{2, 6, 12}));

  // the pair {0, 2} gives the same product from segment 0 or segment 2
  std::vector<double> a0{1, 5, 1, 1}, a2{1, 1, 1, 5};
  std::vector<std::uint32_t> ia0{0, 2, 3, 4}, ja0{0, 2, 1, 2}, ia2{0, 1, 2, 4}, ja2{0, 1, 2, 0};
  std::vector<double> y0(3), y2(3);
  sspmv(3, a0.data(), ia0.data(), ja0.data(), x.data(), y0.data());
  sspmv(3, a2.data(), ia2.data(), ja2.data(), x.data(), y2.data());
  EXPECT_EQ(y0, y2);
  EXPECT_EQ(y0, (std::vector<double>{16, 2, 8}));

  // n = 0 leaves y untouched
  std::vector<double> z{42};
  sspmv(0, nullptr, ia.data(), nullptr, nullptr, z.data());
  EXPECT_EQ(z[0], 42);
}

TEST(kernels, restriction_and_prolongation_with_and_without_dc)
{
  std::vector<std::uint32_t> cI{0, 1, 0, 2};
  std::vector<double> r{1, 2, 3, 4}, rc(3, -1), e(4, -1), ec{10, 20, 30};
  rmvecmul(cI.data(), r.data(), 4, rc.data(), 3, 0);
  EXPECT_EQ(rc, (std::vector<double>{4, 2, 4}));
  rmvecmul(cI.data(), r.data(), 4, rc.data(), 3, 1);
  EXPECT_EQ(rc, (std::vector<double>{4, 2, 0}));
  trmvecmul(cI.data(), ec.data(), 3, e.data(), 4, 0);
  EXPECT_EQ(e, (std::vector<double>{10, 20, 10, 30}));
  trmvecmul(cI.data(), ec.data(), 3, e.data(), 4, 1);
  EXPECT_EQ(e, (std::vector<double>{10, 20, 10, 0}));
}

TEST(kernels, elementwise_output_may_be_an_input)
{
  std::vector<double> a{1, 2}, b{10, 20};
  vpv(a.data(), b.data(), a.data(), 2);
  EXPECT_EQ(a, (std::vector<double>{11, 22}));
}

CholFactor factor(std::vector<double> &la, std::vector<std::uint32_t> &lia,
                  std::vector<std::uint32_t> &lja, std::vector<double> &ua,
                  std::vector<std::uint32_t> &uia, std::vector<std::uint32_t> &uja,
                  std::vector<std::uint32_t> &p, std::vector<std::uint32_t> &invp)
{
  std::uint32_t n = static_cast<std::uint32_t>(p.size());
  return CholFactor{{la.data(), lia.data(), lja.data(), n, 0},
                    {ua.data(), uia.data(), uja.data(), n, 0},
                    p.data(),
                    invp.data()};
}

TEST(kernels, ldl_solve_small_factors)
{
  // 2-by-2 with L(1,0) = l, identity order
  const double l = 0.5, d0 = 4, d1 = 2;
  std::vector<double> la{d0, l, d1}, ua{0, l, 0};
  std::vector<std::uint32_t> lia{0, 1, 3}, lja{0, 0, 1}, uia{0, 2, 3}, uja{0, 1, 1};
  std::vector<std::uint32_t> p{0, 1}, invp{0, 1};
  CholFactor c = factor(la, lia, lja, ua, uia, uja, p, invp);
  std::vector<double> x{3, 5}, y(2);
  ldl_solve(c, x.data(), y.data());
  double w1 = (x[1] - l * x[0]) / d1, w0 = x[0] / d0 - l * w1;
  EXPECT_EQ(y, (std::vector<double>{w0, w1}));

  // diagonal factor under a permutation: y[p[i]] = x[p[i]] / D_i
  std::vector<double> da{2, 4, 8}, dua{0, 0, 0};
  std::vector<std::uint32_t> dia{0, 1, 2, 3}, dja{0, 1, 2}, q{2, 0, 1}, invq{1, 2, 0};
  CholFactor dc = factor(da, dia, dja, dua, dia, dja, q, invq);
  std::vector<double> b{1, 2, 3}, z(3);
  ldl_solve(dc, b.data(), z.data());
  EXPECT_EQ(z, (std::vector<double>{1.0 / 4, 2.0 / 8, 3.0 / 2}));

  // n = 0 leaves y untouched
  std::vector<std::uint32_t> none{};
  std::vector<std::uint32_t> zero{0};
  CholFactor empty = factor(da, zero, dja, dua, zero, dja, none, none);
  std::vector<double> keep{7};
  ldl_solve(empty, b.data(), keep.data());
  EXPECT_EQ(keep[0], 7);
}

// ---- Hierarchies through the harness --------------------------------------

using harness::scalar;

ptr words(std::vector<std::uint32_t> v) { return harness::uint32s(v.size(), 1, v); }

ptr reals(bool single, std::vector<double> v)
{
  if (!single)
    return harness::column(v);
  return harness::singles(v.size(), 1, std::vector<float>(v.begin(), v.end()));
}

ptr scratch(bool single, std::size_t n)
{
  ptr a = reals(single, std::vector<double>(n, 0));
  khost::mark_scratch(a.get());
  return a;
}

ptr matrix(bool single, std::vector<double> a, std::vector<std::uint32_t> ia,
           std::vector<std::uint32_t> ja, double n)
{
  std::vector<std::pair<const char *, ptr>> f;
  f.emplace_back("a", reals(single, a));
  f.emplace_back("ia", words(ia));
  f.emplace_back("ja", words(ja));
  f.emplace_back("n", scalar(n));
  f.emplace_back("issym", scalar(1));
  return record(std::move(f));
}

// The two-level Hierarchy of A = [2 -1; -1 2] with one coarse node.
ptr two_levels(bool single)
{
  std::vector<std::pair<const char *, ptr>> fine;
  fine.emplace_back("islast", scalar(0));
  fine.emplace_back("iterative", scalar(0));
  fine.emplace_back("laplacian", scalar(0));
  fine.emplace_back("A", matrix(single, {2, -1, 2}, {0, 2, 3}, {0, 1, 1}, 2));
  fine.emplace_back("cI", words({0, 0}));
  fine.emplace_back("nc", scalar(1));
  fine.emplace_back("dc", scalar(0));
  fine.emplace_back("repeat", scalar(1));
  fine.emplace_back("invD", reals(single, {0.5, 0.5}));
  fine.emplace_back("lws1", scratch(single, 2));
  fine.emplace_back("lws2", scratch(single, 2));
  fine.emplace_back("sws1", scratch(single, 1));
  fine.emplace_back("sws2", scratch(single, 1));
  fine.emplace_back("sws3", scratch(single, 1));

  auto rows = [] {
    std::vector<std::pair<const char *, ptr>> f;
    f.emplace_back("a", harness::column({2}));
    f.emplace_back("ia", words({0, 1}));
    f.emplace_back("ja", words({0}));
    f.emplace_back("n", scalar(1));
    return record(std::move(f));
  };
  std::vector<std::pair<const char *, ptr>> chol;
  chol.emplace_back("ld", rows());
  chol.emplace_back("ldT", rows());
  chol.emplace_back("p", words({0}));
  chol.emplace_back("invp", words({0}));
  std::vector<std::pair<const char *, ptr>> last;
  last.emplace_back("islast", scalar(1));
  last.emplace_back("iterative", scalar(0));
  last.emplace_back("A", matrix(single, {2}, {0, 1}, {0}, 1));
  last.emplace_back("chol", record(std::move(chol)));

  ptr H(mxCreateCellMatrix(1, 2));
  mxSetCell(H.get(), 0, record(std::move(fine)).release());
  mxSetCell(H.get(), 1, record(std::move(last)).release());
  return H;
}

const char *module(bool single) { return single ? "ladder_single" : "ladder_double"; }

TEST(ladder, worked_example_in_both_precisions)
{
  for (bool single : {false, true}) {
    ptr H = two_levels(single);
    ptr b = reals(single, {1, 0, 9});
    for (int nlhs : {0, 1}) {
      harness::result r = harness::call(module(single), nlhs, {H.get(), b.get()});
      ASSERT_TRUE(r.ok()) << r.message();
      ASSERT_EQ(mxGetClassID(r.out(0)), single ? mxSINGLE_CLASS : mxDOUBLE_CLASS);
      EXPECT_EQ(harness::dims(r.out(0)), (std::vector<std::size_t>{3, 1}));
      if (single)
        EXPECT_EQ(harness::floats(r.out(0)), (std::vector<float>{0.625f, 0.375f, 0}));
      else
        EXPECT_EQ(harness::doubles(r.out(0)), (std::vector<double>{0.625, 0.375, 0}));
    }
  }
}

TEST(ladder, argument_errors_in_order)
{
  ptr H = two_levels(false), b = harness::column({1, 0});
  ptr bs = harness::singles(2, 1, {1, 0}), row = harness::row({1, 0});
  ptr sp = harness::sparse(2, 1, {{0, 0, 1}});
  struct {
    const char *mod;
    std::vector<const mxArray *> in;
    const char *message;
  } cases[] = {
      {"ladder_double", {H.get()}, "Wrong number of input arguments"},
      {"ladder_double", {H.get(), b.get(), b.get()}, "Wrong number of input arguments"},
      {"ladder_double", {b.get(), b.get()}, "First argument must be a Hierarchy cell"},
      {"ladder_double", {H.get(), bs.get()},
       "Second argument must be a non-sparse double precision vector"},
      {"ladder_double", {H.get(), sp.get()},
       "Second argument must be a non-sparse double precision vector"},
      {"ladder_single", {H.get(), b.get()},
       "Second argument must be a non-sparse single precision vector"},
      {"ladder_double", {H.get(), row.get()}, "Second argument must be a column vector"},
  };
  for (auto &c : cases) {
    harness::result r = harness::call(c.mod, 1, c.in);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.message(), c.message);
  }
}

TEST(ladder, failed_creation_of_the_result_is_an_error)
{
  ptr H = two_levels(false), b = harness::column({1, 0});
  khost::fail_allocation(0);
  harness::result r = harness::call("ladder_double", 1, {H.get(), b.get()});
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.message(), "Out of memory");
}

// Every array reachable from a, in a fixed order.
void arrays_of(mxArray *a, std::vector<mxArray *> &out)
{
  out.push_back(a);
  if (mxIsCell(a))
    for (std::size_t i = 0; i < mxGetNumberOfElements(a); ++i)
      if (mxArray *c = mxGetCell(a, i))
        arrays_of(c, out);
  if (mxIsStruct(a))
    for (int k = 0; k < mxGetNumberOfFields(a); ++k)
      if (mxArray *c = mxGetField(a, 0, mxGetFieldNameByNumber(a, k)))
        arrays_of(c, out);
}

// Damages one number of one array: an index or count set to an extreme or
// random value, or a value to NaN or infinity.
void damage(mxArray *a, std::mt19937 &g)
{
  std::size_t n = mxGetNumberOfElements(a);
  if (n == 0 || mxIsCell(a) || mxIsStruct(a))
    return;
  std::size_t k = std::uniform_int_distribution<std::size_t>(0, n - 1)(g);
  const double extremes[] = {-1, 0, 1, 2, 3, 1e10, -1e10, NAN, INFINITY, 4294967295.0, 0.5};
  double v = extremes[std::uniform_int_distribution<int>(0, 10)(g)];
  if (mxGetClassID(a) == mxUINT32_CLASS) {
    const std::uint32_t w[] = {0, 1, 2, 3, 0xFFFFFFFFu, 0x80000000u, 7};
    static_cast<std::uint32_t *>(mxGetData(a))[k] = w[std::uniform_int_distribution<int>(0, 6)(g)];
  } else if (mxIsDouble(a)) {
    mxGetPr(a)[k] = v;
  } else if (mxIsSingle(a)) {
    static_cast<float *>(mxGetData(a))[k] = static_cast<float>(v);
  }
}

TEST(ladder, malformed_hierarchies_end_in_an_error_or_a_result_never_a_fault)
{
  std::mt19937 g(11);
  int refused = 0;
  for (int trial = 0; trial < 400; ++trial) {
    bool single = trial % 2;
    ptr H = two_levels(single);
    std::vector<mxArray *> all;
    arrays_of(H.get(), all);
    int hits = 1 + trial % 3;
    for (int h = 0; h < hits; ++h)
      damage(all[std::uniform_int_distribution<std::size_t>(1, all.size() - 1)(g)], g);
    if (trial % 7 == 0) {
      // drop a field or replace it with a wrong class
      mxArray *s = mxGetCell(H.get(), trial % 2);
      int k = std::uniform_int_distribution<int>(0, mxGetNumberOfFields(s) - 1)(g);
      mxSetField(s, 0, mxGetFieldNameByNumber(s, k),
                 trial % 3 ? nullptr : mxCreateLogicalMatrix(1, 1));
    }
    ptr b = reals(single, {1, 0});
    harness::result r = harness::call(module(single), 1, {H.get(), b.get()});
    refused += !r.ok();
  }
  EXPECT_GT(refused, 100);
}

TEST(ladder, workspaces_sharing_data_are_refused_before_anything_is_written)
{
  // The right-hand side passed is the fine level's own lws1.
  ptr H = two_levels(false);
  mxArray *fine = mxGetCell(H.get(), 0);
  mxArray *lws1 = mxGetField(fine, 0, "lws1");
  harness::result r = harness::call("ladder_double", 1, {H.get(), lws1});
  EXPECT_FALSE(r.ok());
  EXPECT_NE(r.message().find("shares its data with"), std::string::npos) << r.message();
}

} // namespace
