// ladder_setup through the harness: every level of the Hierarchy it writes
// against a dense model (rows, aggregates, the summed coarse matrix, the
// weights, the last level's matrix), the grounds of singular components,
// small excesses and extreme scales, the locality of coarse levels of a
// randomly numbered graph, malformed arguments and exhausted memory; the
// last level's factor in rows (ldl_rows) against a dense model.
#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

using harness::call;
using harness::entry;
using harness::ptr;

namespace {

using dense_matrix = std::vector<std::vector<double>>;

// A random symmetric diagonally dominant matrix of order n: edges of
// log-uniform weight at the given density, and on about half the vertices
// an excess of up to the vertex's own weight.  Returns it sparse; a is its
// dense copy.
ptr random_sdd(std::mt19937 &g, std::size_t n, double density, dense_matrix &a)
{
  std::uniform_real_distribution<double> u(0, 1);
  a.assign(n, std::vector<double>(n, 0));
  for (std::size_t c = 0; c < n; ++c)
    for (std::size_t r = c + 1; r < n; ++r)
      if (u(g) < density) {
        const double w = std::pow(10.0, 4 * u(g) - 2);
        a[r][c] = a[c][r] = -w;
        a[r][r] += w;
        a[c][c] += w;
      }
  for (std::size_t i = 0; i < n; ++i)
    if (u(g) < 0.5)
      a[i][i] += u(g) * a[i][i];
  std::vector<entry> e;
  for (std::size_t c = 0; c < n; ++c)
    for (std::size_t r = 0; r < n; ++r)
      if (a[r][c] != 0 || r == c)
        e.push_back({r, c, a[r][c]});
  return harness::sparse(n, n, e);
}

// The sparse matrix of a dense one, and a dense matrix scaled.
ptr sparse_of(const dense_matrix &a)
{
  std::vector<entry> e;
  for (std::size_t c = 0; c < a.size(); ++c)
    for (std::size_t r = 0; r < a.size(); ++r)
      if (a[r][c] != 0)
        e.push_back({r, c, a[r][c]});
  return harness::sparse(a.size(), a.size(), e);
}

// The Laplacian of an m-by-m grid of unit weights, numbered by perm.
dense_matrix grid(std::size_t m, const std::vector<std::size_t> &perm)
{
  const std::size_t n = m * m;
  dense_matrix a(n, std::vector<double>(n, 0));
  auto link = [&](std::size_t i, std::size_t j) {
    i = perm[i], j = perm[j];
    a[i][j] = a[j][i] = -1;
    a[i][i] += 1;
    a[j][j] += 1;
  };
  for (std::size_t r = 0; r < m; ++r)
    for (std::size_t c = 0; c < m; ++c) {
      if (r + 1 < m)
        link(r * m + c, (r + 1) * m + c);
      if (c + 1 < m)
        link(r * m + c, r * m + c + 1);
    }
  return a;
}

const mxArray *field(const mxArray *s, const char *name)
{
  const mxArray *f = mxGetField(s, 0, name);
  EXPECT_NE(f, nullptr) << name;
  return f;
}

double number(const mxArray *s, const char *name) { return mxGetScalar(field(s, name)); }

// The dense matrix of a level's "A" rows (double values).
dense_matrix level_matrix(const mxArray *level)
{
  const mxArray *A = field(level, "A");
  const std::size_t n = static_cast<std::size_t>(number(A, "n"));
  const std::vector<double> a = harness::doubles(field(A, "a"));
  const std::vector<std::uint32_t> ia = harness::words(field(A, "ia")), ja = harness::words(field(A, "ja"));
  dense_matrix m(n, std::vector<double>(n, 0));
  EXPECT_EQ(ia.size(), n + 1);
  for (std::size_t i = 0; i < n; ++i) {
    EXPECT_EQ(ja[ia[i]], i) << "diagonal first";
    m[i][i] = a[ia[i]];
    for (std::size_t k = ia[i] + 1; k < ia[i + 1]; ++k) {
      EXPECT_GT(ja[k], i) << "entries right of the diagonal";
      m[i][ja[k]] = m[ja[k]][i] = a[k];
    }
  }
  return m;
}

// P'*a*P for the aggregates cI of a level, without the node nc-1 when dc.
dense_matrix galerkin(const dense_matrix &a, const std::vector<std::uint32_t> &cI, std::size_t nc, bool dc)
{
  const std::size_t m = nc - dc;
  dense_matrix c(m, std::vector<double>(m, 0));
  for (std::size_t i = 0; i < a.size(); ++i)
    for (std::size_t j = 0; j < a.size(); ++j)
      if (cI[i] < m && cI[j] < m)
        c[cI[i]][cI[j]] += a[i][j];
  return c;
}

double largest(const dense_matrix &a)
{
  double x = 0;
  for (const auto &r : a)
    for (double v : r)
      x = std::max(x, std::fabs(v));
  return x;
}

harness::result setup(const mxArray *A, double maxdirect, bool single = false)
{
  ptr md = harness::scalar(maxdirect), ml = harness::scalar(50), s = harness::scalar(single);
  return call("ladder_setup", 3, {A, md.get(), ml.get(), s.get()});
}

} // namespace

// Every level of the Hierarchy of random matrices: the finest level holds
// the matrix itself by rows; each coarse matrix is P'*A*P of the level
// above, scaled by 1 or 1/1.5; aggregates, weights and workspaces are
// consistent; the last level's matrix for the factor is the level matrix.
// The workspaces are left to the caller.
TEST(setup, levels_match_a_dense_model)
{
  std::mt19937 g(11);
  for (std::size_t n : {2, 9, 60, 200}) {
    dense_matrix a;
    ptr A = random_sdd(g, n, 6.0 / n, a);
    harness::result r = setup(A.get(), 3);
    ASSERT_TRUE(r.ok()) << r.message();
    const mxArray *H = r.out(0);
    ASSERT_TRUE(mxIsCell(H));
    const std::size_t L = mxGetNumberOfElements(H);
    dense_matrix fine = level_matrix(mxGetCell(H, 0));
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t j = 0; j < n; ++j)
        EXPECT_EQ(fine[i][j], a[i][j]) << "finest level is A";
    EXPECT_EQ(number(mxGetCell(H, 0), "laplacian"), 0);
    for (std::size_t l = 0; l < L; ++l) {
      const mxArray *s = mxGetCell(H, l);
      const dense_matrix m = level_matrix(s);
      const std::size_t k = m.size();
      EXPECT_EQ(number(s, "islast"), l + 1 == L);
      if (l + 1 < L) {
        const std::vector<std::uint32_t> cI = harness::words(field(s, "cI"));
        const std::size_t nc = static_cast<std::size_t>(number(s, "nc"));
        const bool dc = number(s, "dc") != 0;
        ASSERT_EQ(cI.size(), k);
        for (std::uint32_t c : cI)
          EXPECT_LT(c, nc);
        const dense_matrix want = galerkin(m, cI, nc, dc), got = level_matrix(mxGetCell(H, l + 1));
        ASSERT_EQ(got.size(), want.size());
        const double scale = got[0][0] != 0 && std::fabs(want[0][0] / got[0][0] - 1.5) < 1e-9 ? 1.5 : 1;
        for (std::size_t i = 0; i < want.size(); ++i)
          for (std::size_t j = 0; j < want.size(); ++j)
            EXPECT_NEAR(got[i][j], want[i][j] / scale, 1e-12 * largest(want)) << "level " << l;
        const double rep = number(s, "repeat");
        EXPECT_TRUE(rep == 1 || rep == 2);
        EXPECT_EQ(number(s, "dc"), dc);
        EXPECT_EQ(mxGetField(s, 0, "sws1"), nullptr) << "workspaces are the caller's";
      }
      if (l + 1 < L || number(s, "iterative")) {
        const std::vector<double> inv = harness::doubles(field(s, "invD"));
        const double w = l + 1 < L ? 0.8 : 1.0;
        for (std::size_t i = 0; i < k; ++i)
          EXPECT_EQ(inv[i], m[i][i] ? w / m[i][i] : 0);
      }
    }
    const mxArray *last = mxGetCell(H, L - 1);
    if (!number(last, "iterative")) {
      const dense_matrix want = level_matrix(last);
      const mxArray *M = r.out(1);
      ASSERT_TRUE(mxIsSparse(M));
      ASSERT_EQ(mxGetM(M), want.size());
      const mwIndex *jc = mxGetJc(M), *ir = mxGetIr(M);
      dense_matrix got(want.size(), std::vector<double>(want.size(), 0));
      for (std::size_t c = 0; c < want.size(); ++c)
        for (mwIndex p = jc[c]; p < jc[c + 1]; ++p) {
          EXPECT_TRUE(p == jc[c] || ir[p] > ir[p - 1]) << "rows ascend";
          got[ir[p]][c] = mxGetPr(M)[p];
        }
      EXPECT_EQ(got, want);
    }
    if (n >= 60) {
      EXPECT_GE(L, 2u) << "the larger matrices coarsen";
    }
  }
}

// A single-precision Hierarchy holds the same levels rounded to single.
TEST(setup, single_precision_rounds_the_same_levels)
{
  std::mt19937 g(12);
  dense_matrix a;
  ptr A = random_sdd(g, 80, 0.08, a);
  harness::result rd = setup(A.get(), 5), rs = setup(A.get(), 5, true);
  ASSERT_TRUE(rd.ok() && rs.ok());
  ASSERT_EQ(mxGetNumberOfElements(rd.out(0)), mxGetNumberOfElements(rs.out(0)));
  for (std::size_t l = 0; l < mxGetNumberOfElements(rd.out(0)); ++l) {
    const mxArray *A1 = field(mxGetCell(rd.out(0), l), "A"), *A2 = field(mxGetCell(rs.out(0), l), "A");
    ASSERT_EQ(mxGetClassID(field(A2, "a")), mxSINGLE_CLASS);
    const std::vector<double> x = harness::doubles(field(A1, "a"));
    const std::vector<float> y = harness::floats(field(A2, "a"));
    ASSERT_EQ(x.size(), y.size());
    for (std::size_t k = 0; k < x.size(); ++k)
      EXPECT_EQ(static_cast<float>(x[k]), y[k]);
  }
}

// Components without excess are grounded at their lowest vertex and
// numbered; an excess of 1e-13 of the diagonal is an excess, an excess
// within the round-off of the row's sum is none.
TEST(setup, singular_components_and_small_excess)
{
  // two paths 0-2-4 and 1-3, and the isolated vertex 5
  auto laplacian = [](double e0, double e1) {
    dense_matrix a(6, std::vector<double>(6, 0));
    for (auto [i, j] : std::vector<std::pair<int, int>>{{0, 2}, {2, 4}, {1, 3}}) {
      a[i][j] = a[j][i] = -0.1;
      a[i][i] += 0.1;
      a[j][j] += 0.1;
    }
    a[4][4] += e0 * a[4][4];
    a[3][3] += e1 * a[3][3];
    return a;
  };
  const double u = std::numeric_limits<double>::epsilon();
  struct cse {
    double e0, e1;
    std::vector<std::uint32_t> grounded;
  };
  const std::vector<cse> cases = {
      {0, 0, {1, 2, 1, 2, 1, 3}},
      {1e-13, 0, {0, 1, 0, 1, 0, 2}},
      {1e-13, 1e-13, {0, 0, 0, 0, 0, 1}},
      {u, 0, {1, 2, 1, 2, 1, 3}},
  };
  for (const cse &c : cases) {
    ptr A = sparse_of(laplacian(c.e0, c.e1));
    harness::result r = setup(A.get(), 1000);
    ASSERT_TRUE(r.ok()) << r.message();
    EXPECT_EQ(harness::words(r.out(2)), c.grounded) << c.e0 << " " << c.e1;
    // grounded components are kept out of the last level
    const bool any = std::any_of(c.grounded.begin(), c.grounded.end(), [](std::uint32_t x) { return x; });
    EXPECT_EQ(mxGetNumberOfElements(r.out(0)), any ? 2u : 1u);
  }
}

// The levels of A scaled by 1e-200 or 1e200 are those of A, scaled.
TEST(setup, scale_changes_no_level)
{
  std::mt19937 g(13);
  dense_matrix a;
  random_sdd(g, 150, 0.04, a);
  ptr A = sparse_of(a);
  harness::result r = setup(A.get(), 4);
  ASSERT_TRUE(r.ok());
  const std::size_t L = mxGetNumberOfElements(r.out(0));
  ASSERT_GE(L, 3u);
  for (double f : {1e-200, 1e200}) {
    dense_matrix b = a;
    for (auto &row : b)
      for (double &v : row)
        v *= f;
    ptr B = sparse_of(b);
    harness::result s = setup(B.get(), 4);
    ASSERT_TRUE(s.ok());
    ASSERT_EQ(mxGetNumberOfElements(s.out(0)), L) << f;
    for (std::size_t l = 0; l + 1 < L; ++l)
      EXPECT_EQ(harness::words(field(mxGetCell(s.out(0), l), "cI")),
                harness::words(field(mxGetCell(r.out(0), l), "cI")));
    EXPECT_EQ(harness::words(s.out(2)), harness::words(r.out(2)));
  }
}

// A grid numbered at random: its coarse levels are numbered along the
// graph, so that each coarse entry lies near the diagonal.
TEST(setup, coarse_levels_of_a_random_numbering_are_local)
{
  const std::size_t m = 40, n = m * m;
  std::vector<std::size_t> perm(n);
  std::iota(perm.begin(), perm.end(), 0);
  std::mt19937 g(14);
  std::shuffle(perm.begin(), perm.end(), g);
  dense_matrix a = grid(m, perm);
  a[perm[0]][perm[0]] += 1;
  ptr A = sparse_of(a);
  harness::result r = setup(A.get(), 10);
  ASSERT_TRUE(r.ok());
  ASSERT_GE(mxGetNumberOfElements(r.out(0)), 3u);
  const mxArray *A1 = field(mxGetCell(r.out(0), 1), "A");
  const std::vector<std::uint32_t> ia = harness::words(field(A1, "ia")), ja = harness::words(field(A1, "ja"));
  const std::size_t n1 = ia.size() - 1;
  std::size_t far = 0;
  for (std::size_t i = 0; i < n1; ++i)
    for (std::size_t k = ia[i] + 1; k < ia[i + 1]; ++k)
      far = std::max<std::size_t>(far, ja[k] - i);
  EXPECT_LT(far, n1 / 4) << "of " << n1 << " coarse unknowns";
}

// Orders 0 and 1, a diagonal matrix and one held by its excess: one level
// of diagonal scaling.
TEST(setup, trivial_matrices_are_one_level_of_scaling)
{
  ptr empty = harness::sparse(0, 0, {}), one = harness::sparse(1, 1, {{0, 0, 2}});
  ptr diag = harness::sparse(3, 3, {{0, 0, 1}, {1, 1, 2}, {2, 2, 4}});
  ptr held = harness::sparse(2, 2, {{0, 0, 5}, {1, 0, -1}, {0, 1, -1}, {1, 1, 5}});
  for (const mxArray *A : {empty.get(), one.get(), diag.get(), held.get()}) {
    harness::result r = setup(A, 1);
    ASSERT_TRUE(r.ok()) << r.message();
    ASSERT_EQ(mxGetNumberOfElements(r.out(0)), 1u);
    const mxArray *s = mxGetCell(r.out(0), 0);
    EXPECT_EQ(number(s, "islast"), 1);
    EXPECT_EQ(number(s, "iterative"), 1);
    EXPECT_TRUE(mxIsEmpty(r.out(1)));
  }
}

// Malformed arguments get clear errors.
TEST(setup, malformed_arguments_are_refused)
{
  ptr A = harness::sparse(2, 2, {{0, 0, 1}, {1, 1, 1}}), full = harness::dense(2, 2, {1, 0, 0, 1});
  ptr rect = harness::sparse(2, 3, {}), cplx = harness::sparse(2, 2, {{0, 0, 1}}, false, {1});
  ptr one = harness::scalar(1), zero = harness::scalar(0), two = harness::column({1, 2});
  ptr nan = harness::scalar(std::nan(""));
  struct cse {
    int nlhs;
    std::vector<const mxArray *> in;
    const char *message;
  };
  const std::vector<cse> cases = {
      {1, {A.get(), one.get(), one.get()}, "Wrong number of input arguments"},
      {4, {A.get(), one.get(), one.get(), zero.get()}, "Wrong number of output arguments"},
      {1, {full.get(), one.get(), one.get(), zero.get()}, "First argument must be a real sparse double matrix"},
      {1, {cplx.get(), one.get(), one.get(), zero.get()}, "First argument must be a real sparse double matrix"},
      {1, {rect.get(), one.get(), one.get(), zero.get()}, "First argument must be square"},
      {1, {A.get(), zero.get(), one.get(), zero.get()}, "Second argument must be a number of at least 1"},
      {1, {A.get(), nan.get(), one.get(), zero.get()}, "Second argument must be a number of at least 1"},
      {1, {A.get(), one.get(), two.get(), zero.get()}, "Third argument must be a number of at least 1"},
      {1, {A.get(), one.get(), one.get(), two.get()}, "Fourth argument must be a scalar, true for single precision"},
  };
  for (const cse &c : cases) {
    harness::result r = call("ladder_setup", c.nlhs, c.in);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.message(), c.message);
  }
}

// Every creation and host allocation of a multilevel build and of a
// grounded one, failed in turn: the call reports memory exhaustion and the
// host finds nothing left behind.
TEST(setup, allocation_failures_release_everything)
{
  std::mt19937 g(15);
  dense_matrix a;
  ptr A = random_sdd(g, 120, 0.05, a);
  std::vector<std::size_t> id(16);
  std::iota(id.begin(), id.end(), 0);
  ptr L = sparse_of(grid(4, id));
  ptr md = harness::scalar(4), ml = harness::scalar(50), s = harness::scalar(0);
  for (const mxArray *M : {A.get(), L.get()}) {
    long k = 0;
    for (;; ++k) {
      khost::fail_allocation(k);
      harness::result r = call("ladder_setup", 3, {M, md.get(), ml.get(), s.get()});
      if (r.ok())
        break;
      EXPECT_EQ(r.message(), "Out of memory");
    }
    khost::fail_allocation(-1);
    EXPECT_GT(k, 10);
  }
}

namespace {

// The rows (a, ia, ja) of a struct "ld" or "ldT" as a dense matrix, the
// slot of each row (last or first) apart in slot.
dense_matrix factor_rows(const mxArray *s, bool first, std::vector<double> &slot)
{
  const std::size_t n = static_cast<std::size_t>(number(s, "n"));
  const std::vector<double> a = harness::doubles(field(s, "a"));
  const std::vector<std::uint32_t> ia = harness::words(field(s, "ia")), ja = harness::words(field(s, "ja"));
  dense_matrix m(n, std::vector<double>(n, 0));
  slot.assign(n, 0);
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t at = first ? ia[i] : ia[i + 1] - 1;
    EXPECT_EQ(ja[at], i) << "the slot holds the diagonal";
    slot[i] = a[at];
    for (std::size_t k = ia[i]; k < ia[i + 1]; ++k)
      if (k != at) {
        EXPECT_TRUE(first ? ja[k] > i : ja[k] < i);
        EXPECT_TRUE(k == ia[i] + first || ja[k] > ja[k - 1]) << "columns ascend";
        m[i][ja[k]] = a[k];
      }
  }
  return m;
}

} // namespace

// ldl_rows factors A(p,p) = L*D*L' of random sparse diagonally dominant
// matrices: L by rows with the pivots last, its transpose with unit slots
// first, and the order and its inverse, 0-based; a matrix only positive
// semidefinite is factored with its round-off shift.
TEST(setup, ldl_rows_match_a_dense_model)
{
  std::mt19937 g(16);
  std::uniform_real_distribution<double> u(0, 1);
  for (std::size_t n : {1, 2, 7, 30, 31}) {
    const bool singular = n == 31;  // a Laplacian: its last pivot is round-off
    dense_matrix m(n, std::vector<double>(n, 0));
    for (std::size_t c = 0; c < n; ++c)
      for (std::size_t k = 0; k < c; ++k)
        if (u(g) < 0.3) {
          m[k][c] = m[c][k] = -u(g);
          m[k][k] -= m[k][c];
          m[c][c] -= m[k][c];
        }
    for (std::size_t c = 0; c < n; ++c)
      m[c][c] += singular ? 0 : u(g);
    std::vector<entry> e;
    for (std::size_t c = 0; c < n; ++c)
      for (std::size_t k = 0; k < n; ++k)
        if (m[k][c] != 0 || k == c)
          e.push_back({k, c, m[k][c]});
    std::vector<double> p(n);
    std::iota(p.begin(), p.end(), 1.0);
    std::shuffle(p.begin(), p.end(), g);
    ptr A = harness::sparse(n, n, e), P = harness::column(p);
    harness::result res = call("ldl_rows", 1, {A.get(), P.get()});
    ASSERT_TRUE(res.ok()) << res.message();
    const mxArray *F = res.out(0);
    std::vector<double> piv, ones;
    const dense_matrix L = factor_rows(field(F, "ld"), false, piv), U = factor_rows(field(F, "ldT"), true, ones);
    double big = 0;
    for (std::size_t i = 0; i < n; ++i)
      big = std::max(big, m[i][i]);
    for (std::size_t i = 0; i < n; ++i) {
      EXPECT_GT(piv[i], 0);
      EXPECT_TRUE(singular || piv[i] > 1e-6 * big) << "no shift where none is needed";
      EXPECT_EQ(ones[i], 1);
      for (std::size_t j = 0; j < n; ++j) {
        if (j < i)
          EXPECT_EQ(U[j][i], L[i][j]);
        // (L*D*L')(i,j) against A(p(i),p(j)), plus the shift where it was needed
        double s = 0;
        for (std::size_t t = 0; t <= std::min(i, j); ++t)
          s += (t == i ? 1 : L[i][t]) * piv[t] * (t == j ? 1 : L[j][t]);
        const double want = m[std::size_t(p[i]) - 1][std::size_t(p[j]) - 1];
        EXPECT_NEAR(s, want, 2e-12 * big) << i << " " << j;
      }
    }
    const std::vector<std::uint32_t> q = harness::words(field(F, "p")), iq = harness::words(field(F, "invp"));
    for (std::size_t i = 0; i < n; ++i) {
      EXPECT_EQ(q[i] + 1.0, p[i]);
      EXPECT_EQ(iq[q[i]], i);
    }
  }
}

// ldl_rows refuses what is not a positive definite matrix and an order,
// and releases every allocation when one fails.
TEST(setup, ldl_rows_refuses_and_releases)
{
  ptr R = harness::sparse(2, 2, {{0, 0, 2}, {1, 0, -1}, {0, 1, -1}, {1, 1, 3}});
  ptr indefinite = harness::sparse(2, 2, {{0, 0, 1}, {1, 0, 2}, {0, 1, 2}, {1, 1, 1}});
  ptr zero = harness::sparse(2, 2, {});
  ptr p = harness::column({2, 1}), twice = harness::column({1, 1}), out = harness::column({1, 3});
  ptr short_p = harness::column({1}), full = harness::column({1, 2});
  struct cse {
    std::vector<const mxArray *> in;
    const char *message;
  };
  const std::vector<cse> cases = {
      {{R.get()}, "Wrong number of input arguments"},
      {{full.get(), p.get()}, "First argument must be a real sparse double matrix"},
      {{indefinite.get(), p.get()}, "Matrix must be positive definite"},
      {{zero.get(), p.get()}, "Matrix must be positive definite"},
      {{R.get(), short_p.get()}, "Second argument must be a real double vector with one entry per vertex"},
      {{R.get(), twice.get()}, "Second argument must be a permutation of 1 to the order of the first"},
      {{R.get(), out.get()}, "Second argument must be a permutation of 1 to the order of the first"},
  };
  for (const cse &c : cases) {
    harness::result r = call("ldl_rows", 1, c.in);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.message(), c.message);
  }
  long k = 0;
  for (;; ++k) {
    khost::fail_allocation(k);
    harness::result r = call("ldl_rows", 1, {R.get(), p.get()});
    if (r.ok())
      break;
    EXPECT_EQ(r.message(), "Out of memory");
  }
  khost::fail_allocation(-1);
  EXPECT_GT(k, 5);
}
