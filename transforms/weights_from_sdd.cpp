// W = weights_from_sdd(L): the adjacency -offdiag(L) of a sparse matrix L
// that stores a diagonal entry in every column; the diagonal is dropped and
// every other stored entry negated.  A sparse logical L is read as values 1
// and 0.
#include "args.h"
#include "gateway.h"

namespace {

using kelvara::fail;

// *k is the first of the n columns lj, li without a stored diagonal entry,
// or n.
void nodiag(std::size_t n, const mwIndex *lj, const mwIndex *li, std::size_t *k)
{
  for (*k = 0; *k < n; ++*k) {
    bool found = false;
    for (std::size_t p = static_cast<std::size_t>(lj[*k]); p < static_cast<std::size_t>(lj[*k + 1]);
         ++p)
      found = found || static_cast<std::size_t>(li[p]) == *k;
    if (!found)
      return;
  }
}

// Column starts, rows and values of -offdiag(L) into wj, wi, wx, from L's n
// columns lj, li, lx, each holding one stored diagonal entry.
template <class T>
void adj(std::size_t n, const mwIndex *lj, const mwIndex *li, const T *lx, mwIndex *wj,
         mwIndex *wi, double *wx)
{
  std::size_t q = 0;
  for (std::size_t k = 0; k < n; ++k) {
    wj[k] = lj[k] - static_cast<mwIndex>(k);
    for (std::size_t p = static_cast<std::size_t>(lj[k]); p < static_cast<std::size_t>(lj[k + 1]);
         ++p)
      if (static_cast<std::size_t>(li[p]) != k) {
        wi[q] = li[p];
        wx[q] = -static_cast<double>(lx[p]);
        ++q;
      }
  }
  wj[n] = lj[n] - static_cast<mwIndex>(n);
}

void weights_from_sdd(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 1)
    fail("Wrong number of input arguments");
  if (nlhs > 1)
    fail("Wrong number of output arguments");
  const mxArray *L = prhs[0];
  if (!mxIsSparse(L))
    fail("Input must be a sparse matrix");
  const std::size_t n = mxGetN(L);
  if (mxGetM(L) != n)
    fail("Input must be symmetric");
  std::size_t missing = n;
  nodiag(n, mxGetJc(L), mxGetIr(L), &missing);
  if (missing < n)
    fail("Laplacian missing a diagonal element");

  mxArray *W = kelvara::made(mxCreateSparse(n, n, kelvara::stored(L) - n, mxREAL),
                             "Out of memory");
  kelvara::store(nlhs, plhs, 0, W);
  if (mxIsLogical(L))
    adj(n, mxGetJc(L), mxGetIr(L), mxGetLogicals(L), mxGetJc(W), mxGetIr(W), mxGetPr(W));
  else
    adj(n, mxGetJc(L), mxGetIr(L), mxGetPr(L), mxGetJc(W), mxGetIr(W), mxGetPr(W));
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { weights_from_sdd(nlhs, plhs, nrhs, prhs); });
}
