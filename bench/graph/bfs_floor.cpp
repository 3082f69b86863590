// reached = bfs_floor(A, s): the floor of a breadth-first search, a plain
// queue loop over A's column starts and row indices from vertex s (1-based)
// that records distances; returns the number of vertices reached.
#include "mex.h"

#include <cstdint>
#include <vector>

// Distances from s over the graph (n, jc, ir), -1 where not reached; returns
// the number of vertices reached.
static std::size_t bfs(std::size_t n, const mwIndex *jc, const mwIndex *ir, std::size_t s,
                       std::int32_t *dist, std::size_t *queue)
{
  for (std::size_t v = 0; v < n; ++v)
    dist[v] = -1;
  std::size_t head = 0, tail = 0;
  dist[s] = 0;
  queue[tail++] = s;
  while (head < tail) {
    const std::size_t u = queue[head++];
    for (mwIndex p = jc[u]; p < jc[u + 1]; ++p) {
      const std::size_t v = static_cast<std::size_t>(ir[p]);
      if (dist[v] < 0) {
        dist[v] = dist[u] + 1;
        queue[tail++] = v;
      }
    }
  }
  return tail;
}

void mexFunction(int, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 2 || !mxIsSparse(prhs[0]) || mxGetM(prhs[0]) != mxGetN(prhs[0]))
    mexErrMsgTxt("usage: reached = bfs_floor(A, s), A square sparse");
  const std::size_t n = mxGetN(prhs[0]);
  const std::size_t s = static_cast<std::size_t>(mxGetScalar(prhs[1])) - 1;
  if (s >= n)
    mexErrMsgTxt("s out of range");
  std::vector<std::int32_t> dist(n);
  std::vector<std::size_t> queue(n);
  plhs[0] = mxCreateDoubleScalar(
      static_cast<double>(bfs(n, mxGetJc(prhs[0]), mxGetIr(prhs[0]), s, dist.data(), queue.data())));
}
