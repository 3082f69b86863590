// B = transforms_floor(A): one plain copy of a real sparse double matrix's
// arrays into a new sparse matrix, the least any transform that returns a
// matrix of A's size must do.  Benchmark only.
#include "gateway.h"

#include <cstring>

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] {
    if (nrhs != 1 || !mxIsSparse(prhs[0]) || !mxIsDouble(prhs[0]) || mxIsComplex(prhs[0]))
      kelvara::fail("Input must be a real sparse double matrix");
    const mxArray *A = prhs[0];
    const std::size_t n = mxGetN(A), nz = static_cast<std::size_t>(mxGetJc(A)[n]);
    mxArray *B = kelvara::made(mxCreateSparse(mxGetM(A), n, nz, mxREAL), "Out of memory");
    std::memcpy(mxGetJc(B), mxGetJc(A), (n + 1) * sizeof(mwIndex));
    std::memcpy(mxGetIr(B), mxGetIr(A), nz * sizeof(mwIndex));
    std::memcpy(mxGetPr(B), mxGetPr(A), nz * sizeof(double));
    kelvara::store(nlhs, plhs, 0, B);
  });
}
