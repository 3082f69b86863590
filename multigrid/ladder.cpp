// x = ladder_single(H, b) / x = ladder_double(H, b): one multigrid cycle of
// the Hierarchy H applied to the right-hand side b, in the element type Real.
#include "gateway.h"
#include "levels.h"
#include "preconditioner.h"
#include "unpack.h"

#include <type_traits>
#include <vector>

namespace {

const bool single = std::is_same<Real, float>::value;

void ladder(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  using kelvara::fail;
  if (nrhs != 2)
    fail("Wrong number of input arguments");
  if (!mxIsCell(prhs[0]))
    fail("First argument must be a Hierarchy cell");
  if ((single ? !mxIsSingle(prhs[1]) : !mxIsDouble(prhs[1])) || mxIsSparse(prhs[1]))
    fail(single ? "Second argument must be a non-sparse single precision vector"
                : "Second argument must be a non-sparse double precision vector");
  if (mxGetN(prhs[1]) != 1)
    fail("Second argument must be a column vector");
  const std::size_t m = mxGetM(prhs[1]);
  const Real *b = static_cast<const Real *>(mxGetData(prhs[1]));

  const std::vector<LevelRecord> levels = unpack(prhs[0]);
  validate(levels.data(), levels.size(), b, m);

  mwSize dims[1] = {static_cast<mwSize>(m)};
  mxArray *x = kelvara::made(
      mxCreateNumericArray(1, dims, single ? mxSINGLE_CLASS : mxDOUBLE_CLASS, mxREAL),
      "Out of memory");
  kelvara::store(nlhs, plhs, 0, x);
  preconditioner(levels.data(), b, 0, 1, static_cast<Real *>(mxGetData(x)));
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { ladder(nlhs, plhs, nrhs, prhs); });
}
