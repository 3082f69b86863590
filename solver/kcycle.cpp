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

kcycle::kcycle(const std::vector<LevelRecord> &levels, std::size_t k,
               const kelvara::interrupt_poll &stop)
    : lv_(levels), k_(k), stop_(stop), sp_(levels.size())
{
  const std::size_t L = levels.size();
  for (std::size_t l = 0; l < L; ++l) {
    const LevelRecord &V = levels[l];
    const std::size_t n = std::size_t(V.A.n) * k;
    const bool end = last(V, l, L);
    space &s = sp_[l];
    if (!end)
      s.t.resize(n);
    if (l > 0) {
      s.rc.resize(n);
      s.c1.resize(n);
      if (!end) {
        s.v1.resize(n);
        s.c2.resize(n);
        s.d.resize(7 * k);
      }
    }
    if (direct(V))
      w_.resize(std::size_t(V.chol.ld.n) * k);
    if (end)
      break;
  }
  // two steps on a coarse level where the Hierarchy repeats its cycle, or
  // where it has at most half the entries of the level above, so that the
  // work of each level stays below that of the level above it
  steps_.assign(L, 1);
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
    bldl(V.chol, k, b, w_.data(), x);
    return;
  }
  if (last(V, l, lv_.size())) {
    bscale(n, k, V.invD, b, x);
    return;
  }
  space &s = sp_[l];
  const std::size_t nc = lv_[l + 1].A.n;
  bscale(n, k, V.invD, b, x);
  bsymv(n, k, V.A.a, V.A.ia, V.A.ja, x, s.t.data());
  bsubfrom(n, k, b, s.t.data());
  brestrict(n, nc, k, V.cI, s.t.data(), sp_[l + 1].rc.data());
  coarse(l + 1, steps_[l + 1]);
  bprolong(n, nc, k, V.cI, sp_[l + 1].c1.data(), x);
  bsymv(n, k, V.A.a, V.A.ia, V.A.ja, x, s.t.data());
  bsweep(n, k, V.invD, b, s.t.data(), x);
}

// c1 of level m = its correction for the right-hand side rc: one cycle, or
// for steps >= 2 on an inner level, two flexible conjugate-gradient steps
// preconditioned by the cycle (rc is overwritten by the first residual).
void kcycle::coarse(std::size_t m, int steps)
{
  space &s = sp_[m];
  const LevelRecord &V = lv_[m];
  const std::size_t n = V.A.n, k = k_;
  visit(m, s.rc.data(), s.c1.data());
  if (steps < 2 || last(V, m, lv_.size()))
    return;
  // scalars of this level's own: the visits below have theirs
  double *rho1 = s.d.data(), *a1 = rho1 + k, *g = a1 + k, *be = g + k, *a2 = be + k,
         *s1 = a2 + k, *s2 = s1 + k;
  bsymv(n, k, V.A.a, V.A.ia, V.A.ja, s.c1.data(), s.v1.data());
  bdot(n, k, s.c1.data(), s.v1.data(), rho1);
  bdot(n, k, s.c1.data(), s.rc.data(), a1);
  for (std::size_t c = 0; c < k; ++c) {
    const bool ok = rho1[c] > 0 && std::isfinite(rho1[c]) && std::isfinite(a1[c]);
    s1[c] = ok ? a1[c] / rho1[c] : 1;
    s2[c] = ok ? -s1[c] : 0;
  }
  baxpy(n, k, s2, s.v1.data(), s.rc.data());
  visit(m, s.rc.data(), s.c2.data());
  bsymv(n, k, V.A.a, V.A.ia, V.A.ja, s.c2.data(), s.t.data());
  bdot(n, k, s.c2.data(), s.v1.data(), g);
  bdot(n, k, s.c2.data(), s.t.data(), be);
  bdot(n, k, s.c2.data(), s.rc.data(), a2);
  for (std::size_t c = 0; c < k; ++c) {
    const double rho2 = s2[c] != 0 ? be[c] - g[c] * g[c] / rho1[c] : 0;
    if (rho2 > 0 && std::isfinite(rho2) && std::isfinite(a2[c])) {
      s2[c] = a2[c] / rho2;
      s1[c] -= g[c] * s2[c] / rho1[c];
    } else {
      s2[c] = 0;
    }
  }
  bcombine(n, k, s1, s2, s.c2.data(), s.c1.data());
}
