#include "unpack.h"

#include "gateway.h"

#include <algorithm>
#include <vector>

using kelvara::fail;

namespace {

// True when ia[0] = 0, every segment holds at least one entry, and the
// last start stays within the stored arrays (checked by the unpacking).
bool starts_ok(std::uint32_t n, const std::uint32_t *ia)
{
  bool bad = ia[0] != 0;
  for (std::uint32_t i = 0; i < n; ++i)
    bad |= ia[i + 1] <= ia[i];
  return !bad;
}

// True when every index of a segment but its first (the diagonal's slot,
// which is never read) is below bound.  The fast path tests every stored
// index in one branch-free pass; only when that fails are the diagonal
// slots left out, one segment at a time.
bool indices_ok(std::uint32_t n, const std::uint32_t *ia, const std::uint32_t *ja,
                std::uint32_t bound)
{
  std::uint32_t bad = 0;
  for (std::size_t k = 0; k < ia[n]; ++k)
    bad |= std::uint32_t(ja[k] >= bound);
  if (!bad)
    return true;
  for (std::uint32_t i = 0; i < n; ++i)
    for (std::uint32_t k = ia[i] + 1; k < ia[i + 1]; ++k)
      if (ja[k] >= bound)
        return false;
  return true;
}

// True when every stored entry of row i of the lower factor lies left of i,
// and every entry of the transposed factor right of its row.
bool triangles_ok(std::uint32_t n, const SparseRows<double> &ld, const SparseRows<double> &ldT)
{
  bool bad = false;
  for (std::uint32_t i = 0; i < n; ++i)
    for (std::uint32_t k = ld.ia[i]; k + 1 < ld.ia[i + 1]; ++k)
      bad |= ld.ja[k] >= i;
  for (std::uint32_t i = 0; i < n; ++i)
    for (std::uint32_t k = ldT.ia[i] + 1; k < ldT.ia[i + 1]; ++k)
      bad |= ldT.ja[k] <= i || ldT.ja[k] >= n;
  return !bad;
}

bool inverse_ok(std::uint32_t n, const std::uint32_t *p, const std::uint32_t *invp)
{
  for (std::uint32_t i = 0; i < n; ++i)
    if (p[i] >= n || invp[p[i]] != i)
      return false;
  return true;
}

// A stretch of memory the cycle reads or writes.
struct span {
  const char *lo, *hi;
  bool written;
  std::size_t level;  // 0-based, or SIZE_MAX for the right-hand side
  const char *name;
};

template <class T>
void add(std::vector<span> &s, const T *p, std::size_t count, bool written, std::size_t level,
         const char *name)
{
  if (count == 0)
    return;
  const char *lo = reinterpret_cast<const char *>(p);
  s.push_back(span{lo, lo + count * sizeof(T), written, level, name});
}

void describe(char *out, std::size_t size, const span &s)
{
  if (s.level == SIZE_MAX)
    std::snprintf(out, size, "the right-hand side");
  else
    std::snprintf(out, size, "H{%zu}.%s", s.level + 1, s.name);
}

// Refuses any workspace the cycle writes that overlaps another array the
// call reads or writes.
void separate(const LevelRecord *levels, std::size_t L, const Real *b, std::size_t m)
{
  std::vector<span> s;
  add(s, b, m, false, SIZE_MAX, "");
  for (std::size_t i = 0; i < L; ++i) {
    const LevelRecord &V = levels[i];
    const std::uint32_t n = V.A.n;
    const bool inner = i + 1 < L;
    add(s, V.A.a, V.A.ia[n], false, i, "A.a");
    add(s, V.A.ia, n + 1u, false, i, "A.ia");
    add(s, V.A.ja, V.A.ia[n], false, i, "A.ja");
    if (inner)
      add(s, V.cI, n, false, i, "cI");
    if (!inner && V.iterative == 0) {
      const CholFactor &c = V.chol;
      add(s, c.ld.a, c.ld.ia[n], false, i, "chol.ld.a");
      add(s, c.ld.ia, n + 1u, false, i, "chol.ld.ia");
      add(s, c.ld.ja, c.ld.ia[n], false, i, "chol.ld.ja");
      add(s, c.ldT.a, c.ldT.ia[n], false, i, "chol.ldT.a");
      add(s, c.ldT.ia, n + 1u, false, i, "chol.ldT.ia");
      add(s, c.ldT.ja, c.ldT.ia[n], false, i, "chol.ldT.ja");
      add(s, c.p, n, false, i, "chol.p");
      add(s, c.invp, n, false, i, "chol.invp");
    }
    if (V.invD) {
      const std::uint32_t nc = inner ? V.nc : 0;
      add(s, V.invD, n, false, i, "invD");
      add(s, V.lws1, n, inner, i, "lws1");
      add(s, V.lws2, n, inner, i, "lws2");
      add(s, V.sws1, nc, inner, i, "sws1");
      add(s, V.sws2, nc, inner, i, "sws2");
      add(s, V.sws3, nc, false, i, "sws3");
    }
  }
  std::sort(s.begin(), s.end(), [](const span &x, const span &y) { return x.lo < y.lo; });
  const span *reach = nullptr, *reach_written = nullptr;
  for (const span &x : s) {
    const span *clash = nullptr;
    if (x.written && reach && x.lo < reach->hi)
      clash = reach;
    else if (reach_written && x.lo < reach_written->hi)
      clash = reach_written;
    if (clash) {
      char one[64], other[64];
      describe(one, sizeof one, x);
      describe(other, sizeof other, *clash);
      fail("%s shares its data with %s; every workspace must be an array of its own", one,
           other);
    }
    if (!reach || x.hi > reach->hi)
      reach = &x;
    if (x.written && (!reach_written || x.hi > reach_written->hi))
      reach_written = &x;
  }
}

// Refuses a cycle of more than max_work.  Each visit to an inner level runs
// its cycles (one on level 0; on a lower level, the repeat of the level
// above) and each cycle visits the next level once, so the visits multiply
// down the levels.  A level solved by diagonal scaling ends the descent.
void bounded(const LevelRecord *levels, std::size_t L)
{
  double visits = 1, cycles = 1, work = 0;
  for (std::size_t i = 0; i < L && visits > 0; ++i) {
    const LevelRecord &V = levels[i];
    const std::uint32_t n = V.A.n;
    const bool inner = i + 1 < L && V.iterative != 1;
    // entries one visit reads: three products and the vectors per cycle, or
    // the factor, or the weights
    double per = n;
    if (inner)
      per = cycles * (3.0 * V.A.ia[n] + 4.0 * n + V.nc);
    else if (V.iterative != 1)
      per = double(n) + V.chol.ld.ia[n] + V.chol.ldT.ia[n];
    work += visits * (per + visit_cost);
    if (work > max_work)
      fail("A cycle of this Hierarchy visits H{%zu} %.17g times and reads over %g stored "
           "entries; lower the repeat of the levels above it",
           i + 1, visits, max_work);
    if (!inner)
      break;
    visits *= cycles;
    cycles = V.repeat > 0 ? V.repeat : 0;
  }
}

} // namespace

void validate(const LevelRecord *levels, std::size_t L, const Real *b, std::size_t m)
{
  for (std::size_t i = 0; i < L; ++i) {
    const LevelRecord &V = levels[i];
    const std::uint32_t n = V.A.n;
    const bool direct = V.islast == 1 && V.iterative == 0;
    if (i + 1 == L && !direct && V.iterative != 1)
      fail("H{%zu} is the last level and must have islast = 1 or iterative = 1", i + 1);
    if (i + 1 < L && direct)
      fail("H{%zu} is an inner level and cannot have islast = 1 with iterative = 0", i + 1);
    if (!starts_ok(n, V.A.ia))
      fail("H{%zu}.A.ia must start at 0 and increase: every segment holds its diagonal", i + 1);
    if (!indices_ok(n, V.A.ia, V.A.ja, n))
      fail("H{%zu}.A.ja holds an index not below the level's order %u", i + 1, n);
    if (i + 1 < L) {
      const std::uint32_t nc = V.nc;
      std::uint32_t bad = 0;
      for (std::size_t k = 0; k < n; ++k)
        bad |= std::uint32_t(V.cI[k] >= nc);
      if (bad)
        fail("H{%zu}.cI holds a coarse node not below nc = %u", i + 1, nc);
      const std::uint32_t covered = V.dc && nc ? nc - 1 : nc;
      if (levels[i + 1].A.n > covered)
        fail("H{%zu}.A.n = %u exceeds the %u coarse nodes of H{%zu} that the next level covers",
             i + 2, levels[i + 1].A.n, covered, i + 1);
    } else if (direct) {
      const CholFactor &c = V.chol;
      if (!starts_ok(n, c.ld.ia) || !starts_ok(n, c.ldT.ia) || !triangles_ok(n, c.ld, c.ldT))
        fail("H{%zu}.chol must hold every pivot at the end of its row of ld and the diagonal "
             "slot first in its row of ldT, with ld below and ldT above the diagonal",
             i + 1);
      if (!inverse_ok(n, c.p, c.invp))
        fail("H{%zu}.chol.p and H{%zu}.chol.invp must be inverse permutations of 0 to %u", i + 1,
             i + 1, n ? n - 1 : 0);
    }
  }
  const std::size_t need = std::size_t(levels[0].A.n) + (levels[0].laplacian == 1);
  if (m < need)
    fail("The right-hand side has %zu entries; the finest level needs %zu", m, need);
  bounded(levels, L);
  separate(levels, L, b, m);
}
