// The sparse LDL' factorisation of a last level, row by row ("up-looking"):
// each row of L is found by a sparse triangular solve along the
// elimination tree.  No dense kernels, so no threads of a host's BLAS are
// woken by it.  C is the upper triangle of the matrix by columns (cp, ci,
// cx, 0-based, rows of a column in any order); L is written by columns,
// each column's rows ascending, unit diagonal not stored.
#ifndef KELVARA_SOLVER_LDL_H
#define KELVARA_SOLVER_LDL_H

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace kelvara {

const std::uint32_t no_parent = 0xFFFFFFFFu;

// parent = the elimination tree of C, cnt = the entries of each column of L.
inline void ldl_tree(std::size_t n, const std::size_t *cp, const std::uint32_t *ci,
                     std::uint32_t *parent, std::size_t *cnt, std::uint32_t *flag)
{
  for (std::size_t k = 0; k < n; ++k) {
    parent[k] = no_parent;
    cnt[k] = 0;
    flag[k] = static_cast<std::uint32_t>(k);
    for (std::size_t p = cp[k]; p < cp[k + 1]; ++p)
      for (std::uint32_t i = ci[p]; i < k && flag[i] != k; i = parent[i]) {
        if (parent[i] == no_parent)
          parent[i] = static_cast<std::uint32_t>(k);
        ++cnt[i];
        flag[i] = static_cast<std::uint32_t>(k);
      }
  }
}

// L (columns starting at lp, rows li, values lx) and D of C + shift*I;
// returns n, or the first row whose pivot is not positive and finite.
inline std::size_t ldl_numeric(std::size_t n, const std::size_t *cp, const std::uint32_t *ci,
                               const double *cx, double shift, const std::size_t *lp,
                               const std::uint32_t *parent, std::size_t *cnt, std::uint32_t *li,
                               double *lx, double *d, double *y, std::uint32_t *pattern,
                               std::uint32_t *flag)
{
  for (std::size_t k = 0; k < n; ++k)
    y[k] = 0;
  for (std::size_t k = 0; k < n; ++k) {
    std::size_t top = n;
    flag[k] = static_cast<std::uint32_t>(k);
    cnt[k] = 0;
    d[k] = shift;
    for (std::size_t p = cp[k]; p < cp[k + 1]; ++p) {
      std::uint32_t i = ci[p];
      if (i == k) {
        d[k] += cx[p];
        continue;
      }
      y[i] += cx[p];
      std::size_t len = 0;
      for (; flag[i] != k; i = parent[i]) {
        pattern[len++] = i;
        flag[i] = static_cast<std::uint32_t>(k);
      }
      while (len > 0)
        pattern[--top] = pattern[--len];
    }
    // row k of L by the columns of the pattern, in topological order
    for (; top < n; ++top) {
      const std::uint32_t i = pattern[top];
      const double yi = y[i];
      y[i] = 0;
      const std::size_t end = lp[i] + cnt[i];
      for (std::size_t p = lp[i]; p < end; ++p)
        y[li[p]] -= lx[p] * yi;
      const double l = yi / d[i];
      d[k] -= l * yi;
      li[end] = static_cast<std::uint32_t>(k);
      lx[end] = l;
      ++cnt[i];
    }
    if (!(d[k] > 0) || !std::isfinite(d[k]))
      return k;
  }
  return n;
}

} // namespace kelvara

#endif
