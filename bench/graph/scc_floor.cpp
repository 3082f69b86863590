// k = scc_floor(A): the floor of the strongly connected components of the
// directed graph of A (the edge j -> i for an entry in row i, column j):
// Tarjan's algorithm written out over A's column starts and row indices,
// each edge read once, with a vertex's discovery index and low link side by
// side, a 32-bit component number per vertex and flat arrays as stacks.
// Scratch is kept between calls so that only the search is timed.  Returns
// the number of components.
// [k, labels] = scc_floor(A): also labels (uint32, 1-based) numbered in the
// order in which components complete, as graph_islands numbers them, so
// that the two can be checked against each other.  Benchmark only.
#include "mex.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// A vertex's discovery index (0: not yet discovered) and low link.
struct link {
  std::uint32_t index, low;
};

// A frame of the depth-first search: a vertex and its next edge.
struct frame {
  std::uint32_t v;
  mwIndex p;
};

const std::uint32_t none = 0xFFFFFFFFu;

// Components of the graph (n, jc, ir) into comp (numbered from 0 in order
// of completion), with l (n links), stack and dfs as scratch; returns their
// number.
std::uint32_t scc(std::size_t n, const mwIndex *jc, const mwIndex *ir, link *l, std::uint32_t *comp,
                  std::uint32_t *stack, frame *dfs)
{
  std::memset(l, 0, n * sizeof *l);
  std::memset(comp, 0xFF, n * sizeof *comp);
  std::uint32_t time = 0, count = 0;
  std::size_t top = 0, depth = 0;
  for (std::size_t s = 0; s < n; ++s) {
    if (l[s].index)
      continue;
    l[s] = {++time, time};
    stack[top++] = static_cast<std::uint32_t>(s);
    dfs[depth++] = {static_cast<std::uint32_t>(s), jc[s]};
    while (depth) {
      frame &f = dfs[depth - 1];
      const std::uint32_t v = f.v;
      if (f.p < jc[v + 1]) {
        const std::uint32_t w = static_cast<std::uint32_t>(ir[f.p++]);
        if (!l[w].index) {
          l[w] = {++time, time};
          stack[top++] = w;
          dfs[depth++] = {w, jc[w]};
        } else if (comp[w] == none && l[w].index < l[v].low) {
          l[v].low = l[w].index;
        }
        continue;
      }
      --depth;
      if (l[v].low == l[v].index) {
        std::uint32_t w;
        do {
          w = stack[--top];
          comp[w] = count;
        } while (w != v);
        ++count;
      }
      if (depth) {
        link &u = l[dfs[depth - 1].v];
        if (l[v].low < u.low)
          u.low = l[v].low;
      }
    }
  }
  return count;
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
  if (nrhs != 1 || !mxIsSparse(prhs[0]) || mxGetM(prhs[0]) != mxGetN(prhs[0]))
    mexErrMsgTxt("usage: k = scc_floor(A), A square sparse");
  const std::size_t n = mxGetN(prhs[0]);
  if (n > 0x7FFFFFFF)
    mexErrMsgTxt("2^31 vertices or more");
  static std::vector<link> l;
  static std::vector<std::uint32_t> comp, stack;
  static std::vector<frame> dfs;
  if (l.size() < n) {
    l.resize(n);
    comp.resize(n);
    stack.resize(n);
    dfs.resize(n);
  }
  const std::uint32_t k = scc(n, mxGetJc(prhs[0]), mxGetIr(prhs[0]), l.data(), comp.data(),
                              stack.data(), dfs.data());
  plhs[0] = mxCreateDoubleScalar(k);
  if (nlhs > 1) {
    plhs[1] = mxCreateNumericMatrix(n, 1, mxUINT32_CLASS, mxREAL);
    std::uint32_t *labels = static_cast<std::uint32_t *>(mxGetData(plhs[1]));
    for (std::size_t v = 0; v < n; ++v)
      labels[v] = comp[v] + 1;
  }
}
