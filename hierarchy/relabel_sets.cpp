// [Q, deg] = relabel_sets(A, G): the parent vector G with every vertex made a
// root of its own (Q[j] = j) whose edges to the vertex it names and to the
// vertices naming it weigh less than one eighth of its weighted degree in A;
// deg holds the weighted degrees.
#include "args.h"
#include "gateway.h"
#include "parents.h"

#include <cstdint>

namespace {

const char *const full = "Unsufficient memory";

// For the n-by-n matrix (jc, ir, a) and the parent vector g: deg[i] = the
// sum of column i; gw[v] = the weight of the entries that join v to g[v] and
// to every vertex naming v (gw has n entries); q[j] = j where gw[j] / deg[j]
// < 1/8, else g[j].  A column holds at most one entry in row g[i]; its
// position is found without a branch per entry and its weight added once
// the column is summed, which is the same order of additions.
void regroup(std::size_t n, const mwIndex *jc, const mwIndex *ir, const double *a,
             const std::uint32_t *g, double *gw, std::uint32_t *q, double *deg)
{
  for (std::size_t i = 0; i < n; ++i)  // gw is null when n = 0: no fill through it
    gw[i] = 0;
  for (std::size_t i = 0; i < n; ++i) {
    double sum = 0;
    const std::size_t gi = g[i], begin = static_cast<std::size_t>(jc[i]);
    const std::size_t end = static_cast<std::size_t>(jc[i + 1]);
    std::size_t hit = end;
    for (std::size_t k = begin; k < end; ++k) {
      sum += a[k];
      hit = static_cast<std::size_t>(ir[k]) == gi ? k : hit;
    }
    if (hit != end) {
      gw[i] += a[hit];
      gw[gi] += a[hit];
    }
    deg[i] = sum;
  }
  for (std::size_t j = 0; j < n; ++j)
    q[j] = gw[j] / deg[j] < 0.125 ? static_cast<std::uint32_t>(j) : g[j];
}

void relabel_sets(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  using kelvara::fail;
  if (nrhs != 2)
    fail("Wrong number of input arguments");
  if (nlhs != 2)
    fail("Wrong number of output arguments");
  const mxArray *A = prhs[0], *G = prhs[1];
  if (!mxIsSparse(A))
    fail("First input must be a sparse matrix");
  const std::uint32_t *g = kelvara::parent_vector(G, "Second input must be a vector");
  const double *a = kelvara::weights(A);
  const std::size_t n = mxGetN(A);
  if (mxGetM(A) != n)
    fail("First input must be a square matrix");
  if (mxGetNumberOfElements(G) != n)
    fail("Second input must have one entry per column of the first");
  kelvara::fits_parents(n);

  kelvara::owned q(kelvara::made(
      mxCreateNumericMatrix(mxGetM(G), mxGetN(G), mxUINT32_CLASS, mxREAL), full));
  kelvara::owned deg(kelvara::made(mxCreateDoubleMatrix(n, 1, mxREAL), full));
  kelvara::scratch<double> gw(n);
  if (!gw)
    fail("%s", full);
  regroup(n, mxGetJc(A), mxGetIr(A), a, g, gw.get(),
          static_cast<std::uint32_t *>(mxGetData(q.get())), mxGetPr(deg.get()));
  plhs[0] = q.release();
  plhs[1] = deg.release();
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { relabel_sets(nlhs, plhs, nrhs, prhs); });
}
