// The passes of the hierarchy's setup over a level's graph (setup_graph.h),
// each a plain loop over flat arrays: sizes and inputs first, outputs last.
#ifndef KELVARA_SOLVER_SETUP_KERNELS_H
#define KELVARA_SOLVER_SETUP_KERNELS_H

#include "setup_graph.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace kelvara {

const std::uint32_t no_group = 0xFFFFFFFFu;

// deg[i] = the summed edge weights of vertex i, added with compensation so
// that the excess d - deg loses no digit the row's values carry.
template <class G> void degrees(const G &g, double *deg)
{
  for (std::size_t i = 0; i < g.n; ++i) {
    double s = 0, c = 0;
    for (std::size_t k = g.begin(i); k < g.end(i); ++k)
      if (g.edge(i, k)) {
        const double w = g.weight(k), t = s + w;
        c += s >= w ? (s - t) + w : (w - t) + s;
        s = t;
      }
    deg[i] = s + c;
  }
}

// e[i] = d[i] - deg[i], vertex i's weight to the ground outside the graph,
// or 0 where it lies within the round-off of forming the row's sum: a few
// units in the last place of the row's largest magnitude, growing as the
// square root of the row's length.
template <class G> void excess(const G &g, const double *d, const double *deg, double *e)
{
  const double u = std::numeric_limits<double>::epsilon();
  for (std::size_t i = 0; i < g.n; ++i) {
    const double x = d[i] - deg[i];
    const double len = static_cast<double>(g.end(i) - g.begin(i));
    e[i] = x > 4 * u * std::sqrt(len + 1) * std::max(std::fabs(d[i]), deg[i]) ? x : 0;
  }
}

// d[i] = deg[i] + e[i], the diagonal of a coarse level.
inline void diagonal(std::size_t n, const double *deg, const double *e, double *d)
{
  for (std::size_t i = 0; i < n; ++i)
    d[i] = deg[i] + e[i];
}

// h[i] = 1 for a vertex kept out of every aggregate: a ground (ground[i]
// set; none when ground is null), an isolated vertex, or one held mostly by
// its excess.  Returns the number of such vertices.
inline std::size_t held(std::size_t n, const double *deg, const double *e,
                        const std::uint8_t *ground, std::uint8_t *h)
{
  std::size_t c = 0;
  for (std::size_t i = 0; i < n; ++i) {
    h[i] = (ground && ground[i]) || deg[i] == 0 || e[i] >= 4 * deg[i];
    c += h[i];
  }
  return c;
}

// comp[i] = the component of vertex i, numbered in the order of their lowest
// vertices, found breadth first with ord as the queue.  Returns the
// component count.
template <class G> std::size_t islands(const G &g, std::uint32_t *comp, std::uint32_t *ord)
{
  for (std::size_t i = 0; i < g.n; ++i)
    comp[i] = no_group;
  std::size_t tail = 0, c = 0;
  for (std::size_t s = 0; s < g.n; ++s) {
    if (comp[s] != no_group)
      continue;
    comp[s] = static_cast<std::uint32_t>(c);
    ord[tail++] = static_cast<std::uint32_t>(s);
    for (std::size_t h = tail - 1; h < tail; ++h) {
      const std::size_t i = ord[h];
      for (std::size_t k = g.begin(i); k < g.end(i); ++k)
        if (g.edge(i, k) && comp[g.row(k)] == no_group) {
          comp[g.row(k)] = static_cast<std::uint32_t>(c);
          ord[tail++] = static_cast<std::uint32_t>(g.row(k));
        }
    }
    ++c;
  }
  return c;
}

// top[c] = the vertex of largest diagonal d of component c (the lowest of
// equal ones).
inline void tops(std::size_t n, std::size_t nc, const std::uint32_t *comp, const double *d,
                 std::uint32_t *top)
{
  for (std::size_t c = 0; c < nc; ++c)
    top[c] = no_group;
  for (std::size_t i = 0; i < n; ++i)
    if (top[comp[i]] == no_group || d[i] > d[top[comp[i]]])
      top[comp[i]] = static_cast<std::uint32_t>(i);
}

// ord = the vertices in breadth-first order from the vertex top[c] of each
// component c, the new neighbours of each vertex taken by descending
// diagonal d (ascending index among equal ones); seen, n entries all 0,
// marks the vertices found.  Where the values differ, the order follows
// the graph alone, not its numbering: a matrix and any symmetric
// permutation of it number their aggregates alike.
template <class G>
void sweep(const G &g, std::size_t nc, const std::uint32_t *top, const double *d, std::uint8_t *seen,
           std::uint32_t *ord)
{
  std::size_t tail = 0;
  const auto before = [d](std::uint32_t a, std::uint32_t b) { return d[a] > d[b] || (d[a] == d[b] && a < b); };
  for (std::size_t c = 0; c < nc; ++c) {
    seen[top[c]] = 1;
    ord[tail++] = top[c];
    for (std::size_t h = tail - 1; h < tail; ++h) {
      const std::size_t i = ord[h], first = tail;
      for (std::size_t k = g.begin(i); k < g.end(i); ++k)
        if (g.edge(i, k) && !seen[g.row(k)]) {
          seen[g.row(k)] = 1;
          ord[tail++] = static_cast<std::uint32_t>(g.row(k));
        }
      std::sort(ord + first, ord + tail, before);
    }
  }
}

// A vertex's diagonal beside its number, sorted as one key.
struct keyed {
  double d;
  std::uint32_t i;
  bool operator<(const keyed &o) const { return d < o.d || (d == o.d && i < o.i); }
};

// vis = the vertices by ascending diagonal d (ascending index among equal
// ones), sorted in key (n entries): aggregation visits those with the
// fewest or weakest ties first, which leaves fewer of them without a
// partner, and in an order that does not depend on the numbering where the
// values differ.
inline void by_diagonal(std::size_t n, const double *d, keyed *key, std::uint32_t *vis)
{
  for (std::size_t i = 0; i < n; ++i)
    key[i] = {d[i], static_cast<std::uint32_t>(i)};
  std::sort(key, key + n);
  for (std::size_t i = 0; i < n; ++i)
    vis[i] = key[i].i;
}

// free[c] = 1 for a component c of comp whose excess e is zero on every
// vertex (a singular one), 0 for the others.
inline void singular(std::size_t n, std::size_t nc, const std::uint32_t *comp, const double *e,
                     std::uint8_t *free)
{
  for (std::size_t c = 0; c < nc; ++c)
    free[c] = 1;
  for (std::size_t i = 0; i < n; ++i)
    if (e[i] != 0)
      free[comp[i]] = 0;
}

// The badness of joining a vertex or group of diagonal a to one of diagonal
// b across the weight w, a*b / (w*(a+b)): the share of an error smooth
// inside the pair that one sweep can leave.  Formed as a ratio of like
// magnitudes times a ratio of like magnitudes, so that it neither under-
// nor overflows at any scale of the matrix.
inline double badness(double a, double b, double w) { return a / (a + b) * (b / w); }

// q[i] = the group of vertex i of g, in two sweeps over the vertices in the
// order ord: the first pairs every vertex with the ungrouped neighbour of
// least badness, the second lets a vertex left without a partner join its
// neighbours' group of least badness (gd holds each group's summed
// diagonal d), within badness worst and worst/4 (a third member weakens a
// pair more than a partner does); a vertex that finds none is a group of
// its own.  Vertices with h[i] set get group m, the ground.  Returns m.
template <class G>
std::uint32_t pairs(const G &g, const double *d, const std::uint8_t *h, const std::uint32_t *ord,
                    double worst, double *gd, std::uint32_t *q)
{
  std::uint32_t next = 0;
  for (std::size_t i = 0; i < g.n; ++i)
    q[i] = no_group;
  for (std::size_t s = 0; s < g.n; ++s) {
    const std::size_t i = ord[s];
    if (h[i] || q[i] != no_group)
      continue;
    std::size_t best = g.n;
    double bad = worst;
    for (std::size_t k = g.begin(i); k < g.end(i); ++k) {
      const std::size_t j = g.row(k);
      if (!g.edge(i, k) || h[j] || q[j] != no_group)
        continue;
      const double b = badness(d[i], d[j], g.weight(k));
      if (b < bad || (b == bad && best == g.n)) {
        best = j;
        bad = b;
      }
    }
    if (best < g.n) {
      q[i] = q[best] = next;
      gd[next++] = d[i] + d[best];
    }
  }
  for (std::size_t s = 0; s < g.n; ++s) {
    const std::size_t i = ord[s];
    if (h[i] || q[i] != no_group)
      continue;
    std::uint32_t best = no_group;
    double bad = worst / 4;
    for (std::size_t k = g.begin(i); k < g.end(i); ++k) {
      const std::size_t j = g.row(k);
      if (!g.edge(i, k) || h[j] || q[j] == no_group)
        continue;
      const double b = badness(d[i], gd[q[j]], g.weight(k));
      if (b < bad || (b == bad && best == no_group)) {
        best = q[j];
        bad = b;
      }
    }
    if (best == no_group) {
      best = next++;
      gd[best] = 0;
    }
    q[i] = best;
    gd[best] += d[i];
  }
  for (std::size_t i = 0; i < g.n; ++i)
    if (h[i])
      q[i] = next;
  return next;
}

// Renumbers the m groups of q (m, the ground, kept) in the order their first
// members come in ord, so that the coarse graph inherits the order's
// locality; map holds m entries.
inline void renumber(std::size_t n, const std::uint32_t *ord, std::uint32_t m, std::uint32_t *map,
                     std::uint32_t *q)
{
  for (std::uint32_t J = 0; J < m; ++J)
    map[J] = no_group;
  std::uint32_t next = 0;
  for (std::size_t s = 0; s < n; ++s) {
    const std::uint32_t J = q[ord[s]];
    if (J == m)
      continue;
    if (map[J] == no_group)
      map[J] = next++;
    q[ord[s]] = map[J];
  }
}

// The scratch of group sums: each group's members, and a running sum per
// coarse vertex beside the last group that touched it, in one cache line.
struct sum_work {
  struct slot {
    std::size_t seen;
    double sum;
  };
  pages<std::size_t> start;
  pages<std::uint32_t> member, rows;
  pages<slot> acc;
  explicit sum_work(std::size_t n) : start(n + 2), member(n), rows(n), acc(n)
  {
    if (!start || !member || !rows || !acc)
      fail("Out of memory");
  }
};

// The graph c of the m groups q of g (m for the ground) and its excess ec,
// every weight divided by s: c's column J sums the weights between J's
// members and group K's (rows ascending), ec[J] the excess e of J's members
// and their weights into the ground.  Weights inside a group drop out, so
// the coarse Laplacian is P'*L*P for the 0/1 map P of the groups, without
// the cancellation of forming it.  c has room for g's entries, which the
// coarse graph never exceeds.
template <class G>
void gsum(const G &g, const double *e, const std::uint32_t *q, std::size_t m, double s,
          sum_work &w, graph_store &c, double *ec)
{
  std::size_t *start = w.start.get();
  std::uint32_t *member = w.member.get(), *rows = w.rows.get();
  sum_work::slot *acc = w.acc.get();
  for (std::size_t J = 0; J < m + 2; ++J)
    start[J] = 0;
  for (std::size_t i = 0; i < g.n; ++i)
    ++start[q[i] + 1];
  for (std::size_t J = 0; J <= m; ++J)
    start[J + 1] += start[J];
  for (std::size_t i = 0; i < g.n; ++i)
    if (q[i] < m)
      member[start[q[i]]++] = static_cast<std::uint32_t>(i);
  for (std::size_t J = 0; J < m; ++J)
    acc[J] = {SIZE_MAX, 0.0};
  std::size_t *cp = c.p.get(), nz = 0, first = 0;
  std::uint32_t *cj = c.j.get();
  double *cw = c.w.get();
  cp[0] = 0;
  for (std::size_t J = 0; J < m; ++J) {
    // start[J] now ends J's members, which began where J-1's ended
    double x = 0;
    std::size_t nr = 0;
    for (std::size_t t = first; t < start[J]; ++t) {
      const std::size_t i = member[t];
      x += e[i];
      for (std::size_t k = g.begin(i); k < g.end(i); ++k) {
        if (!g.edge(i, k))
          continue;
        const std::size_t K = q[g.row(k)];
        if (K == m)
          x += g.weight(k);
        else if (K != J) {
          if (acc[K].seen != J) {
            acc[K] = {J, 0.0};
            rows[nr++] = static_cast<std::uint32_t>(K);
          }
          acc[K].sum += g.weight(k);
        }
      }
    }
    first = start[J];
    std::sort(rows, rows + nr);
    for (std::size_t r = 0; r < nr; ++r) {
      cj[nz] = rows[r];
      cw[nz++] = acc[rows[r]].sum / s;
    }
    cp[J + 1] = nz;
    ec[J] = x / s;
  }
}

// ia[i+1] = ia[i] + 1 + the edges of column i below the diagonal: the row
// starts of the level matrix, each row its diagonal and the entries right
// of it.
template <class G> void starts(const G &g, std::uint32_t *ia)
{
  ia[0] = 0;
  for (std::size_t i = 0; i < g.n; ++i) {
    std::uint32_t r = ia[i] + 1;
    for (std::size_t k = g.begin(i); k < g.end(i); ++k)
      r += g.row(k) > i && g.edge(i, k);
    ia[i + 1] = r;
  }
}

// Row i of the level matrix diag(d) - W into a, ja from ia: d[i], then the
// negated weights of column i below the diagonal (a matrix's own entries).
template <class G, class Real>
void rows(const G &g, const double *d, const std::uint32_t *ia, Real *a, std::uint32_t *ja)
{
  for (std::size_t i = 0; i < g.n; ++i) {
    std::size_t p = ia[i];
    a[p] = static_cast<Real>(d[i]);
    ja[p++] = static_cast<std::uint32_t>(i);
    for (std::size_t k = g.begin(i); k < g.end(i); ++k)
      if (g.row(k) > i && g.edge(i, k)) {
        a[p] = static_cast<Real>(-g.weight(k));
        ja[p++] = static_cast<std::uint32_t>(g.row(k));
      }
  }
}

// The level matrix diag(d) - W as a sparse matrix (jc, ir, pr) with its
// columns in ascending row order (those of g ascend).
template <class G> void matrix(const G &g, const double *d, mwIndex *jc, mwIndex *ir, double *pr)
{
  std::size_t p = 0;
  jc[0] = 0;
  for (std::size_t i = 0; i < g.n; ++i) {
    bool diag = false;
    for (std::size_t k = g.begin(i); k < g.end(i); ++k) {
      if (!g.edge(i, k))
        continue;
      if (!diag && g.row(k) > i) {
        ir[p] = static_cast<mwIndex>(i);
        pr[p++] = d[i];
        diag = true;
      }
      ir[p] = static_cast<mwIndex>(g.row(k));
      pr[p++] = -g.weight(k);
    }
    if (!diag) {
      ir[p] = static_cast<mwIndex>(i);
      pr[p++] = d[i];
    }
    jc[i + 1] = static_cast<mwIndex>(p);
  }
}

// inv[i] = w / d[i], or 0 where that is not finite.
template <class Real> void weights(std::size_t n, const double *d, double w, Real *inv)
{
  for (std::size_t i = 0; i < n; ++i) {
    const double x = w / d[i];
    inv[i] = static_cast<Real>(std::isfinite(x) ? x : 0.0);
  }
}

} // namespace kelvara

#endif
