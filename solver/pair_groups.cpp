// [q, m] = pair_groups(W, d, g, worst): groups of the weighted graph W, for
// aggregation: pairs, and vertices that found no partner joined to a
// neighbouring group.  Every vertex outside the mask g, in ascending order
// and not yet grouped, is paired with the ungrouped neighbour j outside g
// that makes the best pair.  A pair's badness d(i)*d(j) / (W(i,j)*(d(i)+d(j))),
// for the smoothing diagonal d, bounds how much of an error that is smooth
// inside the pair one sweep can leave; only pairs of badness at most worst
// (8 when absent) are made, so that no group spans a weak edge between two
// strong clusters.  q (uint32, n-by-1) holds each vertex's 0-based group, m
// the number of groups; vertices of g get group m, the ground that takes
// part in no group.
#include "args.h"
#include "gateway.h"
#include "graph_args.h"

#include <cstdint>

namespace {

using kelvara::at;
using kelvara::fail;

const std::uint32_t none = 0xFFFFFFFFu;

// The badness of joining a vertex or group of diagonal a to one of diagonal
// b across the weight w: the share of an error smooth inside the pair that
// one sweep can leave.
inline double badness(double a, double b, double w) { return a * b / (w * (a + b)); }

// q[i] = the group of vertex i of the n-by-n graph (jc, ir, w) with
// diagonal d, and *m = the number of groups, made in two sweeps: the first
// pairs every vertex with the ungrouped neighbour of least badness, the
// second lets a vertex left without a partner join its neighbours' group of
// least badness (gd, n entries, holds each group's summed diagonal), within
// badness worst and worst/4 (a third member weakens a pair more than a
// partner does); a vertex that finds none is a group of its own.
// Vertices with g[i] set get group *m, the ground.
void pairs(std::size_t n, const mwIndex *jc, const mwIndex *ir, const double *w, const double *d,
           const mxLogical *g, double worst, double *gd, std::uint32_t *q, std::uint32_t *m)
{
  std::uint32_t next = 0;
  for (std::size_t i = 0; i < n; ++i)
    q[i] = none;
  for (std::size_t i = 0; i < n; ++i) {
    if (g[i] || q[i] != none)
      continue;
    std::size_t best = n;
    double bad = worst;
    for (std::size_t k = at(jc, i); k < at(jc, i + 1); ++k) {
      const std::size_t j = at(ir, k);
      if (j == i || g[j] || q[j] != none || !(w[k] > 0))
        continue;
      const double b = badness(d[i], d[j], w[k]);
      if (b < bad || (b == bad && best == n)) {
        best = j;
        bad = b;
      }
    }
    if (best < n) {
      q[i] = q[best] = next;
      gd[next++] = d[i] + d[best];
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (g[i] || q[i] != none)
      continue;
    std::uint32_t best = none;
    double bad = worst / 4;
    for (std::size_t k = at(jc, i); k < at(jc, i + 1); ++k) {
      const std::size_t j = at(ir, k);
      if (j == i || g[j] || q[j] == none || !(w[k] > 0))
        continue;
      const double b = badness(d[i], gd[q[j]], w[k]);
      if (b < bad || (b == bad && best == none)) {
        best = q[j];
        bad = b;
      }
    }
    if (best == none) {
      best = next++;
      gd[best] = 0;
    }
    q[i] = best;
    gd[best] += d[i];
  }
  for (std::size_t i = 0; i < n; ++i)
    if (g[i])
      q[i] = next;
  *m = next;
}

void pair_groups(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 3 && nrhs != 4)
    fail("Wrong number of input arguments");
  if (nlhs > 2)
    fail("Wrong number of output arguments");
  const mxArray *W = prhs[0], *D = prhs[1], *G = prhs[2];
  const std::size_t n = kelvara::square_weights(W);
  const double *d = kelvara::vertex_values(D, n, "Second argument");
  if (!mxIsLogical(G) || mxIsSparse(G) || mxGetNumberOfElements(G) != n)
    fail("Third argument must be a full logical vector with one entry per vertex");
  const double worst = nrhs == 4 && kelvara::is_number_class(prhs[3]) && mxGetNumberOfElements(prhs[3]) == 1
                           ? mxGetScalar(prhs[3])
                           : nrhs == 4 ? -1 : 8;
  if (!(worst > 0))
    fail("Fourth argument must be a positive scalar");

  kelvara::owned q(kelvara::made(mxCreateNumericMatrix(n, 1, mxUINT32_CLASS, mxREAL), "Out of memory"));
  kelvara::scratch<double> gd(n);
  if (!gd)
    fail("Out of memory");
  std::uint32_t m = 0;
  pairs(n, mxGetJc(W), mxGetIr(W), mxGetPr(W), d, mxGetLogicals(G), worst, gd.get(),
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
