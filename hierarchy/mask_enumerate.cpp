// idx = mask_enumerate(mask): every true entry of the logical vector mask
// numbered by its position among the true entries (1, 2, ...), false
// entries 0.
#include "args.h"
#include "gateway.h"

#include <cstdint>

namespace {

// idx[j] = the 1-based rank of j among the nonzero bytes of x (n entries)
// where x[j] is nonzero; idx (zero-filled) is left 0 elsewhere.
void enumerate(std::size_t n, const unsigned char *x, std::uint32_t *idx)
{
  std::uint32_t counter = 1;
  for (std::size_t j = 0; j < n; ++j)
    if (x[j])
      idx[j] = counter++;
}

void mask_enumerate(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  using kelvara::fail;
  if (nrhs != 1)
    fail("Wrong number of input arguments");
  if (nlhs > 1)
    fail("Wrong number of output arguments");
  const mxArray *X = prhs[0];
  if (!mxIsClass(X, "logical"))
    fail("Input must be a boolean vector");
  if (!kelvara::is_vector(X))
    fail("Input must be a boolean vector");
  if (mxIsSparse(X))
    fail("Input must be a full boolean vector");
  const std::size_t n = mxGetNumberOfElements(X);
  if (n > 0xFFFFFFFFu)
    fail("Vector too long for 32-bit positions");

  mxArray *idx = kelvara::made(
      mxCreateNumericMatrix(mxGetM(X), mxGetN(X), mxUINT32_CLASS, mxREAL), "Out of memory");
  plhs[0] = idx;
  enumerate(n, static_cast<const unsigned char *>(mxGetData(X)),
            static_cast<std::uint32_t *>(mxGetData(idx)));
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { mask_enumerate(nlhs, plhs, nrhs, prhs); });
}
