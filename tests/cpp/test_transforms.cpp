// The matrix transforms through the harness: results on random matrices,
// edge shapes, logical and complex inputs, malformed arguments, exhausted
// memory and a "rand" that answers wrongly.  Every call is also checked by the
// harness for leaks, changed inputs and writes past the output list.
#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <random>
#include <stdexcept>

using harness::call;
using harness::entry;
using harness::ptr;

namespace {

struct stored_entry {
  std::size_t row, col;
  double value;
};

// The stored entries of a sparse double matrix in stored order.
std::vector<stored_entry> entries(const mxArray *a)
{
  std::vector<stored_entry> e;
  const mwIndex *jc = mxGetJc(a), *ir = mxGetIr(a);
  for (std::size_t c = 0; c < mxGetN(a); ++c)
    for (std::size_t p = jc[c]; p < jc[c + 1]; ++p)
      e.push_back({ir[p], c, mxGetPr(a)[p]});
  return e;
}

// Same value and sign, NaN equal to NaN.
bool same(double a, double b)
{
  return std::signbit(a) == std::signbit(b) && (a == b || (std::isnan(a) && std::isnan(b)));
}

void expect_entries(const mxArray *a, const std::vector<stored_entry> &want)
{
  ASSERT_TRUE(a);
  ASSERT_TRUE(mxIsSparse(a) && mxIsDouble(a));
  EXPECT_EQ(mxGetNzmax(a), std::max<std::size_t>(want.size(), 1));
  std::vector<stored_entry> got = entries(a);
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t k = 0; k < got.size(); ++k) {
    EXPECT_EQ(got[k].row, want[k].row) << "entry " << k;
    EXPECT_EQ(got[k].col, want[k].col) << "entry " << k;
    EXPECT_TRUE(same(got[k].value, want[k].value))
        << "entry " << k << ": " << got[k].value << " vs " << want[k].value;
  }
}

// A random n-by-n matrix: a share of stored zeros and negative weights, no
// diagonal unless asked for.
ptr random_matrix(std::mt19937 &g, std::size_t n, double density, bool diagonal)
{
  std::uniform_real_distribution<double> u(0, 1);
  std::vector<entry> e;
  for (std::size_t c = 0; c < n; ++c)
    for (std::size_t r = 0; r < n; ++r)
      if ((r != c || diagonal) && u(g) < density)
        e.push_back({r, c, u(g) < 0.1 ? 0.0 : 4 * u(g) - 2});
  return harness::sparse(n, n, e);
}

std::vector<double> random_values(std::mt19937 &g, std::size_t n)
{
  std::uniform_real_distribution<double> u(-3, 3);
  std::vector<double> v(n);
  for (double &x : v)
    x = u(g);
  return v;
}

void expect_error(const harness::result &r, const std::string &message)
{
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.message(), message);
  EXPECT_EQ(r.o.left, 0u) << "a failed call left arrays or memory behind";
}

} // namespace

TEST(transforms, laplacian_assembly_and_extraction_are_inverse_on_random_matrices)
{
  std::mt19937 g(41);
  for (std::size_t n : {1u, 2u, 7u, 40u}) {
    ptr A = random_matrix(g, n, 0.3, false);
    std::vector<double> d = random_values(g, n);
    d[0] = 0;
    ptr dv = n % 2 ? harness::row(d) : harness::column(d);
    harness::result L = call("sdd_from_weights", 1, {A.get(), dv.get()});
    ASSERT_TRUE(L.ok()) << L.message();

    std::vector<stored_entry> want;
    for (std::size_t c = 0; c < n; ++c) {
      bool placed = false;
      for (const stored_entry &x : entries(A.get()))
        if (x.col == c) {
          if (x.row > c && !placed) {
            want.push_back({c, c, d[c]});
            placed = true;
          }
          want.push_back({x.row, c, -x.value});
        }
      if (!placed)
        want.push_back({c, c, d[c]});
    }
    expect_entries(L.out(0), want);
    for (std::size_t k = 0; k <= n; ++k)
      EXPECT_EQ(mxGetJc(L.out(0))[k], mxGetJc(A.get())[k] + k);

    harness::result W = call("weights_from_sdd", 0, {L.out(0)});
    ASSERT_TRUE(W.ok()) << W.message();
    expect_entries(W.out(0), entries(A.get()));
  }
}

TEST(transforms, conjugation_scales_by_the_smaller_index_first)
{
  std::mt19937 g(7);
  for (std::size_t n : {1u, 3u, 30u}) {
    ptr A = random_matrix(g, n, 0.4, true);
    std::vector<double> v = random_values(g, n);
    ptr vv = harness::column(v);
    harness::result B = call("twosided_scale", 1, {A.get(), vv.get()});
    ASSERT_TRUE(B.ok()) << B.message();
    std::vector<stored_entry> want = entries(A.get());
    for (stored_entry &x : want)
      x.value = (v[std::min(x.row, x.col)] * v[std::max(x.row, x.col)]) * x.value;
    expect_entries(B.out(0), want);
  }
}

TEST(transforms, empty_matrices)
{
  ptr A = harness::sparse(0, 0, {}), none = harness::dense(1, 0, {}), E = harness::sparse(3, 3, {});
  ptr zero = harness::scalar(0), one = harness::scalar(1), three = harness::row({1, 2, 3});
  struct {
    const char *module;
    std::vector<const mxArray *> in;
    std::size_t n;
  } cases[] = {
      {"sdd_from_weights", {A.get(), none.get()}, 0},
      {"weights_from_sdd", {A.get()}, 0},
      {"twosided_scale", {A.get(), none.get()}, 0},
      {"twosided_scale", {E.get(), three.get()}, 3},
      {"jitter_lower", {A.get(), zero.get(), one.get()}, 0},
      {"jitter_lower", {E.get(), zero.get(), one.get()}, 3},
  };
  for (auto &c : cases) {
    harness::result r = call(c.module, 1, c.in);
    ASSERT_TRUE(r.ok()) << c.module << ": " << r.message();
    EXPECT_EQ(harness::dims(r.out(0)), (std::vector<std::size_t>{c.n, c.n})) << c.module;
    expect_entries(r.out(0), {});
  }
}

TEST(transforms, logical_matrices_are_weights_of_one_or_refused)
{
  ptr A = harness::sparse(2, 2, {{1, 0, 1}, {0, 1, 1}}, true);
  ptr L = harness::sparse(2, 2, {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}}, true);
  ptr d = harness::row({3, 4}), lo = harness::scalar(1), hi = harness::scalar(2);

  harness::result r = call("sdd_from_weights", 1, {A.get(), d.get()});
  ASSERT_TRUE(r.ok()) << r.message();
  expect_entries(r.out(0), {{0, 0, 3}, {1, 0, -1}, {0, 1, -1}, {1, 1, 4}});
  harness::result w = call("weights_from_sdd", 1, {L.get()});
  ASSERT_TRUE(w.ok()) << w.message();
  expect_entries(w.out(0), {{1, 0, -1}});

  expect_error(call("twosided_scale", 1, {A.get(), d.get()}), "Input must be a sparse double matrix");
  expect_error(call("jitter_lower", 1, {A.get(), lo.get(), hi.get()}),
               "Input must be a sparse double matrix");
}

TEST(transforms, complex_matrices)
{
  ptr A = harness::sparse(2, 2, {{1, 0, 2}, {0, 1, 3}}, false, {5, 7});
  ptr L = harness::sparse(2, 2, {{0, 0, 1}, {1, 0, 2}, {1, 1, 4}}, false, {9, 9, 9});
  ptr d = harness::row({1, 1}), v = harness::row({2, 5});

  harness::result r = call("sdd_from_weights", 1, {A.get(), d.get()});
  ASSERT_TRUE(r.ok()) << r.message();
  EXPECT_FALSE(mxIsComplex(r.out(0)));
  expect_entries(r.out(0), {{0, 0, 1}, {1, 0, -2}, {0, 1, -3}, {1, 1, 1}});
  harness::result w = call("weights_from_sdd", 1, {L.get()});
  ASSERT_TRUE(w.ok()) << w.message();
  EXPECT_FALSE(mxIsComplex(w.out(0)));
  expect_entries(w.out(0), {{1, 0, -2}});

  harness::result b = call("twosided_scale", 1, {A.get(), v.get()});
  ASSERT_TRUE(b.ok()) << b.message();
  expect_entries(b.out(0), {{1, 0, 20}, {0, 1, 30}});
  EXPECT_EQ(mxGetPi(b.out(0))[0], 5);
  EXPECT_EQ(mxGetPi(b.out(0))[1], 7);

  ptr lo = harness::scalar(1), hi = harness::scalar(2);
  harness::result j = call("jitter_lower", 1, {A.get(), lo.get(), hi.get()});
  ASSERT_TRUE(j.ok()) << j.message();
  EXPECT_EQ(mxGetPr(j.out(0))[1], 0);
  EXPECT_EQ(mxGetPi(j.out(0))[0], 5);
  EXPECT_EQ(mxGetPi(j.out(0))[1], 7);
}

TEST(transforms, scaled_outputs_keep_the_capacity_and_pattern)
{
  // two stored entries (one a stored zero) in room for ten
  ptr A(mxCreateSparse(3, 3, 10, mxREAL));
  const mwIndex jc[] = {0, 1, 1, 2}, ir[] = {2, 0};
  std::copy(jc, jc + 4, mxGetJc(A.get()));
  std::copy(ir, ir + 2, mxGetIr(A.get()));
  mxGetPr(A.get())[0] = 4;
  ptr v = harness::row({1, 2, 3}), lo = harness::scalar(1), hi = harness::scalar(1.5);
  auto same_pattern = [&](const harness::result &r) {
    ASSERT_TRUE(r.ok()) << r.message();
    const mxArray *B = r.out(0);
    EXPECT_EQ(mxGetNzmax(B), 10u);
    EXPECT_TRUE(std::equal(jc, jc + 4, mxGetJc(B)));
    EXPECT_TRUE(std::equal(ir, ir + 2, mxGetIr(B)));
    EXPECT_EQ(mxGetPr(B)[1], 0);
  };
  harness::result s = call("twosided_scale", 1, {A.get(), v.get()});
  same_pattern(s);
  EXPECT_EQ(mxGetPr(s.out(0))[0], 12);
  same_pattern(call("jitter_lower", 1, {A.get(), lo.get(), hi.get()}));
}

TEST(transforms, malformed_arguments_raise_their_messages)
{
  ptr S = harness::sparse(2, 2, {{1, 0, 1}}), R = harness::sparse(2, 3, {});
  ptr D = harness::dense(2, 2, {1, 0, 0, 1}), v2 = harness::row({1, 2}), v3 = harness::row({1, 2, 3});
  ptr sv = harness::sparse(1, 2, {{0, 0, 1}}), f = harness::singles(1, 2, {1, 2});
  ptr u = harness::uint32s(1, 2, {1, 2}), b = harness::logicals(1, 2, {true, true});
  ptr Dg = harness::sparse(2, 2, {{1, 0, 1}, {1, 1, 0}}), one = harness::scalar(1);
  ptr two = harness::scalar(2), nan = harness::scalar(NAN), col = harness::column({5, 1, 0});
  ptr none = harness::dense(0, 1, {}), e00 = harness::dense(0, 0, {}), S1 = harness::sparse(1, 1, {{0, 0, 3}});
  ptr cell(mxCreateCellMatrix(1, 1));
  struct {
    const char *module;
    int nlhs;
    std::vector<const mxArray *> in;
    const char *message;
  } cases[] = {
      {"sdd_from_weights", 1, {S.get()}, "Wrong number of input arguments"},
      {"sdd_from_weights", 2, {S.get(), v2.get()}, "Wrong number of output arguments"},
      {"sdd_from_weights", 1, {D.get(), v2.get()}, "Input must be a sparse matrix"},
      {"sdd_from_weights", 1, {cell.get(), v2.get()}, "Input must be a sparse matrix"},
      {"sdd_from_weights", 1, {R.get(), sv.get()}, "Second argument must be a non-sparse vector"},
      {"sdd_from_weights", 1, {S.get(), u.get()}, "Second argument must be a non-sparse vector"},
      {"sdd_from_weights", 1, {S.get(), b.get()}, "Second argument must be a non-sparse vector"},
      {"sdd_from_weights", 1, {R.get(), v3.get()}, "Input must be symmetric"},
      {"sdd_from_weights", 1, {S.get(), v3.get()}, "Inconsistent argument dimensions"},
      {"sdd_from_weights", 1, {S.get(), D.get()}, "Inconsistent argument dimensions"},
      {"sdd_from_weights", 1, {Dg.get(), v2.get()}, "Adjacency contains a diagonal element"},
      {"weights_from_sdd", 1, {}, "Wrong number of input arguments"},
      {"weights_from_sdd", 2, {S.get()}, "Wrong number of output arguments"},
      {"weights_from_sdd", 1, {D.get()}, "Input must be a sparse matrix"},
      {"weights_from_sdd", 1, {R.get()}, "Input must be symmetric"},
      {"weights_from_sdd", 1, {S.get()}, "Laplacian missing a diagonal element"},
      {"twosided_scale", 1, {S.get(), v2.get(), v2.get()}, "Wrong number of input arguments"},
      {"twosided_scale", 3, {S.get(), v2.get()}, "Wrong number of output arguments"},
      {"twosided_scale", 1, {D.get(), v2.get()}, "Input must be a sparse matrix"},
      {"twosided_scale", 1, {R.get(), f.get()}, "Second arguments must be a full vector"},
      {"twosided_scale", 1, {S.get(), sv.get()}, "Second arguments must be a full vector"},
      {"twosided_scale", 1, {R.get(), D.get()}, "Input matrix must be square"},
      {"twosided_scale", 1, {S.get(), D.get()}, "Second arguments must be a vector"},
      {"twosided_scale", 1, {S.get(), e00.get()}, "Second arguments must be a vector"},
      {"twosided_scale", 1, {S.get(), v3.get()}, "Vector dimensions must agree with matrix dimensions"},
      {"twosided_scale", 1, {S1.get(), none.get()}, "Second argument must not be empty"},
      {"jitter_lower", 1, {S.get(), one.get()}, "Wrong number of input arguments"},
      {"jitter_lower", 2, {S.get(), one.get(), two.get()}, "Wrong number of output arguments"},
      {"jitter_lower", 1, {D.get(), one.get(), two.get()}, "Input must be a sparse matrix"},
      {"jitter_lower", 1, {S.get(), v2.get(), two.get()}, "Second and third arguments must be scalars"},
      {"jitter_lower", 1, {S.get(), one.get(), f.get()}, "Second and third arguments must be scalars"},
      {"jitter_lower", 1, {S.get(), sv.get(), two.get()}, "Second and third arguments must be scalars"},
      {"jitter_lower", 1, {S.get(), none.get(), two.get()}, "Second and third arguments must be scalars"},
      {"jitter_lower", 1, {S.get(), one.get(), none.get()}, "Second and third arguments must be scalars"},
      {"jitter_lower", 1, {S.get(), two.get(), two.get()}, "Third argument must be larger than second"},
      {"jitter_lower", 1, {R.get(), col.get(), two.get()}, "Third argument must be larger than second"},
      {"jitter_lower", 1, {R.get(), nan.get(), two.get()}, "Input must be symmetric"},
  };
  for (auto &c : cases) {
    SCOPED_TRACE(std::string(c.module) + ": " + c.message);
    expect_error(call(c.module, c.nlhs, c.in), c.message);
  }
}

TEST(transforms, exhausted_memory_leaves_nothing_behind)
{
  ptr A = harness::sparse(2, 2, {{1, 0, 1}, {0, 1, 2}}), L = harness::sparse(2, 2, {{0, 0, 1}, {1, 1, 1}});
  ptr v = harness::row({1, 2}), lo = harness::scalar(1), hi = harness::scalar(2);
  struct {
    const char *module;
    std::vector<const mxArray *> in;
    long creations;
  } cases[] = {
      {"sdd_from_weights", {A.get(), v.get()}, 1},
      {"weights_from_sdd", {L.get()}, 1},
      {"twosided_scale", {A.get(), v.get()}, 1},
      {"jitter_lower", {A.get(), lo.get(), hi.get()}, 4},  // B, m, 1, then rand's answer
  };
  for (auto &c : cases)
    for (long k = 0; k < c.creations; ++k) {
      SCOPED_TRACE(std::string(c.module) + " creation " + std::to_string(k));
      khost::fail_allocation(k);
      harness::result r = call(c.module, 1, c.in);
      EXPECT_FALSE(r.ok());
      EXPECT_EQ(r.o.left, 0u);
    }
}

class jitter : public ::testing::Test {
protected:
  void TearDown() override { khost::on_call(nullptr); }
};

TEST_F(jitter, one_call_of_rand_gives_one_factor_per_stored_entry)
{
  // stored order: (1,0) (2,0) (0,1) (1,1) (2,1) (2,2); R(p) = (p + 1) / 8
  ptr A = harness::sparse(3, 3, {{1, 0, 4}, {2, 0, -2}, {0, 1, 5}, {1, 1, 6}, {2, 1, 0}, {2, 2, 7}});
  ptr lo = harness::column({-1, 99}), hi = harness::scalar(3);
  int calls = 0;
  khost::on_call([&](int nlhs, mxArray *plhs[], int nrhs, mxArray *prhs[], const char *name) {
    ++calls;
    EXPECT_STREQ(name, "rand");
    EXPECT_EQ(nlhs, 1);
    EXPECT_EQ(nrhs, 2);
    EXPECT_EQ(mxGetScalar(prhs[0]), 6);
    EXPECT_EQ(mxGetScalar(prhs[1]), 1);
    plhs[0] = mxCreateDoubleMatrix(6, 1, mxREAL);
    for (std::size_t p = 0; p < 6; ++p)
      mxGetPr(plhs[0])[p] = 0.125 * static_cast<double>(p + 1);
    return 0;
  });
  harness::result r = call("jitter_lower", 0, {A.get(), lo.get(), hi.get()});
  ASSERT_TRUE(r.ok()) << r.message();
  EXPECT_EQ(calls, 1);
  auto f = [](double x) { return (3.0 - -1.0) * x + -1.0; };
  expect_entries(r.out(0), {{1, 0, f(0.125) * 4},
                            {2, 0, f(0.25) * -2},
                            {0, 1, 0},
                            {1, 1, 0},
                            {2, 1, f(0.625) * 0},
                            {2, 2, 0}});
}

TEST_F(jitter, host_rand_is_drawn_from_and_advanced)
{
  std::mt19937 g(3);
  ptr A = random_matrix(g, 20, 0.3, true), lo = harness::scalar(1), hi = harness::scalar(2);
  khost::seed(5);
  harness::result a = call("jitter_lower", 1, {A.get(), lo.get(), hi.get()});
  harness::result b = call("jitter_lower", 1, {A.get(), lo.get(), hi.get()});
  khost::seed(5);
  harness::result c = call("jitter_lower", 1, {A.get(), lo.get(), hi.get()});
  ASSERT_TRUE(a.ok() && b.ok() && c.ok());
  EXPECT_EQ(harness::doubles(a.out(0)), harness::doubles(c.out(0)));
  EXPECT_NE(harness::doubles(a.out(0)), harness::doubles(b.out(0)));
  std::vector<stored_entry> in = entries(A.get()), out = entries(a.out(0));
  for (std::size_t k = 0; k < in.size(); ++k) {
    const double x = in[k].value, y = out[k].value;
    if (in[k].row > in[k].col)
      EXPECT_TRUE(std::fabs(y) >= std::fabs(x) && std::fabs(y) <= 2 * std::fabs(x)) << k;
    else
      EXPECT_EQ(y, 0) << k;
  }
}

TEST_F(jitter, a_wrong_answer_of_rand_is_refused)
{
  ptr A = harness::sparse(3, 3, {{1, 0, 4}, {2, 0, -2}, {2, 1, 1}});
  ptr lo = harness::scalar(1), hi = harness::scalar(2);
  const char *refused = "rand must return a real double array of at least 3 elements";
  struct {
    const char *what;
    std::function<mxArray *()> answer;
  } cases[] = {
      {"none", [] { return nullptr; }},
      {"single", [] { return mxCreateNumericMatrix(3, 1, mxSINGLE_CLASS, mxREAL); }},
      {"logical", [] { return mxCreateLogicalMatrix(3, 1); }},
      {"too few", [] { return mxCreateDoubleMatrix(2, 1, mxREAL); }},
      {"complex", [] { return mxCreateDoubleMatrix(3, 1, mxCOMPLEX); }},
      {"sparse", [] { return mxCreateSparse(3, 1, 3, mxREAL); }},
      {"cell", [] { return mxCreateCellMatrix(3, 1); }},
  };
  for (auto &c : cases) {
    SCOPED_TRACE(c.what);
    khost::on_call([&](int, mxArray *plhs[], int, mxArray *[], const char *) {
      plhs[0] = c.answer();
      return 0;
    });
    expect_error(call("jitter_lower", 1, {A.get(), lo.get(), hi.get()}), refused);
  }
}

TEST_F(jitter, an_error_inside_rand_passes_and_leaves_nothing_behind)
{
  ptr A = harness::sparse(2, 2, {{1, 0, 4}}), lo = harness::scalar(1), hi = harness::scalar(2);
  // The host's own error exit, unwinding through the module...
  khost::on_call([](int, mxArray *[], int, mxArray *[], const char *) -> int {
    mexErrMsgIdAndTxt("user:rand", "rand is broken");
    return 1;
  });
  harness::result r = call("jitter_lower", 1, {A.get(), lo.get(), hi.get()});
  expect_error(r, "rand is broken");
  EXPECT_EQ(r.id(), "user:rand");
  // ...and a host that reports it as a standard exception.
  khost::on_call([](int, mxArray *[], int, mxArray *[], const char *) -> int {
    throw std::runtime_error("rand failed");
  });
  expect_error(call("jitter_lower", 1, {A.get(), lo.get(), hi.get()}), "rand failed");
}

TEST(transforms, failures_during_assembly_leave_no_output)
{
  ptr A = harness::sparse(3, 3, {{1, 0, 1}, {0, 2, 1}, {2, 2, 0}}), d = harness::row({1, 2, 3});
  expect_error(call("sdd_from_weights", 1, {A.get(), d.get()}), "Adjacency contains a diagonal element");
}
