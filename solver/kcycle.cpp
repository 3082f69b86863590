#include "kcycle.h"

#include "block.h"
#include "gateway.h"

#include <cmath>

namespace {

bool direct(const LevelRecord &V) { return V.islast == 1 && V.iterative == 0; }
bool last(const LevelRecord &V, std::size_t l, std::size_t L)
{
  return direct(V) || V.iterative == 1 || l + 1 >= L;
}

} // namespace

// Lays the vectors of each level out one after another, for blocks of k:
// a product on every inner level; a coarse right-hand side and result on
// every coarser one, and two more vectors and seven scalars a column where
// the coarse level is itself inner; the factored level's work block.
// *reals and *doubles count what they take; where sp is given, its spaces
// and *w point into m and d.
void kcycle::layout(const std::vector<LevelRecord> &levels, std::size_t k, Real *m, double *d,
                    space *sp, double **w, std::size_t *reals, std::size_t *doubles)
{
  std::size_t r = 0, q = 0;
  for (std::size_t l = 0; l < levels.size(); ++l) {
    const LevelRecord &V = levels[l];
    const std::size_t n = std::size_t(V.A.n) * k;
    const bool end = last(V, l, levels.size());
    auto take = [&](Real *&v) {
      if (sp)
        v = m + r;
      r += n;
    };
    space none{}, &s = sp ? sp[l] : none;
    if (!end) {
      take(s.t);
      if (sp)
        s.d = d + q;
      q += 7 * k;
    }
    if (l > 0) {
      take(s.rc);
      take(s.c1);
      if (!end) {
        take(s.v1);
        take(s.c2);
      }
    }
    if (direct(V)) {
      if (sp)
        *w = d + q;
      q += std::size_t(V.chol.ld.n) * k;
    }
    if (end)
      break;
  }
  *reals = r;
  *doubles = q;
}

std::size_t kcycle::reals(const std::vector<LevelRecord> &levels, std::size_t k)
{
  std::size_t r = 0, q = 0;
  layout(levels, k, nullptr, nullptr, nullptr, nullptr, &r, &q);
  return r;
}

std::size_t kcycle::doubles(const std::vector<LevelRecord> &levels, std::size_t k)
{
  std::size_t r = 0, q = 0;
  layout(levels, k, nullptr, nullptr, nullptr, nullptr, &r, &q);
  return q;
}

kcycle::kcycle(const std::vector<LevelRecord> &levels, std::size_t k,
               const kelvara::interrupt_poll &stop)
    : lv_(levels), k_(k), stop_(stop), sp_(levels.size(), space{}), steps_(levels.size(), 1),
      mem_(reals(levels, k)), dmem_(doubles(levels, k))
{
  if (!mem_ || !dmem_)
    kelvara::fail("Out of memory");
  const std::size_t L = levels.size();
  std::size_t r = 0, q = 0;
  layout(levels, k, mem_.get(), dmem_.get(), sp_.data(), &w_, &r, &q);
  // two steps on a coarse level where the Hierarchy repeats its cycle, or
  // where it has at most half the entries of the level above, so that the
  // work of each level stays below that of the level above it
  for (std::size_t l = 1; l < L; ++l) {
    const LevelRecord &U = levels[l - 1], &V = levels[l];
    const double above = U.A.ia[U.A.n], here = V.A.ia[V.A.n];
    steps_[l] = U.repeat >= 2 || above >= 2 * here ? 2 : 1;
  }
}

void kcycle::apply(const Real *r, Real *z) { visit(0, r, z); }

// X = the cycle of level l on B.
void kcycle::visit(std::size_t l, const Real *b, Real *x)
{
  if (stop_.pending())
    kelvara::fail_id("kelvara:interrupted", "Interrupted");
  const LevelRecord &V = lv_[l];
  const std::size_t n = V.A.n, k = k_;
  if (direct(V)) {
    bldl(V.chol, k, b, w_, x);
    return;
  }
  if (last(V, l, lv_.size())) {
    bscale(n, k, V.invD, b, x);
    return;
  }
  space &s = sp_[l];
  const std::size_t nc = lv_[l + 1].A.n;
  bscale(n, k, V.invD, b, x);
  bsymv(n, k, V.A.a, V.A.ia, V.A.ja, x, s.t);
  bsubfrom(n, k, b, s.t);
  brestrict(n, nc, k, V.cI, s.t, sp_[l + 1].rc);
  coarse(l + 1, steps_[l + 1]);
  bprolong(n, nc, k, V.cI, sp_[l + 1].c1, x);
  bsymv(n, k, V.A.a, V.A.ia, V.A.ja, x, s.t);
  bsweep(n, k, V.invD, b, s.t, x);
}

// c1 of level m = its correction for the right-hand side rc: one cycle, or
// for steps >= 2 on an inner level, two flexible conjugate-gradient steps
// preconditioned by the cycle (rc is overwritten by the first residual).
void kcycle::coarse(std::size_t m, int steps)
{
  space &s = sp_[m];
  const LevelRecord &V = lv_[m];
  const std::size_t n = V.A.n, k = k_;
  visit(m, s.rc, s.c1);
  if (steps < 2 || last(V, m, lv_.size()))
    return;
  // scalars of this level's own: the visits below have theirs
  double *rho1 = s.d, *a1 = rho1 + k, *g = a1 + k, *be = g + k, *a2 = be + k,
         *s1 = a2 + k, *s2 = s1 + k;
  bsymv(n, k, V.A.a, V.A.ia, V.A.ja, s.c1, s.v1);
  const Real *y1[2] = {s.v1, s.rc};
  double *d1[2] = {rho1, a1};
  bdots<2>(n, k, s.c1, y1, d1);
  for (std::size_t c = 0; c < k; ++c) {
    const bool ok = rho1[c] > 0 && std::isfinite(rho1[c]) && std::isfinite(a1[c]);
    s1[c] = ok ? a1[c] / rho1[c] : 1;
    s2[c] = ok ? -s1[c] : 0;
  }
  baxpy(n, k, s2, s.v1, s.rc);
  visit(m, s.rc, s.c2);
  bsymv(n, k, V.A.a, V.A.ia, V.A.ja, s.c2, s.t);
  const Real *y2[3] = {s.v1, s.t, s.rc};
  double *d2[3] = {g, be, a2};
  bdots<3>(n, k, s.c2, y2, d2);
  for (std::size_t c = 0; c < k; ++c) {
    const double rho2 = s2[c] != 0 ? be[c] - g[c] * (g[c] / rho1[c]) : 0;  // no square to overflow
    if (rho2 > 0 && std::isfinite(rho2) && std::isfinite(a2[c])) {
      s2[c] = a2[c] / rho2;
      s1[c] -= g[c] * s2[c] / rho1[c];
    } else {
      s2[c] = 0;
    }
  }
  bcombine(n, k, s1, s2, s.c2, s.c1);
}
