#include "fcg.h"

#include "block.h"
#include "gateway.h"
#include "pages.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace {

// Iterations without a new least residual after which a solve has
// stagnated: as many as it took to reach that least one, and at least 50;
// but 1000 while it has not yet fallen below its start, since conjugate
// gradients with a weak preconditioner can climb far above it for long.
const double stalled_iterations = 50, unstarted_iterations = 1000;
// True residuals above the least one, checked in a row, after which it has.
const int stalled_checks = 3;

// N(c) = the 2-norm of column c of the n-by-k block X, without under- or
// overflow: a plain sum of squares where that is safely in range, else the
// sum over the column scaled by its largest magnitude.
void bnorm(std::size_t n, std::size_t k, const double *x, double *nrm)
{
  bdot(n, k, x, x, nrm);
  for (std::size_t c = 0; c < k; ++c) {
    if (nrm[c] >= 1e-290 && nrm[c] <= 1e290) {
      nrm[c] = std::sqrt(nrm[c]);
      continue;
    }
    double m = 0, s = 0;
    for (std::size_t i = 0; i < n; ++i)
      m = std::max(m, std::fabs(x[i * k + c]));
    if (m > 0 && std::isfinite(m))
      for (std::size_t i = 0; i < n; ++i)
        s += (x[i * k + c] / m) * (x[i * k + c] / m);
    nrm[c] = m * std::sqrt(s);
  }
}

// D(c) = X(c).Y(c) and E(c) = X(c).W(c), in one pass.
void bdot2(std::size_t n, std::size_t k, const double *x, const double *y, const double *w,
           double *d, double *e)
{
  for (std::size_t c = 0; c < k; ++c)
    d[c] = e[c] = 0;
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t c = 0; c < k; ++c) {
      d[c] += x[i * k + c] * y[i * k + c];
      e[c] += x[i * k + c] * w[i * k + c];
    }
}

// Y = S(c) * X, rounded to the cycle's type.
void bscaled(std::size_t n, std::size_t k, const double *x, const double *s, Real *y)
{
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t c = 0; c < k; ++c)
      y[i * k + c] = static_cast<Real>(x[i * k + c] * s[c]);
}

// Z = S(c) * ZR in double, with D(c) = Z(c).R(c) and E(c) = Z(c).Q(c).
void bunscaled(std::size_t n, std::size_t k, const Real *zr, const double *s, const double *r,
               const double *q, double *z, double *d, double *e)
{
  for (std::size_t c = 0; c < k; ++c)
    d[c] = e[c] = 0;
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t c = 0; c < k; ++c) {
      const double v = static_cast<double>(zr[i * k + c]) * s[c];
      z[i * k + c] = v;
      d[c] += v * r[i * k + c];
      e[c] += v * q[i * k + c];
    }
}

// X = X + S(c) * P and R = R - S(c) * Q, with N(c) = R(c).R(c).
void bstep(std::size_t n, std::size_t k, const double *s, const double *p, const double *q,
           double *x, double *r, double *nn)
{
  for (std::size_t c = 0; c < k; ++c)
    nn[c] = 0;
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t c = 0; c < k; ++c) {
      x[i * k + c] += s[c] * p[i * k + c];
      const double v = r[i * k + c] - s[c] * q[i * k + c];
      r[i * k + c] = v;
      nn[c] += v * v;
    }
}

// Y = B - Y.
void bresidual(std::size_t nk, const double *b, double *y)
{
  for (std::size_t i = 0; i < nk; ++i)
    y[i] = b[i] - y[i];
}

} // namespace

void fcg(const csc &A, std::size_t k, const double *B, const double *X0, double tol,
         double maxit, kcycle &M, const kelvara::interrupt_poll &stop, double *X,
         std::vector<column_outcome> &out)
{
  const std::size_t n = A.n, nk = n * k;
  out.assign(k, column_outcome());
  // the vectors of the solve in one zero-filled block, on huge pages where
  // the system has them: fresh memory on 4 KiB pages costs a fault a page
  kelvara::pages<double> mem(7 * nk);
  kelvara::pages<Real> low_mem(2 * nk);
  if (!mem || !low_mem)
    kelvara::fail("Out of memory");
  double *const b = mem.get(), *const x = b + nk, *const r = x + nk, *const z = r + nk,
               *const p = z + nk, *const q = p + nk, *const best = q + nk;
  Real *const rr = low_mem.get(), *const zr = rr + nk;
  std::vector<int> eb(k);
  std::vector<double> nb(k), nr(k), d(k), e(k), pq(k, 1.0), step(k), cs(k);
  std::vector<double> least(k), low(k), start(k), since(k), lowat(k), last(k), at(k);
  std::vector<int> stalls(k, 0);
  std::vector<char> active(k, 0), restart(k, 1);

  // b and x0 gathered into blocks, each column scaled by a power of two
  // (exactly) to magnitudes about 1, so no product or norm of the solve
  // under- or overflows whatever the scale of the caller's b
  for (std::size_t c = 0; c < k; ++c) {
    double m = 0;
    for (std::size_t i = 0; i < n; ++i)
      m = std::max(m, std::fabs(B[c * n + i]));
    eb[c] = m > 0 ? -std::ilogb(m) : 0;
    for (std::size_t i = 0; i < n; ++i) {
      b[i * k + c] = std::ldexp(B[c * n + i], eb[c]);
      if (X0)
        x[i * k + c] = std::ldexp(X0[c * n + i], eb[c]);
    }
  }
  bnorm(n, k, b, nb.data());
  std::copy(b, b + nk, r);
  if (X0) {
    bcscmv(n, k, A.jc, A.ir, A.a, x, q);
    for (std::size_t i = 0; i < nk; ++i)
      r[i] = b[i] - q[i];
  }
  bnorm(n, k, r, nr.data());
  for (std::size_t c = 0; c < k; ++c) {
    column_outcome &o = out[c];
    least[c] = low[c] = start[c] = nr[c];
    if (nb[c] == 0) {
      o.flag = 0;
      o.resvec.push_back(0);
      for (std::size_t i = 0; i < n; ++i)
        x[i * k + c] = 0;
    } else {
      o.resvec.push_back(std::ldexp(nr[c], -eb[c]));
      if (nr[c] <= tol * nb[c]) {
        o.flag = 0;
        o.relres = nr[c] / nb[c];
      } else {
        active[c] = 1;
      }
    }
    if (!active[c])
      for (std::size_t i = 0; i < n; ++i)
        r[i * k + c] = 0;
  }
  std::copy(x, x + nk, best);

  // ends column c's solve with the given flag; its residual no longer moves
  auto finish = [&](std::size_t c, int flag, double it) {
    active[c] = 0;
    out[c].flag = flag;
    last[c] = it;
    for (std::size_t i = 0; i < n; ++i)
      r[i * k + c] = 0;
  };
  auto any = [&] { return std::find(active.begin(), active.end(), 1) != active.end(); };

  double it = 1;
  for (; it <= maxit && any(); ++it) {
    if (stop.pending())
      kelvara::fail_id("kelvara:interrupted", "Interrupted");
    // z = the cycle on r.  In single precision, and wherever a residual is
    // far from magnitude 1, each column is scaled by a power of two into the
    // cycle's range (the cycle is homogeneous: scaling r scales z alike)
    bool scaled = !std::is_same<Real, double>::value;
    for (std::size_t c = 0; c < k; ++c) {
      const int e2 = active[c] && nr[c] > 0 ? std::ilogb(nr[c]) : 0;
      cs[c] = active[c] ? std::ldexp(1.0, std::max(-1000, std::min(1000, -e2))) : 0;
      scaled = scaled || e2 > 100 || e2 < -100;
    }
    if (!scaled) {
      // Real is double here: the cycle reads r and writes z in place
      M.apply(reinterpret_cast<const Real *>(r), reinterpret_cast<Real *>(z));
      bdot2(n, k, z, r, q, d.data(), e.data());
    }
    if (scaled) {
      bscaled(n, k, r, cs.data(), rr);
      M.apply(rr, zr);
      for (std::size_t c = 0; c < k; ++c)
        cs[c] = cs[c] > 0 ? 1 / cs[c] : 0;
      bunscaled(n, k, zr, cs.data(), r, q, z, d.data(), e.data());
    }
    for (std::size_t c = 0; c < k; ++c) {
      step[c] = 0;
      if (!active[c])
        continue;
      if (!(d[c] > 0 && std::isfinite(d[c]))) {
        finish(c, std::isfinite(d[c]) ? 2 : 4, it - 1);
        continue;
      }
      step[c] = restart[c] ? 0 : -e[c] / pq[c];
    }
    // p = z less its part along the last direction, in A's inner product
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t c = 0; c < k; ++c)
        p[i * k + c] = active[c] ? z[i * k + c] + step[c] * p[i * k + c] : 0;
    bcscmv(n, k, A.jc, A.ir, A.a, p, q);
    bdot2(n, k, p, q, r, pq.data(), e.data());
    for (std::size_t c = 0; c < k; ++c) {
      step[c] = 0;
      if (!active[c])
        continue;
      if (!(pq[c] > 0 && std::isfinite(pq[c]) && std::isfinite(e[c]))) {
        pq[c] = 1;
        finish(c, 4, it - 1);
        continue;
      }
      step[c] = e[c] / pq[c];
      restart[c] = 0;
    }
    bstep(n, k, step.data(), p, q, x, r, nr.data());
    bool range = true;
    for (std::size_t c = 0; c < k; ++c)
      range = range && nr[c] >= 1e-290 && nr[c] <= 1e290;
    if (range)
      for (std::size_t c = 0; c < k; ++c)
        nr[c] = std::sqrt(nr[c]);
    else
      bnorm(n, k, r, nr.data());

    // where the recurrence says a column has converged, its true residual
    // decides: below tol it has; else the solve goes on from the true
    // residual, and stops as stagnated once that no longer falls
    bool check = false;
    for (std::size_t c = 0; c < k; ++c)
      check = check || (active[c] && nr[c] <= tol * nb[c]);
    if (check) {
      bcscmv(n, k, A.jc, A.ir, A.a, x, z);
      bresidual(nk, b, z);
      bnorm(n, k, z, e.data());
    }
    for (std::size_t c = 0; c < k; ++c) {
      if (!active[c])
        continue;
      column_outcome &o = out[c];
      if (check && nr[c] <= tol * nb[c]) {
        nr[c] = e[c];
        if (e[c] <= tol * nb[c]) {
          o.resvec.push_back(std::ldexp(e[c], -eb[c]));
          o.relres = e[c] / nb[c];
          o.iter = it;
          finish(c, 0, it);
          continue;
        }
        for (std::size_t i = 0; i < n; ++i)
          r[i * k + c] = z[i * k + c];
        restart[c] = 1;
        low[c] = e[c];
        since[c] = 0;
        lowat[c] = it;
        if (e[c] < least[c]) {
          least[c] = e[c];
          at[c] = it;
          stalls[c] = 0;
          for (std::size_t i = 0; i < n; ++i)
            best[i * k + c] = x[i * k + c];
        } else if (++stalls[c] >= stalled_checks) {
          o.resvec.push_back(std::ldexp(nr[c], -eb[c]));
          finish(c, 3, it);
          continue;
        }
      }
      o.resvec.push_back(std::ldexp(nr[c], -eb[c]));
      if (nr[c] < low[c]) {
        low[c] = nr[c];
        since[c] = 0;
        lowat[c] = it;
      } else if (++since[c] >= (low[c] < start[c] ? std::max(stalled_iterations, lowat[c])
                                                  : unstarted_iterations)) {
        finish(c, 3, it);
      }
    }
  }
  for (std::size_t c = 0; c < k; ++c)
    if (active[c])
      finish(c, 1, it - 1);

  // a solve that did not converge returns the better of its last iterate
  // and the least true residual seen, with that residual
  bcscmv(n, k, A.jc, A.ir, A.a, x, z);
  bresidual(nk, b, z);
  bnorm(n, k, z, e.data());
  for (std::size_t c = 0; c < k; ++c) {
    column_outcome &o = out[c];
    if (o.flag == 0)
      continue;
    if (e[c] <= least[c]) {
      o.relres = e[c] / nb[c];
      o.iter = last[c];
    } else {
      o.relres = least[c] / nb[c];
      o.iter = at[c];
      for (std::size_t i = 0; i < n; ++i)
        x[i * k + c] = best[i * k + c];
    }
  }
  for (std::size_t c = 0; c < k; ++c)
    for (std::size_t i = 0; i < n; ++i)
      X[c * n + i] = std::ldexp(x[i * k + c], -eb[c]);
}
