// The least a hierarchy kernel must do, one plain pass over what it reads,
// for the benchmark to compare against.  Benchmark only.
//   s = hierarchy_floor(A): the sum of the values of every column of a
//       sparse double matrix (column starts and values).
//   s = hierarchy_floor(A, "rows"): the sum of the off-diagonal values of
//       every column (column starts, row indices and values).
//   Q = hierarchy_floor(P): a copy of the uint32 vector P, of its shape.
#include "gateway.h"

#include <cstring>

namespace {

// sum[i] = the values of column i of (jc, a), or with ir only those off the
// diagonal, for the n columns.
void column_sums(std::size_t n, const mwIndex *jc, const mwIndex *ir, const double *a, double *sum)
{
  for (std::size_t i = 0; i < n; ++i) {
    double t = 0;
    const std::size_t end = static_cast<std::size_t>(jc[i + 1]);
    if (ir)
      for (std::size_t k = static_cast<std::size_t>(jc[i]); k < end; ++k)
        t += static_cast<std::size_t>(ir[k]) != i ? a[k] : 0.0;
    else
      for (std::size_t k = static_cast<std::size_t>(jc[i]); k < end; ++k)
        t += a[k];
    sum[i] = t;
  }
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] {
    if (nrhs < 1)
      kelvara::fail("One or two inputs required");
    const mxArray *A = prhs[0];
    if (mxGetClassID(A) == mxUINT32_CLASS) {
      mxArray *q = kelvara::made(
          mxCreateNumericMatrix(mxGetM(A), mxGetN(A), mxUINT32_CLASS, mxREAL), "Out of memory");
      std::memcpy(mxGetData(q), mxGetData(A), mxGetNumberOfElements(A) * 4);
      kelvara::store(nlhs, plhs, 0, q);
      return;
    }
    if (!mxIsSparse(A) || !mxIsDouble(A))
      kelvara::fail("Input must be a sparse double matrix or a uint32 vector");
    const std::size_t n = mxGetN(A);
    mxArray *s = kelvara::made(mxCreateDoubleMatrix(n, 1, mxREAL), "Out of memory");
    column_sums(n, mxGetJc(A), nrhs > 1 ? mxGetIr(A) : nullptr, mxGetPr(A), mxGetPr(s));
    kelvara::store(nlhs, plhs, 0, s);
  });
}
