// L = sdd_from_weights(A, d): the matrix diag(d) - A of a sparse adjacency A
// without stored diagonal, every stored weight negated and one diagonal
// entry per column, d(k), in its sorted place.  A sparse logical A is read
// as weights 1 and 0.
#include "args.h"
#include "gateway.h"

namespace {

using kelvara::fail;

// Column starts, rows and values of diag(d) - A into lj, li, lx, from A's
// n columns aj, ai, ax; *bad is the first column holding a stored diagonal
// entry (its column left unfinished), or n.
template <class T>
void lap(std::size_t n, const mwIndex *aj, const mwIndex *ai, const T *ax, const double *d,
         mwIndex *lj, mwIndex *li, double *lx, std::size_t *bad)
{
  std::size_t q = 0;
  for (std::size_t k = 0; k < n; ++k) {
    lj[k] = aj[k] + static_cast<mwIndex>(k);
    std::size_t p = static_cast<std::size_t>(aj[k]), end = static_cast<std::size_t>(aj[k + 1]);
    for (; p < end && static_cast<std::size_t>(ai[p]) < k; ++p, ++q) {
      li[q] = ai[p];
      lx[q] = -static_cast<double>(ax[p]);
    }
    if (p < end && static_cast<std::size_t>(ai[p]) == k) {
      *bad = k;
      return;
    }
    li[q] = static_cast<mwIndex>(k);
    lx[q] = d[k];
    ++q;
    for (; p < end; ++p, ++q) {
      li[q] = ai[p];
      lx[q] = -static_cast<double>(ax[p]);
    }
  }
  lj[n] = aj[n] + static_cast<mwIndex>(n);
  *bad = n;
}

void sdd_from_weights(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 2)
    fail("Wrong number of input arguments");
  if (nlhs > 1)
    fail("Wrong number of output arguments");
  const mxArray *A = prhs[0], *d = prhs[1];
  if (!mxIsSparse(A))
    fail("Input must be a sparse matrix");
  if (!kelvara::is_full_double(d))
    fail("Second argument must be a non-sparse vector");
  const std::size_t n = mxGetN(A);
  if (mxGetM(A) != n)
    fail("Input must be symmetric");
  if (!((mxGetN(d) == n && mxGetM(d) == 1) || (mxGetM(d) == n && mxGetN(d) == 1)))
    fail("Inconsistent argument dimensions");

  const std::size_t nz = kelvara::stored(A) + n;
  if (!kelvara::fits_index(nz))
    fail("The result has more entries than the host's sparse indices can number");
  kelvara::owned L(kelvara::made(mxCreateSparse(n, n, nz, mxREAL), "Out of memory"));
  std::size_t bad = n;
  if (mxIsLogical(A))
    lap(n, mxGetJc(A), mxGetIr(A), mxGetLogicals(A), mxGetPr(d), mxGetJc(L.get()),
        mxGetIr(L.get()), mxGetPr(L.get()), &bad);
  else
    lap(n, mxGetJc(A), mxGetIr(A), mxGetPr(A), mxGetPr(d), mxGetJc(L.get()), mxGetIr(L.get()),
        mxGetPr(L.get()), &bad);
  if (bad < n)
    fail("Adjacency contains a diagonal element");
  kelvara::store(nlhs, plhs, 0, L.release());
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { sdd_from_weights(nlhs, plhs, nrhs, prhs); });
}
