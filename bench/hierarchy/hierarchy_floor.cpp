// s = hierarchy_floor(A): the sum of the values of every column of a sparse
// double matrix, in one plain pass over its column starts and values: the
// least a hierarchy kernel that reads every weight must do.  Benchmark only.
#include "gateway.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] {
    if (nrhs != 1 || !mxIsSparse(prhs[0]) || !mxIsDouble(prhs[0]))
      kelvara::fail("Input must be a sparse double matrix");
    const mxArray *A = prhs[0];
    const std::size_t n = mxGetN(A);
    const mwIndex *jc = mxGetJc(A);
    const double *a = mxGetPr(A);
    mxArray *s = kelvara::made(mxCreateDoubleMatrix(n, 1, mxREAL), "Out of memory");
    double *sum = mxGetPr(s);
    for (std::size_t i = 0; i < n; ++i) {
      double t = 0;
      for (std::size_t k = static_cast<std::size_t>(jc[i]); k < static_cast<std::size_t>(jc[i + 1]); ++k)
        t += a[k];
      sum[i] = t;
    }
    kelvara::store(nlhs, plhs, 0, s);
  });
}
