// L = ladder_validate_double(H, b, check): the unpacking of a ladder_double
// call, and with check nonzero its validation, without the cycle (the
// difference of the two times is what the checks cost); L is the number of
// levels used.
#include "gateway.h"
#include "unpack.h"

#include <vector>

void mexFunction(int, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] {
    if (nrhs != 3)
      kelvara::fail("usage: ladder_validate_double(H, b, check)");
    const std::vector<LevelRecord> levels = unpack(prhs[0]);
    if (mxGetScalar(prhs[2]) != 0)
      validate(levels.data(), levels.size(), static_cast<const double *>(mxGetData(prhs[1])),
               mxGetM(prhs[1]));
    plhs[0] = mxCreateDoubleScalar(static_cast<double>(levels.size()));
  });
}
