#include "fcg.h"

#include "block.h"
#include "gateway.h"
#include "pages.h"

#include <algorithm>
#include <cmath>

namespace {

// Iterations without a new least residual after which a solve has stagnated.
const double stalled_iterations = 50;
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

// S(c) = the power of two that brings the largest magnitude of column c of
// X to [1, 2), or 0 for a zero column.
void bunit(std::size_t n, std::size_t k, const double *x, double *s)
{
  std::fill(s, s + k, 0.0);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t c = 0; c < k; ++c)
      s[c] = std::max(s[c], std::fabs(x[i * k + c]));
  for (std::size_t c = 0; c < k; ++c)
    s[c] = s[c] > 0 && std::isfinite(s[c]) ? std::ldexp(1.0, std::min(-std::ilogb(s[c]), 1000)) : 0;
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
  std::vector<double> least(k), low(k), since(k), last(k), at(k);
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
    least[c] = low[c] = nr[c];
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
    // z = the cycle on r, each column scaled into the cycle's range
    bunit(n, k, r, cs.data());
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t c = 0; c < k; ++c)
        rr[i * k + c] = static_cast<Real>(r[i * k + c] * cs[c]);
    M.apply(rr, zr);
    for (std::size_t c = 0; c < k; ++c)
      cs[c] = cs[c] > 0 ? 1 / cs[c] : 0;
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t c = 0; c < k; ++c)
        z[i * k + c] = static_cast<double>(zr[i * k + c]) * cs[c];
    bdot(n, k, z, r, d.data());
    bdot(n, k, z, q, e.data());
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
    bdot(n, k, p, q, pq.data());
    bdot(n, k, p, r, e.data());
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
    baxpy(n, k, step.data(), p, x);
    for (std::size_t c = 0; c < k; ++c)
      step[c] = -step[c];
    baxpy(n, k, step.data(), q, r);
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
      } else if (++since[c] >= stalled_iterations) {
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
