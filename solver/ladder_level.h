// How one level of the Hierarchy is built from the level above it: its
// vertices' diagonal, excess and the ones kept out of aggregates; its
// aggregates, pairs and then pairs of pairs, with the badness bound
// loosened where they coarsen too slowly; and the next level's graph,
// summed from the graph of the pairs.  ladder_setup.cpp runs these steps
// level after level and writes what the Hierarchy keeps.
#ifndef KELVARA_SOLVER_LADDER_LEVEL_H
#define KELVARA_SOLVER_LADDER_LEVEL_H

#include "setup_kernels.h"

#include <cstddef>
#include <cstdint>

namespace kelvara {

// The vertex values of one level, of at most n vertices: diagonal d, edge
// weight sums deg, excess e, and h set on vertices kept out of aggregates.
struct level_values {
  pages<double> d, deg, e;
  pages<std::uint8_t> h;
  std::size_t held = 0;
  explicit level_values(std::size_t n) : d(n), deg(n), e(n), h(n)
  {
    if (!d || !deg || !e || !h)
      fail("Out of memory");
  }
};

// The finest level, the caller's matrix g itself: its diagonal and
// excess, the excess of round-off size taken as none; comp its components;
// one ground vertex, the lowest, on each component without excess,
// ground[i] set there and free[c] on its component c; vis the order in
// which aggregation visits the vertices (by_diagonal), ord the order in
// which it numbers the aggregates (sweep).  Returns the component count.
template <class G>
std::size_t finest(const G &g, level_values &v, std::uint32_t *comp, std::uint32_t *vis,
                   std::uint32_t *ord, std::uint8_t *free, std::uint8_t *ground)
{
  double *d = v.d.get();
  for (std::size_t i = 0; i < g.n; ++i) {
    d[i] = 0;
    for (std::size_t k = g.begin(i); k < g.end(i); ++k)
      if (g.row(k) == i)
        d[i] = g.v[k];
  }
  degrees(g, v.deg.get());
  excess(g, v.d.get(), v.deg.get(), v.e.get());
  const std::size_t nc = islands(g, comp, ord);
  singular(g.n, nc, comp, v.e.get(), free);
  for (std::size_t s = 0; s < g.n; ++s)
    ground[ord[s]] = free[comp[ord[s]]] && (s == 0 || comp[ord[s - 1]] != comp[ord[s]]);
  v.held = held(g.n, v.deg.get(), v.e.get(), ground, v.h.get());
  pages<std::uint32_t> top(nc);
  pages<std::uint8_t> seen(g.n);       // zero-filled
  pages<keyed> key(g.n);
  if (!top || !seen || !key)
    fail("Out of memory");
  tops(g.n, nc, comp, d, top.get());
  sweep(g, nc, top.get(), d, seen.get(), ord);
  by_diagonal(g.n, d, key.get(), vis);
  return nc;
}

// A coarse level of graph g whose excess v.e the sum wrote: its diagonal
// and the vertices kept out of aggregates.
inline void coarse(const coarse_graph &g, level_values &v)
{
  degrees(g, v.deg.get());
  diagonal(g.n, v.deg.get(), v.e.get(), v.d.get());
  v.held = held(g.n, v.deg.get(), v.e.get(), nullptr, v.h.get());
}

// The scratch of aggregation, for levels of at most n vertices and nz
// stored entries: the groups of both sweeps, the graph of the pairs with
// its diagonal and excess, the identity order and an empty mask.
struct aggregate_work {
  pages<std::uint32_t> q1, q2, map, ident;
  pages<double> gd, d1, e1;
  pages<std::uint8_t> none;
  sum_work sums;
  graph_store pair_graph;
  aggregate_work(std::size_t n, std::size_t nz)
      : q1(n), q2(n), map(n), ident(n), gd(n), d1(n), e1(n), none(n), sums(n), pair_graph(n, nz)
  {
    if (!q1 || !q2 || !map || !ident || !gd || !d1 || !e1 || !none)
      fail("Out of memory");
    for (std::size_t i = 0; i < n; ++i)
      ident.get()[i] = static_cast<std::uint32_t>(i);
  }
};

// The aggregates of level g with values v, visited in the order vis and
// numbered in the order ord: q[i]
// the aggregate of vertex i (the ground, m, for the vertices kept out) and
// *m their count; the next level's graph into next and its excess into ec,
// scaled down by 1.5 where aggregates are large, since their piecewise-
// constant correction undershoots smooth errors.  worst, the badness
// bound, is loosened x4 up to 256 while aggregates leave more than half the
// vertices (and stays so for the coarser levels, much like this one).
// Returns false, writing nothing, when coarsening has stalled (more than
// nine tenths of the vertices left).
template <class G>
bool aggregates(const G &g, const level_values &v, const std::uint32_t *vis,
                const std::uint32_t *ord, double &worst,
                aggregate_work &w, std::uint32_t *q, std::uint32_t *m, graph_store &next,
                double *ec)
{
  std::uint32_t m1 = 0, m2 = 0, *q1 = w.q1.get(), *q2 = w.q2.get();
  double *d1 = w.d1.get();
  const double *d = v.d.get();
  for (;;) {
    m1 = pairs(g, v.d.get(), v.h.get(), vis, worst, w.gd.get(), w.q1.get());
    renumber(g.n, ord, m1, w.map.get(), w.q1.get());
    for (std::uint32_t J = 0; J < m1; ++J)
      d1[J] = 0;
    for (std::size_t i = 0; i < g.n; ++i)
      if (q1[i] < m1)
        d1[q1[i]] += d[i];
    gsum(g, v.e.get(), w.q1.get(), m1, 1.0, w.sums, w.pair_graph, w.e1.get());
    const coarse_graph g1 = w.pair_graph.view(m1);
    m2 = pairs(g1, w.d1.get(), w.none.get(), w.ident.get(), worst, w.gd.get(), w.q2.get());
    renumber(m1, w.ident.get(), m2, w.map.get(), w.q2.get());
    if (!(m2 > 0.5 * static_cast<double>(g.n) && worst < 256))
      break;
    worst *= 4;
  }
  if (m2 > 0.9 * static_cast<double>(g.n))
    return false;
  for (std::size_t i = 0; i < g.n; ++i)
    q[i] = q1[i] < m1 ? q2[q1[i]] : m2;
  const double scale = static_cast<double>(g.n) >= 3.8 * m2 ? 1.5 : 1.0;
  gsum(w.pair_graph.view(m1), w.e1.get(), w.q2.get(), m2, scale, w.sums, next, ec);
  *m = m2;
  return true;
}

} // namespace kelvara

#endif
