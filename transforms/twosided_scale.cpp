// B = twosided_scale(A, v): diag(v) * A * diag(v) on A's pattern, every
// stored entry A(r,c) scaled by v(r) * v(c), stored zeros kept.  Only the
// real parts are scaled; a complex A keeps its imaginary parts.
#include "args.h"
#include "gateway.h"
#include "pattern.h"

namespace {

using kelvara::fail;

// x[p] = (v[min(r,c)] * v[max(r,c)]) * a[p] for the entry at row r = ir[p]
// of column c, over n columns jc: the factor of the smaller index comes
// first, so mirror entries get the identical factor.
void dad(std::size_t n, const mwIndex *jc, const mwIndex *ir, const double *v, const double *a,
         double *x)
{
  for (std::size_t c = 0; c < n; ++c)
    for (std::size_t p = static_cast<std::size_t>(jc[c]); p < static_cast<std::size_t>(jc[c + 1]);
         ++p) {
      const std::size_t r = static_cast<std::size_t>(ir[p]);
      const double s = r < c ? v[r] * v[c] : v[c] * v[r];
      x[p] = s * a[p];
    }
}

void twosided_scale(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 2)
    fail("Wrong number of input arguments");
  if (nlhs > 1)
    fail("Wrong number of output arguments");
  const mxArray *A = prhs[0], *v = prhs[1];
  if (!mxIsSparse(A))
    fail("Input must be a sparse matrix");
  if (!kelvara::is_full_double(v))
    fail("Second arguments must be a full vector");
  const std::size_t n = kelvara::columns(A);
  if (mxGetM(A) != n)
    fail("Input matrix must be square");
  if (!kelvara::is_vector(v))
    fail("Second arguments must be a vector");
  if (mxGetM(v) != n && mxGetN(v) != n)
    fail("Vector dimensions must agree with matrix dimensions");
  // A sparse logical A holds bytes, and the result is A's own class.
  if (!kelvara::is_sparse_double(A))
    fail("Input must be a sparse double matrix");
  // A 1-by-1 A passes with an empty v, which holds no factor for its entry.
  if (mxGetNumberOfElements(v) == 0 && kelvara::stored(A) > 0)
    fail("Second argument must not be empty");

  mxArray *B = kelvara::made(kelvara::same_pattern(A, n), "Out of memory");
  kelvara::store(nlhs, plhs, 0, B);
  dad(n, mxGetJc(A), mxGetIr(A), mxGetPr(v), mxGetPr(A), mxGetPr(B));
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { twosided_scale(nlhs, plhs, nrhs, prhs); });
}
