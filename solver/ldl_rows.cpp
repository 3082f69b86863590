// F = ldl_rows(A, p): the "chol" field of a Hierarchy's last level, the
// factor A(p,p) = L*D*L' of its symmetric positive definite matrix A under
// the order p (a permutation of 1..n); where a pivot is not positive, A is
// factored again with a shift of 1e-12 times its largest diagonal entry.
//   F.ld    the rows of L, each its entries left of the diagonal in
//           ascending column order, then its pivot D(i)
//   F.ldT   the rows of L', each a diagonal slot (1) first, then its
//           entries right of the diagonal in ascending column order
//   F.p     uint32 p - 1;  F.invp  uint32, its inverse
// ld and ldT are structs of "a" (double), "ia" (uint32 row starts), "ja"
// (uint32 columns), all 0-based, and "n".
#include "args.h"
#include "gateway.h"
#include "graph_args.h"
#include "ldl.h"

#include <cmath>
#include <cstdint>
#include <initializer_list>

namespace {

using kelvara::at;
using kelvara::fail;
using kelvara::made;
using kelvara::owned;

const char *oom = "Out of memory";

owned vector(std::size_t n, mxClassID c) { return owned(made(mxCreateUninitNumericMatrix(n, 1, c, mxREAL), oom)); }

owned rows(owned a, owned ia, owned ja, std::size_t n)
{
  static const char *fields[] = {"a", "ia", "ja", "n"};
  owned s(made(mxCreateStructMatrix(1, 1, 4, fields), oom));
  mxSetField(s.get(), 0, "a", a.release());
  mxSetField(s.get(), 0, "ia", ia.release());
  mxSetField(s.get(), 0, "ja", ja.release());
  mxSetField(s.get(), 0, "n", made(mxCreateDoubleScalar(static_cast<double>(n)), oom));
  return s;
}

// C = the upper triangle of A(p,p) by columns: column k holds the entries
// of column q[k] of A whose rows come at or before k under the order.
void permuted(std::size_t n, const mwIndex *jc, const mwIndex *ir, const double *v,
              const std::uint32_t *q, const std::uint32_t *iq, std::size_t *cp, std::uint32_t *ci,
              double *cx)
{
  cp[0] = 0;
  for (std::size_t k = 0; k < n; ++k) {
    std::size_t c = cp[k];
    for (std::size_t t = at(jc, q[k]); t < at(jc, q[k] + 1); ++t)
      if (iq[at(ir, t)] <= k) {
        ci[c] = iq[at(ir, t)];
        cx[c++] = v[t];
      }
    cp[k + 1] = c;
  }
}

// The rows of L into (a, ia, ja): row i its entries, columns ascending,
// then the pivot d[i]; next (n entries) holds each row's next position.
void lower(std::size_t n, const std::size_t *lp, const std::uint32_t *li, const double *lx,
           const double *d, std::size_t *next, double *a, std::uint32_t *ia, std::uint32_t *ja)
{
  for (std::size_t i = 0; i <= n; ++i)
    ia[i] = 0;
  for (std::size_t p = 0; p < lp[n]; ++p)
    ++ia[li[p] + 1];
  for (std::size_t i = 0; i < n; ++i) {
    ia[i + 1] += ia[i] + 1;
    next[i] = ia[i];
  }
  for (std::size_t j = 0; j < n; ++j)
    for (std::size_t p = lp[j]; p < lp[j + 1]; ++p) {
      const std::size_t t = next[li[p]]++;
      a[t] = lx[p];
      ja[t] = static_cast<std::uint32_t>(j);
    }
  for (std::size_t i = 0; i < n; ++i) {
    a[ia[i + 1] - 1] = d[i];
    ja[ia[i + 1] - 1] = static_cast<std::uint32_t>(i);
  }
}

// The rows of L' into (a, ia, ja): row j a slot of 1, then column j of L.
void upper(std::size_t n, const std::size_t *lp, const std::uint32_t *li, const double *lx,
           double *a, std::uint32_t *ia, std::uint32_t *ja)
{
  ia[0] = 0;
  for (std::size_t j = 0; j < n; ++j) {
    std::size_t t = ia[j];
    a[t] = 1;
    ja[t++] = static_cast<std::uint32_t>(j);
    for (std::size_t p = lp[j]; p < lp[j + 1]; ++p) {
      a[t] = lx[p];
      ja[t++] = li[p];
    }
    ia[j + 1] = static_cast<std::uint32_t>(t);
  }
}

void ldl_rows(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 2)
    fail("Wrong number of input arguments");
  if (nlhs > 1)
    fail("Wrong number of output arguments");
  const mxArray *A = prhs[0], *P = prhs[1];
  const std::size_t n = kelvara::square_weights(A);
  const mwIndex *jc = mxGetJc(A), *ir = mxGetIr(A);
  const double *v = mxGetPr(A);
  const double *p = kelvara::vertex_values(P, n, "Second argument");

  owned perm = vector(n, mxUINT32_CLASS), invp = vector(n, mxUINT32_CLASS);
  std::uint32_t *q = static_cast<std::uint32_t *>(mxGetData(perm.get()));
  std::uint32_t *iq = static_cast<std::uint32_t *>(mxGetData(invp.get()));
  for (std::size_t i = 0; i < n; ++i)
    iq[i] = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < n; ++i) {
    if (!(p[i] >= 1 && p[i] <= static_cast<double>(n)) || p[i] != static_cast<double>(static_cast<std::size_t>(p[i])) ||
        iq[static_cast<std::size_t>(p[i]) - 1] != 0xFFFFFFFFu)
      fail("Second argument must be a permutation of 1 to the order of the first");
    q[i] = static_cast<std::uint32_t>(p[i] - 1);
    iq[q[i]] = static_cast<std::uint32_t>(i);
  }
  const std::size_t nzA = at(jc, n);
  kelvara::scratch<std::size_t> cp(n + 1), lp(n + 1), cnt(n), next(n);
  kelvara::scratch<std::uint32_t> ci(nzA), parent(n), flag(n), pattern(n);
  kelvara::scratch<double> cx(nzA), d(n), y(n);
  if (!cp || !lp || !cnt || !next || !ci || !parent || !flag || !pattern || !cx || !d || !y)
    fail("%s", oom);
  permuted(n, jc, ir, v, q, iq, cp.get(), ci.get(), cx.get());
  kelvara::ldl_tree(n, cp.get(), ci.get(), parent.get(), cnt.get(), flag.get());
  lp[0] = 0;
  for (std::size_t k = 0; k < n; ++k)
    lp[k + 1] = lp[k] + cnt[k];
  const std::size_t nz = lp[n] + n;
  if (nz > 0xFFFFFFFFu)
    fail("Too many entries for 32-bit row starts");
  kelvara::scratch<std::uint32_t> li(lp[n]);
  kelvara::scratch<double> lx(lp[n]);
  if (!li || !lx)
    fail("%s", oom);
  double big = 0;
  for (std::size_t k = 0; k < n; ++k)
    for (std::size_t t = cp[k]; t < cp[k + 1]; ++t)
      if (ci[t] == k)
        big = std::fmax(big, std::fabs(cx[t]));
  // not numerically positive definite: factor again with a shift of round-off size
  for (double shift : {0.0, 1e-12 * big}) {
    if (kelvara::ldl_numeric(n, cp.get(), ci.get(), cx.get(), shift, lp.get(), parent.get(),
                             cnt.get(), li.get(), lx.get(), d.get(), y.get(), pattern.get(),
                             flag.get()) == n)
      break;
    if (shift > 0 || big == 0)
      fail("Matrix must be positive definite");
  }

  owned la = vector(nz, mxDOUBLE_CLASS), lia = vector(n + 1, mxUINT32_CLASS), lja = vector(nz, mxUINT32_CLASS);
  lower(n, lp.get(), li.get(), lx.get(), d.get(), next.get(), mxGetPr(la.get()),
        static_cast<std::uint32_t *>(mxGetData(lia.get())), static_cast<std::uint32_t *>(mxGetData(lja.get())));
  owned ua = vector(nz, mxDOUBLE_CLASS), uia = vector(n + 1, mxUINT32_CLASS), uja = vector(nz, mxUINT32_CLASS);
  upper(n, lp.get(), li.get(), lx.get(), mxGetPr(ua.get()), static_cast<std::uint32_t *>(mxGetData(uia.get())),
        static_cast<std::uint32_t *>(mxGetData(uja.get())));
  static const char *fields[] = {"ld", "ldT", "p", "invp"};
  owned F(made(mxCreateStructMatrix(1, 1, 4, fields), oom));
  mxSetField(F.get(), 0, "ld", rows(std::move(la), std::move(lia), std::move(lja), n).release());
  mxSetField(F.get(), 0, "ldT", rows(std::move(ua), std::move(uia), std::move(uja), n).release());
  mxSetField(F.get(), 0, "p", perm.release());
  mxSetField(F.get(), 0, "invp", invp.release());
  plhs[0] = F.release();
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { ldl_rows(nlhs, plhs, nrhs, prhs); });
}
