// The graphs the hierarchy's setup reads: a level's weighted graph by
// columns, either the caller's matrix in place or a coarse graph the setup
// wrote, and the arrays a coarse graph is written into.
#ifndef KELVARA_SOLVER_SETUP_GRAPH_H
#define KELVARA_SOLVER_SETUP_GRAPH_H

#include "args.h"
#include "gateway.h"
#include "pages.h"

#include <cstddef>
#include <cstdint>

namespace kelvara {

// A symmetric graph of n vertices by columns: column i holds positions
// p[i] .. p[i+1]-1, each at row j[k] with weight sign*v[k].  An entry on the
// diagonal or of weight not above 0 is no edge.  sign is -1 for the
// off-diagonal entries of a matrix, 1 for a graph of weights.
template <class P, class J> struct graph {
  std::size_t n;
  const P *p;
  const J *j;
  const double *v;
  double sign;
  std::size_t begin(std::size_t i) const { return static_cast<std::size_t>(p[i]); }
  std::size_t end(std::size_t i) const { return static_cast<std::size_t>(p[i + 1]); }
  std::size_t row(std::size_t k) const { return static_cast<std::size_t>(j[k]); }
  double weight(std::size_t k) const { return sign * v[k]; }
  bool edge(std::size_t i, std::size_t k) const { return row(k) != i && weight(k) > 0; }
};

// The caller's matrix, read in place, and the coarse graphs of the setup.
using matrix_graph = graph<mwIndex, mwIndex>;
using coarse_graph = graph<std::size_t, std::uint32_t>;

// The arrays of a coarse graph of at most n vertices and nz entries, taken
// once and rewritten level after level, so that pages the setup has
// touched are reused rather than fresh ones mapped for every level (and
// those are huge pages where the system has them).
struct graph_store {
  pages<std::size_t> p;
  pages<std::uint32_t> j;
  pages<double> w;
  graph_store(std::size_t n, std::size_t nz) : p(n + 1), j(nz), w(nz)
  {
    if (!p || !j || !w)
      fail("Out of memory");
  }
  coarse_graph view(std::size_t n) const { return {n, p.get(), j.get(), w.get(), 1.0}; }
};

} // namespace kelvara

#endif
