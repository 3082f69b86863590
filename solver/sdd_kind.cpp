// [kind, i, j] = sdd_kind(A): what the real sparse square matrix A is, for
// the solver, in one pass over each column without forming a transpose:
//    0  symmetric and diagonally dominant, no positive off-diagonal entry;
//    1  the same with a positive off-diagonal entry;
//    2  symmetric only up to round-off (no entry differs from its mirror by
//       more than 1e-12 of their magnitudes): average it with its transpose
//       and ask again;
//   -1  A(i,j) is not finite;
//   -2  A(i,j) differs from A(j,i) beyond round-off;
//   -3  row i (= column i) falls short of dominance by more than 1e-12 of
//       its magnitude.
// i and j are 1-based and name the first failing entry or row in column
// order; 0 when kind is not negative.
#include "args.h"
#include "gateway.h"
#include "graph_args.h"

#include <algorithm>
#include <cmath>

namespace {

using kelvara::at;
using kelvara::fail;

// A(r, c) of the n-by-n (jc, ir, a), 0 where nothing is stored.
double entry(const mwIndex *jc, const mwIndex *ir, const double *a, std::size_t r, std::size_t c)
{
  const mwIndex *b = ir + at(jc, c), *e = ir + at(jc, c + 1);
  const mwIndex *p = std::lower_bound(b, e, static_cast<mwIndex>(r));
  return p != e && at(p, 0) == r ? a[p - ir] : 0.0;
}

// *k, *fi, *fj: the kind of the n-by-n (jc, ir, a) and where it fails.
void classify(std::size_t n, const mwIndex *jc, const mwIndex *ir, const double *a, int *k,
              std::size_t *fi, std::size_t *fj)
{
  *k = 0;
  *fi = *fj = 0;
  for (std::size_t c = 0; c < n; ++c)
    for (std::size_t p = at(jc, c); p < at(jc, c + 1); ++p)
      if (!std::isfinite(a[p])) {
        *k = -1, *fi = at(ir, p) + 1, *fj = c + 1;
        return;
      }
  bool rounded = false, positive = false;
  for (std::size_t c = 0; c < n; ++c) {
    double d = 0, s = 0;
    for (std::size_t p = at(jc, c); p < at(jc, c + 1); ++p) {
      const std::size_t r = at(ir, p);
      if (r == c) {
        d = a[p];
        continue;
      }
      const double m = entry(jc, ir, a, c, r);
      if (m != a[p]) {
        if (!(std::fabs(m - a[p]) <= 1e-12 * (std::fabs(m) + std::fabs(a[p])))) {
          *k = -2, *fi = r + 1, *fj = c + 1;
          return;
        }
        rounded = true;
      }
      s += std::fabs(a[p]);
      positive = positive || a[p] > 0;
    }
    if (d < s - 1e-12 * (std::fabs(d) + s)) {
      *k = -3, *fi = *fj = c + 1;
      return;
    }
  }
  *k = rounded ? 2 : positive ? 1 : 0;
}

void sdd_kind(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 1)
    fail("Wrong number of input arguments");
  if (nlhs > 3)
    fail("Wrong number of output arguments");
  const mxArray *A = prhs[0];
  const std::size_t n = kelvara::square_matrix(A);
  int k = 0;
  std::size_t fi = 0, fj = 0;
  classify(n, mxGetJc(A), mxGetIr(A), mxGetPr(A), &k, &fi, &fj);
  kelvara::owned kind(kelvara::made(mxCreateDoubleScalar(k), "Out of memory"));
  kelvara::owned i(kelvara::made(mxCreateDoubleScalar(static_cast<double>(fi)), "Out of memory"));
  kelvara::owned j(kelvara::made(mxCreateDoubleScalar(static_cast<double>(fj)), "Out of memory"));
  plhs[0] = kind.release();
  kelvara::store(nlhs, plhs, 1, i.release());
  kelvara::store(nlhs, plhs, 2, j.release());
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { sdd_kind(nlhs, plhs, nrhs, prhs); });
}
