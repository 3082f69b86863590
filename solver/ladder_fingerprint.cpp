// f = ladder_fingerprint(A): a 64-bit fingerprint (uint64 scalar) of the real
// sparse square double matrix A, in one pass over its stored entries.  Each
// nonzero value is mixed with its row and column, and the mixed entries are
// summed with the order mixed in, so that a matrix of another order, another
// pattern, or the same pattern with any value changed, moved or swapped gives
// another fingerprint (but for a chance of about 2^-64).  Stored zeros count
// as absent.  ladder_build stores it in the Hierarchy and ladder_solve checks
// a reused Hierarchy against the matrix it is given.
#include "args.h"
#include "gateway.h"
#include "graph_args.h"

#include <cstdint>
#include <cstring>

namespace {

using kelvara::at;
using kelvara::fail;

// A bijective 64-bit mix whose every output bit depends on every input bit.
std::uint64_t mix(std::uint64_t z)
{
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
  return z ^ (z >> 31);
}

// The fingerprint of the n-by-n (jc, ir, a): the order's mix plus, for every
// nonzero a[k] at (ir[k], j), a mix of its bits with a mix of its position.
std::uint64_t fingerprint(std::size_t n, const mwIndex *jc, const mwIndex *ir, const double *a)
{
  std::uint64_t h = mix(n + 0x9e3779b97f4a7c15u);
  for (std::size_t j = 0; j < n; ++j) {
    const std::uint64_t col = mix(j) * 0xd6e8feb86659fd93u;
    for (std::size_t k = at(jc, j); k < at(jc, j + 1); ++k) {
      if (a[k] == 0)
        continue;
      std::uint64_t bits;
      std::memcpy(&bits, &a[k], sizeof bits);
      h += mix(mix(bits) ^ (col + at(ir, k)));
    }
  }
  return h;
}

void ladder_fingerprint(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 1)
    fail("Wrong number of input arguments");
  if (nlhs > 1)
    fail("Wrong number of output arguments");
  const mxArray *A = prhs[0];
  const std::size_t n = kelvara::square_matrix(A);
  kelvara::owned f(kelvara::made(mxCreateNumericMatrix(1, 1, mxUINT64_CLASS, mxREAL),
                                 "Out of memory"));
  *static_cast<std::uint64_t *>(mxGetData(f.get())) =
      fingerprint(n, mxGetJc(A), mxGetIr(A), mxGetPr(A));
  plhs[0] = f.release();
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { ladder_fingerprint(nlhs, plhs, nrhs, prhs); });
}
