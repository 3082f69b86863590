#include "block.h"

#include <vector>

namespace {

// The products below, with the column count K fixed at compile time for up
// to four vectors, or taken from k (K = 0).
template <std::size_t K>
void symv(std::size_t n, std::size_t kk, const Real *a, const std::uint32_t *ia,
          const std::uint32_t *ja, const Real *__restrict x, Real *__restrict y)
{
  const std::size_t k = K ? K : kk;
  for (std::size_t i = 0; i < n * k; ++i)
    y[i] = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const Real *xi = x + i * k;
    Real *yi = y + i * k;
    const Real d = a[ia[i]];
    for (std::size_t c = 0; c < k; ++c)
      yi[c] += d * xi[c];
    for (std::uint32_t p = ia[i] + 1; p < ia[i + 1]; ++p) {
      const Real v = a[p];
      const Real *xj = x + std::size_t(ja[p]) * k;
      Real *yj = y + std::size_t(ja[p]) * k;
      for (std::size_t c = 0; c < k; ++c) {
        yi[c] += v * xj[c];
        yj[c] += v * xi[c];
      }
    }
  }
}

template <std::size_t K>
void cscmv(std::size_t n, std::size_t kk, const mwIndex *jc, const mwIndex *ir, const double *a,
           const double *__restrict x, double *__restrict y)
{
  const std::size_t k = K ? K : kk;
  for (std::size_t i = 0; i < n * k; ++i)
    y[i] = 0;
  for (std::size_t j = 0; j < n; ++j) {
    const double *xj = x + j * k;
    for (std::size_t p = jc[j]; p < std::size_t(jc[j + 1]); ++p) {
      double *yi = y + std::size_t(ir[p]) * k;
      for (std::size_t c = 0; c < k; ++c)
        yi[c] += a[p] * xj[c];
    }
  }
}

} // namespace

void bsymv(std::size_t n, std::size_t k, const Real *a, const std::uint32_t *ia,
           const std::uint32_t *ja, const Real *x, Real *y)
{
  switch (k) {
  case 1: return symv<1>(n, k, a, ia, ja, x, y);
  case 2: return symv<2>(n, k, a, ia, ja, x, y);
  case 3: return symv<3>(n, k, a, ia, ja, x, y);
  case 4: return symv<4>(n, k, a, ia, ja, x, y);
  default: return symv<0>(n, k, a, ia, ja, x, y);
  }
}

void bcscmv(std::size_t n, std::size_t k, const mwIndex *jc, const mwIndex *ir, const double *a,
            const double *x, double *y)
{
  switch (k) {
  case 1: return cscmv<1>(n, k, jc, ir, a, x, y);
  case 2: return cscmv<2>(n, k, jc, ir, a, x, y);
  case 3: return cscmv<3>(n, k, jc, ir, a, x, y);
  case 4: return cscmv<4>(n, k, jc, ir, a, x, y);
  default: return cscmv<0>(n, k, jc, ir, a, x, y);
  }
}

void bscale(std::size_t n, std::size_t k, const Real *d, const Real *x, Real *y)
{
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t c = 0; c < k; ++c)
      y[i * k + c] = d[i] * x[i * k + c];
}

void bsubfrom(std::size_t n, std::size_t k, const Real *b, Real *y)
{
  for (std::size_t i = 0; i < n * k; ++i)
    y[i] = b[i] - y[i];
}

void bsweep(std::size_t n, std::size_t k, const Real *d, const Real *b, const Real *t, Real *x)
{
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t c = 0; c < k; ++c)
      x[i * k + c] += d[i] * (b[i * k + c] - t[i * k + c]);
}

void brestrict(std::size_t n, std::size_t nc, std::size_t k, const std::uint32_t *cI,
               const Real *r, Real *rc)
{
  for (std::size_t j = 0; j < nc * k; ++j)
    rc[j] = 0;
  for (std::size_t i = 0; i < n; ++i)
    if (cI[i] < nc)
      for (std::size_t c = 0; c < k; ++c)
        rc[std::size_t(cI[i]) * k + c] += r[i * k + c];
}

void bprolong(std::size_t n, std::size_t nc, std::size_t k, const std::uint32_t *cI,
              const Real *ec, Real *x)
{
  for (std::size_t i = 0; i < n; ++i)
    if (cI[i] < nc)
      for (std::size_t c = 0; c < k; ++c)
        x[i * k + c] += ec[std::size_t(cI[i]) * k + c];
}

void bcombine(std::size_t n, std::size_t k, const double *s, const double *t, const Real *y,
              Real *x)
{
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t c = 0; c < k; ++c)
      x[i * k + c] = static_cast<Real>(s[c] * x[i * k + c] + t[c] * y[i * k + c]);
}

namespace {

// The triangular solves of bldl on columns c0 .. c0+K-1 of W in place, each
// row's sum in two partial sums so that the additions overlap.
template <std::size_t K>
void ldl(const CholFactor &f, std::size_t k, std::size_t c0, double *w)
{
  const std::size_t n = f.ld.n;
  const double *la = f.ld.a, *ua = f.ldT.a;
  const std::uint32_t *lia = f.ld.ia, *lja = f.ld.ja, *uia = f.ldT.ia, *uja = f.ldT.ja;
  w += c0;
  for (std::size_t i = 0; i < n; ++i) {
    double s[2][K] = {};
    for (std::uint32_t p = lia[i]; p + 1 < lia[i + 1]; ++p)  // all but the pivot, last
      for (std::size_t c = 0; c < K; ++c)
        s[(p - lia[i]) & 1][c] += la[p] * w[std::size_t(lja[p]) * k + c];
    for (std::size_t c = 0; c < K; ++c)
      w[i * k + c] -= s[0][c] + s[1][c];
  }
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t c = 0; c < K; ++c)
      w[i * k + c] /= la[lia[i + 1] - 1];
  for (std::size_t i = n; i-- > 0;) {
    double s[2][K] = {};
    for (std::uint32_t p = uia[i] + 1; p < uia[i + 1]; ++p)
      for (std::size_t c = 0; c < K; ++c)
        s[(p - uia[i]) & 1][c] += ua[p] * w[std::size_t(uja[p]) * k + c];
    for (std::size_t c = 0; c < K; ++c)
      w[i * k + c] -= s[0][c] + s[1][c];
  }
}

} // namespace

void bldl(const CholFactor &f, std::size_t k, const Real *x, double *w, Real *y)
{
  const std::size_t n = f.ld.n;
  if (n == 0)
    return;
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t c = 0; c < k; ++c)
      w[i * k + c] = static_cast<double>(x[std::size_t(f.p[i]) * k + c]);
  for (std::size_t c0 = 0; c0 < k; c0 += 4)
    switch (k - c0) {
    case 1: ldl<1>(f, k, c0, w); break;
    case 2: ldl<2>(f, k, c0, w); break;
    case 3: ldl<3>(f, k, c0, w); break;
    default: ldl<4>(f, k, c0, w); break;
    }
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t c = 0; c < k; ++c)
      y[i * k + c] = static_cast<Real>(w[std::size_t(f.invp[i]) * k + c]);
}
