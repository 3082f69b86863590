// [ok, i] = ladder_grounding(A, g, doubled): whether the labels g (uint32,
// one per vertex of the system the solver runs: n for the real sparse
// square double A, 2n for its cover when doubled is true) mark exactly
// whole components without diagonal excess, as ladder_build numbers the
// singular components of a Hierarchy: every stored edge joins vertices of
// one label, and no labelled row has an excess (its diagonal less the
// magnitudes of its off-diagonal entries) above 1e-12 of the row.  In the
// cover, a negative entry A(r,c) joins r with c and n+r with n+c, a
// positive one r with n+c and n+r with c; each of its rows repeats a row of
// A.  One pass over A's stored entries.  i is the 1-based row of A where
// the labels first fail, 0 when ok.
#include "args.h"
#include "gateway.h"
#include "graph_args.h"

#include <cmath>
#include <cstdint>

namespace {

using kelvara::at;
using kelvara::fail;

// The first 1-based column of the n-by-n (jc, ir, a) whose entries join
// differently labelled vertices, or whose labelled rows carry an excess;
// 0 when there is none.  g holds n labels, or 2n when doubled.
std::size_t first_fault(std::size_t n, const mwIndex *jc, const mwIndex *ir, const double *a,
                        const std::uint32_t *g, bool doubled)
{
  for (std::size_t c = 0; c < n; ++c) {
    double d = 0, s = 0;
    bool joined = true;
    for (std::size_t k = at(jc, c); k < at(jc, c + 1); ++k) {
      const std::size_t r = at(ir, k);
      if (r == c) {
        d = a[k];
        continue;
      }
      if (a[k] == 0)
        continue;
      s += std::fabs(a[k]);
      if (!doubled)
        joined = joined && g[r] == g[c];
      else if (a[k] < 0)
        joined = joined && g[r] == g[c] && g[n + r] == g[n + c];
      else
        joined = joined && g[r] == g[n + c] && g[n + r] == g[c];
    }
    const bool labelled = g[c] != 0 || (doubled && g[n + c] != 0);
    if (!joined || (labelled && d - s > 1e-12 * (std::fabs(d) + s)))
      return c + 1;
  }
  return 0;
}

void ladder_grounding(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 3)
    fail("Wrong number of input arguments");
  if (nlhs > 2)
    fail("Wrong number of output arguments");
  const mxArray *A = prhs[0], *G = prhs[1], *D = prhs[2];
  if (!kelvara::is_sparse_double(A) || mxIsComplex(A))
    fail("First argument must be a real sparse double matrix");
  const std::size_t n = mxGetN(A);
  if (mxGetM(A) != n)
    fail("First argument must be square");
  if (!kelvara::is_number_class(D) || mxGetNumberOfElements(D) != 1)
    fail("Third argument must be a scalar, true for a doubled system");
  const bool doubled = mxGetScalar(D) != 0;
  if (mxGetClassID(G) != mxUINT32_CLASS || mxIsComplex(G) || !kelvara::is_vector(G) ||
      mxGetNumberOfElements(G) != (doubled ? 2 * n : n))
    fail("Second argument must be a uint32 vector of %s labels", doubled ? "2n" : "n");
  const std::size_t i = first_fault(n, mxGetJc(A), mxGetIr(A), mxGetPr(A),
                                    static_cast<const std::uint32_t *>(mxGetData(G)), doubled);
  kelvara::owned ok(kelvara::made(mxCreateLogicalMatrix(1, 1), "Out of memory"));
  *mxGetLogicals(ok.get()) = i == 0;
  kelvara::owned at_row(kelvara::made(mxCreateDoubleScalar(static_cast<double>(i)), "Out of memory"));
  plhs[0] = ok.release();
  kelvara::store(nlhs, plhs, 1, at_row.release());
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { ladder_grounding(nlhs, plhs, nrhs, prhs); });
}
