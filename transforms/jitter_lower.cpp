// B = jitter_lower(A, lo, hi): A's pattern with every stored entry strictly
// below the diagonal multiplied by its own random factor, uniform between lo
// and hi, and every stored entry on or above the diagonal set to zero.  The
// nnz(A) random numbers come from one call of the host's "rand".  Only the
// real parts are written; a complex A keeps its imaginary parts.
#include "args.h"
#include "gateway.h"
#include "pattern.h"

namespace {

using kelvara::fail;
using kelvara::owned;

// x[p] = ((hi - lo) * r[p] + lo) * a[p] for the entries below the diagonal
// of the n columns jc, ir, and x[p] = 0 for those on or above it.
void jitter(std::size_t n, const mwIndex *jc, const mwIndex *ir, const double *r, double lo,
            double hi, const double *a, double *x)
{
  for (std::size_t c = 0; c < n; ++c)
    for (std::size_t p = static_cast<std::size_t>(jc[c]); p < static_cast<std::size_t>(jc[c + 1]);
         ++p)
      x[p] = static_cast<std::size_t>(ir[p]) > c ? ((hi - lo) * r[p] + lo) * a[p] : 0.0;
}

// A full double array with one column and at least one row.
bool column_value(const mxArray *a)
{
  return kelvara::is_full_double(a) && mxGetN(a) == 1 && mxGetM(a) > 0;
}

void jitter_lower(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 3)
    fail("Wrong number of input arguments");
  if (nlhs > 1)
    fail("Wrong number of output arguments");
  const mxArray *A = prhs[0];
  if (!mxIsSparse(A))
    fail("Input must be a sparse matrix");
  // A 0-by-1 range bound holds no value to read: refused like a row.
  if (!column_value(prhs[1]) || !column_value(prhs[2]))
    fail("Second and third arguments must be scalars");
  const double lo = mxGetPr(prhs[1])[0], hi = mxGetPr(prhs[2])[0];
  if (hi <= lo)
    fail("Third argument must be larger than second");
  const std::size_t n = kelvara::columns(A);
  if (mxGetM(A) != n)
    fail("Input must be symmetric");
  // A sparse logical A holds bytes, and the result is A's own class.
  if (!kelvara::is_sparse_double(A))
    fail("Input must be a sparse double matrix");

  owned B(kelvara::made(kelvara::same_pattern(A, n), "Out of memory"));
  const std::size_t m = kelvara::stored(A);
  owned count(kelvara::made(mxCreateDoubleScalar(static_cast<double>(m)), "Out of memory"));
  owned one(kelvara::made(mxCreateDoubleScalar(1), "Out of memory"));
  mxArray *in[2] = {count.get(), one.get()}, *out = nullptr;
  mexCallMATLAB(1, &out, 2, in, "rand");
  owned R(out);
  // A user function shadowing rand may answer with anything.
  if (!R || !kelvara::is_full_double(R.get()) || mxIsComplex(R.get()) ||
      mxGetNumberOfElements(R.get()) < m)
    fail("rand must return a real double array of at least %zu elements", m);

  jitter(n, mxGetJc(A), mxGetIr(A), mxGetPr(R.get()), lo, hi, mxGetPr(A), mxGetPr(B.get()));
  R.reset();
  count.reset();
  one.reset();
  kelvara::store(nlhs, plhs, 0, B.release());
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { jitter_lower(nlhs, plhs, nrhs, prhs); });
}
