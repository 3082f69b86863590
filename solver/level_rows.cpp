// [a, ia, ja] = level_rows(W, d, single): the level matrix diag(d) - W of
// a Hierarchy, for the symmetric weighted graph W (its diagonal ignored), in
// rows: row i holds d(i) first, then -W(j,i) for every stored j > i in
// ascending order.  a is of class single when single is true, else double;
// ia (n+1 row starts) and ja (the column of each entry, the diagonal's own)
// are uint32 and 0-based.
#include "args.h"
#include "gateway.h"
#include "graph_args.h"

#include <cstdint>

namespace {

using kelvara::at;
using kelvara::fail;

// ia[i+1] - ia[i] = 1 + the entries of column i of the n-by-n (jc, ir)
// below the diagonal; ia[0] = 0.
void starts(std::size_t n, const mwIndex *jc, const mwIndex *ir, std::uint32_t *ia)
{
  ia[0] = 0;
  for (std::size_t i = 0; i < n; ++i) {
    std::size_t below = 0;
    for (std::size_t k = at(jc, i); k < at(jc, i + 1); ++k)
      below += at(ir, k) > i;
    ia[i + 1] = static_cast<std::uint32_t>(ia[i] + 1 + below);
  }
}

// Row i into a, ja from ia: d[i] first, then -w of column i below the diagonal.
template <class Real>
void fill(std::size_t n, const mwIndex *jc, const mwIndex *ir, const double *w, const double *d,
          const std::uint32_t *ia, Real *a, std::uint32_t *ja)
{
  for (std::size_t i = 0; i < n; ++i) {
    std::size_t p = ia[i];
    a[p] = static_cast<Real>(d[i]);
    ja[p++] = static_cast<std::uint32_t>(i);
    for (std::size_t k = at(jc, i); k < at(jc, i + 1); ++k)
      if (at(ir, k) > i) {
        a[p] = static_cast<Real>(-w[k]);
        ja[p++] = static_cast<std::uint32_t>(at(ir, k));
      }
  }
}

void level_rows(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 3)
    fail("Wrong number of input arguments");
  if (nlhs > 3)
    fail("Wrong number of output arguments");
  const mxArray *W = prhs[0];
  const std::size_t n = kelvara::square_weights(W);
  const double *d = kelvara::vertex_values(prhs[1], n, "Second argument");
  if (!kelvara::is_number_class(prhs[2]) || mxGetNumberOfElements(prhs[2]) != 1)
    fail("Third argument must be a scalar, true for single precision");
  const bool single = mxGetScalar(prhs[2]) != 0;
  const mwIndex *jc = mxGetJc(W), *ir = mxGetIr(W);
  if (at(jc, n) + n > 0xFFFFFFFFu)
    fail("Too many entries for 32-bit row starts");

  kelvara::owned ia(kelvara::made(mxCreateNumericMatrix(n + 1, 1, mxUINT32_CLASS, mxREAL), "Out of memory"));
  std::uint32_t *s = static_cast<std::uint32_t *>(mxGetData(ia.get()));
  starts(n, jc, ir, s);
  const std::size_t m = s[n];
  kelvara::owned a(kelvara::made(
      mxCreateNumericMatrix(m, 1, single ? mxSINGLE_CLASS : mxDOUBLE_CLASS, mxREAL), "Out of memory"));
  kelvara::owned ja(kelvara::made(mxCreateNumericMatrix(m, 1, mxUINT32_CLASS, mxREAL), "Out of memory"));
  std::uint32_t *j = static_cast<std::uint32_t *>(mxGetData(ja.get()));
  if (single)
    fill(n, jc, ir, mxGetPr(W), d, s, static_cast<float *>(mxGetData(a.get())), j);
  else
    fill(n, jc, ir, mxGetPr(W), d, s, mxGetPr(a.get()), j);
  plhs[0] = a.release();
  kelvara::store(nlhs, plhs, 1, ia.release());
  kelvara::store(nlhs, plhs, 2, ja.release());
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { level_rows(nlhs, plhs, nrhs, prhs); });
}
