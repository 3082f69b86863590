// reached = bfs_floor(A, s): the floor of a breadth-first search from vertex s
// (1-based) over A's column starts and row indices, recording distances:
// a visited bitmap (n bits, which stays in cache where a byte or word per
// vertex would not), a flat queue of 32-bit vertices, distances taken from
// the queue's level boundaries rather than read per vertex, and the columns
// of vertices further down the queue prefetched.  Scratch is kept between
// calls so that only the search is timed.  Returns the number of vertices
// reached.
// [d, order, pred] = bfs_floor(A, s): the same search, with the three
// outputs of wavefront's shapes created (and zero-filled) by the host, the
// distances written into d (-1 where not reached): what the host's outputs
// add to the floor.  Benchmark only.
#include "mex.h"

#include <cstdint>
#include <cstring>
#include <vector>

// How many queue entries ahead the column starts, and half as many ahead
// the row indices, are prefetched.
static const std::size_t ahead = 16;

// Distances from s over the graph (n, jc, ir) into dist (distance + 1, 0
// where not reached), with seen (n bits) and queue (n entries) as scratch;
// returns the number of vertices reached.
static std::size_t bfs(std::size_t n, const mwIndex *jc, const mwIndex *ir, std::uint32_t s,
                       std::int32_t *dist, std::uint64_t *seen, std::uint32_t *queue)
{
  std::memset(seen, 0, (n + 63) / 64 * sizeof *seen);
  std::memset(dist, 0, n * sizeof *dist);
  std::size_t head = 0, tail = 0, level_end = 1;
  std::int32_t level = 1;
  seen[s >> 6] |= std::uint64_t(1) << (s & 63);
  dist[s] = level;
  queue[tail++] = s;
  while (head < tail) {
    if (head == level_end) {
      level_end = tail;
      ++level;
    }
    if (head + ahead < tail)
      __builtin_prefetch(jc + queue[head + ahead]);
    if (head + ahead / 2 < tail)
      __builtin_prefetch(ir + jc[queue[head + ahead / 2]]);
    const std::uint32_t u = queue[head++];
    const mwIndex end = jc[u + 1];
    for (mwIndex p = jc[u]; p < end; ++p) {
      const std::uint32_t v = static_cast<std::uint32_t>(ir[p]);
      const std::uint64_t bit = std::uint64_t(1) << (v & 63);
      if (!(seen[v >> 6] & bit)) {
        seen[v >> 6] |= bit;
        dist[v] = level + 1;
        queue[tail++] = v;
      }
    }
  }
  return tail;
}

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 2 || !mxIsSparse(prhs[0]) || mxGetM(prhs[0]) != mxGetN(prhs[0]))
    mexErrMsgTxt("usage: reached = bfs_floor(A, s), A square sparse");
  const std::size_t n = mxGetN(prhs[0]);
  const std::size_t s = static_cast<std::size_t>(mxGetScalar(prhs[1])) - 1;
  if (s >= n || n > 0x7FFFFFFF)
    mexErrMsgTxt("s out of range, or 2^31 vertices or more");
  static std::vector<std::int32_t> dist;
  static std::vector<std::uint64_t> seen;
  static std::vector<std::uint32_t> queue;
  if (dist.size() < n) {
    dist.resize(n);
    seen.resize((n + 63) / 64);
    queue.resize(n);
  }
  const std::size_t reached = bfs(n, mxGetJc(prhs[0]), mxGetIr(prhs[0]),
                                  static_cast<std::uint32_t>(s), dist.data(), seen.data(),
                                  queue.data());
  if (nlhs < 3) {
    plhs[0] = mxCreateDoubleScalar(static_cast<double>(reached));
    return;
  }
  plhs[0] = mxCreateDoubleMatrix(n, 1, mxREAL);
  plhs[1] = mxCreateDoubleMatrix(n, 1, mxREAL);
  plhs[2] = mxCreateDoubleMatrix(1, n, mxREAL);
  double *d = mxGetPr(plhs[0]);
  for (std::size_t v = 0; v < n; ++v)
    d[v] = dist[v] - 1.0;
}
