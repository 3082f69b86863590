// F = ldl_rows(R, p): the "chol" field of a Hierarchy's last level from the
// Cholesky factor R (sparse upper triangular, R'*R = A(p,p)) of its matrix
// A under the order p (a permutation of 1..n).  With r the diagonal of R,
// A(p,p) = L*D*L' for the unit lower L = R'*diag(1./r) and D = diag(r.^2):
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

#include <cstdint>

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

// The rows of L into (a, ia, ja): row i is column i of R above the
// diagonal, each R(j,i) times 1/R(j,j), then the pivot R(i,i)^2.
void lower(std::size_t n, const mwIndex *jc, const mwIndex *ir, const double *v, const double *inv,
           double *a, std::uint32_t *ia, std::uint32_t *ja)
{
  ia[0] = 0;
  for (std::size_t i = 0; i < n; ++i) {
    std::size_t p = ia[i];
    const std::size_t last = at(jc, i + 1) - 1;
    for (std::size_t k = at(jc, i); k < last; ++k) {
      a[p] = v[k] * inv[at(ir, k)];
      ja[p++] = static_cast<std::uint32_t>(at(ir, k));
    }
    a[p] = v[last] * v[last];
    ja[p++] = static_cast<std::uint32_t>(i);
    ia[i + 1] = static_cast<std::uint32_t>(p);
  }
}

// The rows of L' into (a, ia, ja): row j a slot of 1, then R(j,i) times
// 1/R(j,j) for every column i > j holding row j, columns ascending; next
// (n entries) holds each row's next free position.
void upper(std::size_t n, const mwIndex *jc, const mwIndex *ir, const double *v, const double *inv,
           std::size_t *next, double *a, std::uint32_t *ia, std::uint32_t *ja)
{
  for (std::size_t j = 0; j <= n; ++j)
    ia[j] = 0;
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t k = at(jc, i); k + 1 < at(jc, i + 1); ++k)
      ++ia[at(ir, k) + 1];
  for (std::size_t j = 0; j < n; ++j)
    ia[j + 1] += ia[j] + 1;
  for (std::size_t j = 0; j < n; ++j) {
    a[ia[j]] = 1;
    ja[ia[j]] = static_cast<std::uint32_t>(j);
    next[j] = ia[j] + 1;
  }
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t k = at(jc, i); k + 1 < at(jc, i + 1); ++k) {
      const std::size_t j = at(ir, k), p = next[j]++;
      a[p] = v[k] * inv[j];
      ja[p] = static_cast<std::uint32_t>(i);
    }
}

void ldl_rows(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 2)
    fail("Wrong number of input arguments");
  if (nlhs > 1)
    fail("Wrong number of output arguments");
  const mxArray *R = prhs[0], *P = prhs[1];
  const std::size_t n = kelvara::square_weights(R);
  const mwIndex *jc = mxGetJc(R), *ir = mxGetIr(R);
  const double *v = mxGetPr(R);
  for (std::size_t i = 0; i < n; ++i)
    if (at(jc, i + 1) == at(jc, i) || at(ir, at(jc, i + 1) - 1) != i || !(v[at(jc, i + 1) - 1] != 0))
      fail("First argument must be upper triangular with a nonzero diagonal");
  const std::size_t nz = at(jc, n);
  if (nz > 0xFFFFFFFFu)
    fail("Too many entries for 32-bit row starts");
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
  kelvara::scratch<double> inv(n);
  kelvara::scratch<std::size_t> next(n);
  if (!inv || !next)
    fail("%s", oom);
  for (std::size_t i = 0; i < n; ++i)
    inv[i] = 1 / v[at(jc, i + 1) - 1];

  owned la = vector(nz, mxDOUBLE_CLASS), lia = vector(n + 1, mxUINT32_CLASS), lja = vector(nz, mxUINT32_CLASS);
  lower(n, jc, ir, v, inv.get(), mxGetPr(la.get()), static_cast<std::uint32_t *>(mxGetData(lia.get())),
        static_cast<std::uint32_t *>(mxGetData(lja.get())));
  owned ua = vector(nz, mxDOUBLE_CLASS), uia = vector(n + 1, mxUINT32_CLASS), uja = vector(nz, mxUINT32_CLASS);
  upper(n, jc, ir, v, inv.get(), next.get(), mxGetPr(ua.get()), static_cast<std::uint32_t *>(mxGetData(uia.get())),
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
