// [p, deg, w] = heavy_edge(A[, B]): for every vertex of the weighted graph A,
// its strongest neighbour (a parent vector), its weighted degree and the
// strongest weight; B, of A's pattern, scales the weights for the choice only.
#include "args.h"
#include "gateway.h"
#include "parents.h"

#include <cstdint>

namespace {

// For each column i of the n-by-n matrix (jc, ir, a): deg[i] = the sum of its
// values; p[i] = the row of its first largest positive comparison value
// (a[k], or a[k] * b[k] when b is given), n+1 when none is positive; w[i] =
// that value, 0 when none.
void heavy(std::size_t n, const mwIndex *jc, const mwIndex *ir, const double *a,
           const double *b, std::uint32_t *p, double *deg, double *w)
{
  const std::uint32_t none = static_cast<std::uint32_t>(n + 1);
  for (std::size_t i = 0; i < n; ++i) {
    double sum = 0, best = 0;
    std::uint32_t winner = none;
    const std::size_t end = static_cast<std::size_t>(jc[i + 1]);
    for (std::size_t k = static_cast<std::size_t>(jc[i]); k < end; ++k) {
      const double x = a[k];
      const double v = b ? x * b[k] : x;
      sum += x;
      // Selects without a jump, which random weights would mispredict.
      const std::uint32_t win = 0u - static_cast<std::uint32_t>(v > best);
      winner = (static_cast<std::uint32_t>(ir[k]) & win) | (winner & ~win);
      best = v > best ? v : best;
    }
    p[i] = winner;
    deg[i] = sum;
    w[i] = best;
  }
}

void heavy_edge(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  using kelvara::fail;
  if (nrhs != 1 && nrhs != 2)
    fail("Wrong number of input arguments");
  if (nlhs < 1 || nlhs > 3)
    fail("Wrong number of output arguments");
  const mxArray *A = prhs[0];
  const mxArray *B = nrhs == 2 ? prhs[1] : nullptr;
  if (!mxIsSparse(A))
    fail("Input must be a sparse matrix");
  const std::size_t n = mxGetN(A);
  if (mxGetM(A) != n)
    fail("Matrix must be symmetric");
  if (B && (!mxIsSparse(B) || mxGetM(B) != n || mxGetN(B) != n))
    fail("Matrix dimensions must be identical");
  const double *a = kelvara::weights(A);
  const double *b = B ? kelvara::weights(B) : nullptr;
  if (B && kelvara::stored(B) != kelvara::stored(A))
    fail("Matrices must have the same number of stored entries");
  kelvara::fits_parents(n);

  const char *full = "Unsufficient memory";
  kelvara::owned p(kelvara::made(mxCreateNumericMatrix(1, n, mxUINT32_CLASS, mxREAL), full));
  kelvara::owned deg(kelvara::made(mxCreateDoubleMatrix(n, 1, mxREAL), full));
  kelvara::owned w(kelvara::made(mxCreateDoubleMatrix(n, 1, mxREAL), full));
  heavy(n, mxGetJc(A), mxGetIr(A), a, b, static_cast<std::uint32_t *>(mxGetData(p.get())),
        mxGetPr(deg.get()), mxGetPr(w.get()));
  kelvara::store(nlhs, plhs, 0, p.release());
  kelvara::store(nlhs, plhs, 1, deg.release());
  kelvara::store(nlhs, plhs, 2, w.release());
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { heavy_edge(nlhs, plhs, nrhs, prhs); });
}
