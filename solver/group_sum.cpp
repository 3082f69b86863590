// [Wc, ec] = group_sum(W, e, q, m): the graph of m groups of the weighted
// graph W with excess e (an edge weight to a ground outside the graph), for
// vertex i in group q(i) (0-based, m for the ground).  Wc(J,K) sums the
// weights between groups J and K; ec(J) sums the excess of J's vertices and
// their weights into the ground.  Weights inside a group drop out, so the
// Laplacian diag(sum(Wc)' + ec) - Wc is P'*(diag(sum(W)' + e) - W)*P for
// the 0/1 map P of the groups, without the cancellation of forming it.
#include "args.h"
#include "gateway.h"
#include "graph_args.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

using kelvara::at;
using kelvara::fail;

// The columns of the coarse graph into cj (m+1 starts), ci, cw, and its
// excess into ec, from the n-by-n graph (jc, ir, w), excess e and groups q.
void sum(std::size_t n, const mwIndex *jc, const mwIndex *ir, const double *w, const double *e,
         const std::uint32_t *q, std::size_t m, std::vector<std::size_t> &cj,
         std::vector<std::uint32_t> &ci, std::vector<double> &cw, double *ec)
{
  std::vector<std::size_t> start(m + 2, 0);
  for (std::size_t i = 0; i < n; ++i)
    ++start[q[i] + 1];
  for (std::size_t J = 0; J <= m; ++J)
    start[J + 1] += start[J];
  std::vector<std::uint32_t> member(start[m]);
  std::vector<std::size_t> fill(start.begin(), start.begin() + m);
  for (std::size_t i = 0; i < n; ++i)
    if (q[i] < m)
      member[fill[q[i]]++] = static_cast<std::uint32_t>(i);
  // each coarse node's running sum beside the last column that touched it,
  // in one cache line
  struct slot {
    std::size_t seen;
    double sum;
  };
  std::vector<slot> acc(m, slot{SIZE_MAX, 0.0});
  std::vector<std::uint32_t> rows;
  ci.reserve(at(jc, n));                // the coarse graph has at most the fine graph's entries
  cw.reserve(at(jc, n));
  cj.reserve(m + 1);
  cj.assign(1, 0);
  for (std::size_t J = 0; J < m; ++J) {
    double x = 0;
    rows.clear();
    for (std::size_t s = start[J]; s < start[J + 1]; ++s) {
      const std::size_t i = member[s];
      x += e[i];
      for (std::size_t k = at(jc, i); k < at(jc, i + 1); ++k) {
        const std::size_t K = q[at(ir, k)];
        if (K == m)
          x += w[k];
        else if (K != J && at(ir, k) != i) {
          if (acc[K].seen != J) {
            acc[K] = slot{J, 0.0};
            rows.push_back(static_cast<std::uint32_t>(K));
          }
          acc[K].sum += w[k];
        }
      }
    }
    std::sort(rows.begin(), rows.end());
    for (std::uint32_t K : rows) {
      ci.push_back(K);
      cw.push_back(acc[K].sum);
    }
    cj.push_back(ci.size());
    ec[J] = x;
  }
}

void group_sum(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 4)
    fail("Wrong number of input arguments");
  if (nlhs > 2)
    fail("Wrong number of output arguments");
  const mxArray *W = prhs[0], *E = prhs[1], *Q = prhs[2], *M = prhs[3];
  const std::size_t n = kelvara::square_weights(W);
  const double *e = kelvara::vertex_values(E, n, "Second argument");
  if (mxGetClassID(Q) != mxUINT32_CLASS || mxGetNumberOfElements(Q) != n)
    fail("Third argument must be a uint32 vector with one entry per vertex");
  const double md = kelvara::is_number_class(M) && mxGetNumberOfElements(M) == 1 ? mxGetScalar(M) : -1;
  if (!(md >= 0 && md <= static_cast<double>(kelvara::max_groups)) || md != static_cast<double>(static_cast<std::size_t>(md)))
    fail("Fourth argument must be a whole number of groups below 2^32 - 1");
  const std::size_t m = static_cast<std::size_t>(md);
  const std::uint32_t *q = static_cast<const std::uint32_t *>(mxGetData(Q));
  for (std::size_t i = 0; i < n; ++i)
    if (q[i] > m)
      fail("Group numbers must be below the group count, or equal to it for the ground");

  kelvara::owned ec(kelvara::made(mxCreateDoubleMatrix(m, 1, mxREAL), "Out of memory"));
  std::vector<std::size_t> cj;
  std::vector<std::uint32_t> ci;
  std::vector<double> cw;
  sum(n, mxGetJc(W), mxGetIr(W), mxGetPr(W), e, q, m, cj, ci, cw, mxGetPr(ec.get()));
  kelvara::owned Wc(kelvara::made(mxCreateSparse(m, m, ci.size(), mxREAL), "Out of memory"));
  mwIndex *wj = mxGetJc(Wc.get()), *wi = mxGetIr(Wc.get());
  double *wx = mxGetPr(Wc.get());
  for (std::size_t J = 0; J <= m; ++J)
    wj[J] = cj[J];
  for (std::size_t k = 0; k < ci.size(); ++k) {
    wi[k] = ci[k];
    wx[k] = cw[k];
  }
  plhs[0] = Wc.release();
  kelvara::store(nlhs, plhs, 1, ec.release());
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  kelvara::gateway([&] { group_sum(nlhs, plhs, nrhs, prhs); });
}
