// [q, m] = pair_groups(W, g): groups of at most two vertices of the weighted
// graph W, for aggregation.  Every vertex outside the mask g, in ascending
// order and not yet grouped, is paired with its heaviest ungrouped
// neighbour outside g whose edge is strong for both ends (at least a
// quarter of either end's heaviest edge), or stays alone.  q (uint32, n-by-1)
// holds each vertex's 0-based group, m the number of groups; vertices of g
// get group m, the ground that takes part in no group.
#include "args.h"
#include "gateway.h"
#include "graph_args.h"

#include <cstdint>

namespace {

using kelvara::fail;

const std::uint32_t none = 0xFFFFFFFFu;
const double strong = 0.25;

// top[i] = the heaviest weight in column i of the n-by-n matrix (jc, ir, w),
// its diagonal left out; 0 for a column without a positive weight.
void heaviest(std::size_t n, const mwIndex *jc, const mwIndex *ir, const double *w, double *top)
{
  for (std::size_t i = 0; i < n; ++i) {
    double t = 0;
    for (std::size_t k = jc[i]; k < jc[i + 1]; ++k)
      if (ir[k] != i && w[k] > t)
        t = w[k];
    top[i] = t;
  }
}

// q[i] = the pair of vertex i, vertices with g[i] set to the ground group;
// *m = the number of pairs.
void pairs(std::size_t n, const mwIndex *jc, const mwIndex *ir, const double *w,
           const mxLogical *g, const double *top, std::uint32_t *q, std::uint32_t *m)
{
  std::uint32_t next = 0;
  for (std::size_t i = 0; i < n; ++i)
    q[i] = none;
  for (std::size_t i = 0; i < n; ++i) {
    if (g[i] || q[i] != none)
      continue;
    std::size_t best = n;
    double bw = 0;
    for (std::size_t k = jc[i]; k < jc[i + 1]; ++k) {
      const std::size_t j = ir[k];
      if (j == i || g[j] || q[j] != none || !(w[k] > bw))
        continue;
      if (w[k] >= strong * top[i] && w[k] >= strong * top[j]) {
        best = j;
        bw = w[k];
      }
    }
    q[i] = next;
    if (best < n)
      q[best] = next;
    ++next;
  }
  for (std::size_t i = 0; i < n; ++i)
    if (g[i])
      q[i] = next;
  *m = next;
}

void pair_groups(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 2)
    fail("Wrong number of input arguments");
  if (nlhs > 2)
    fail("Wrong number of output arguments");
  const mxArray *W = prhs[0], *G = prhs[1];
  const std::size_t n = kelvara::square_weights(W);
  if (!mxIsLogical(G) || mxIsSparse(G) || mxGetNumberOfElements(G) != n)
    fail("Second argument must be a full logical vector with one entry per vertex");

  kelvara::owned q(kelvara::made(mxCreateNumericMatrix(n, 1, mxUINT32_CLASS, mxREAL), "Out of memory"));
  kelvara::scratch<double> top(n);
  if (!top)
    fail("Out of memory");
  std::uint32_t m = 0;
  heaviest(n, mxGetJc(W), mxGetIr(W), mxGetPr(W), top.get());
  pairs(n, mxGetJc(W), mxGetIr(W), mxGetPr(W), mxGetLogicals(G), top.get(),
        static_cast<std::uint32_t *>(mxGetData(q.get())), &m);
  kelvara::owned count(kelvara::made(mxCreateDoubleScalar(m), "Out of memory"));
  plhs[0] = q.release();
  kelvara::store(nlhs, plhs, 1, count.release());
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { pair_groups(nlhs, plhs, nrhs, prhs); });
}
