// Kernels over blocks of k vectors, for solving k right-hand sides in
// lockstep: a block of n rows holds entry i of vector c at [i*k + c], so
// one pass over a matrix serves all k.  Counts are sizes; a count of 0 does
// nothing.  Scalars of column c (dots, coefficients) are arrays of k.
#ifndef KELVARA_SOLVER_BLOCK_H
#define KELVARA_SOLVER_BLOCK_H

#include "../multigrid/levels.h"
#include "mex.h"

#include <cstddef>
#include <cstdint>

// Y = A*X for the level matrix (n, a, ia, ja) stored as the cycle stores it:
// each row's diagonal first, then each off-diagonal pair once.
void bsymv(std::size_t n, std::size_t k, const Real *a, const std::uint32_t *ia,
           const std::uint32_t *ja, const Real *x, Real *y);

// Y = A*X for the n-by-n sparse (jc, ir, a) of the host, by columns.
void bcscmv(std::size_t n, std::size_t k, const mwIndex *jc, const mwIndex *ir,
            const double *a, const double *x, double *y);

namespace blockdetail {

// The dots of columns c0 .. c0+K-1 for bdots, K fixed at compile time so
// that the partial sums stay in registers.
template <std::size_t M, std::size_t K, class T>
void dots(std::size_t n, std::size_t k, std::size_t c0, const T *x, const T *const *y,
          double *const *d)
{
  double s[4][M][K] = {};
  for (std::size_t i = 0; i < n; i += 4)
    for (std::size_t r = 0; r < 4; ++r)
      if (i + r < n)
        for (std::size_t c = 0; c < K; ++c) {
          const std::size_t at = (i + r) * k + c0 + c;
          const double v = static_cast<double>(x[at]);
          for (std::size_t j = 0; j < M; ++j)
            s[r][j][c] += v * static_cast<double>(y[j][at]);
        }
  for (std::size_t j = 0; j < M; ++j)
    for (std::size_t c = 0; c < K; ++c)
      d[j][c0 + c] = (s[0][j][c] + s[1][j][c]) + (s[2][j][c] + s[3][j][c]);
}

} // namespace blockdetail

// D_j(c) = X(c).Y_j(c) for each of the M blocks Y_j, in one pass over them,
// accumulated in double in four partial sums (the rows by their remainder
// mod 4) so that the additions overlap; each column sums in the same order
// whatever k is, so a column solved alone gives what it gives among others.
template <std::size_t M, class T>
void bdots(std::size_t n, std::size_t k, const T *x, const T *const (&y)[M], double *const (&d)[M])
{
  for (std::size_t c0 = 0; c0 < k; c0 += 4)
    switch (k - c0) {
    case 1: blockdetail::dots<M, 1>(n, k, c0, x, y, d); break;
    case 2: blockdetail::dots<M, 2>(n, k, c0, x, y, d); break;
    case 3: blockdetail::dots<M, 3>(n, k, c0, x, y, d); break;
    default: blockdetail::dots<M, 4>(n, k, c0, x, y, d); break;
    }
}

// D(c) = sum over i of X(i,c)*Y(i,c), accumulated in double.
template <class T>
void bdot(std::size_t n, std::size_t k, const T *x, const T *y, double *d)
{
  const T *ys[1] = {y};
  double *ds[1] = {d};
  bdots<1>(n, k, x, ys, ds);
}

// Y = D .* X, D of n entries shared by the k columns.
void bscale(std::size_t n, std::size_t k, const Real *d, const Real *x, Real *y);

// Y = B - Y.
void bsubfrom(std::size_t n, std::size_t k, const Real *b, Real *y);

// X = X + D .* (B - T): a smoothing sweep once T = A*X.
void bsweep(std::size_t n, std::size_t k, const Real *d, const Real *b, const Real *t, Real *x);

// RC = the sums of R over each coarse node below nc (fine rows mapped to a
// node at or above nc are left out).
void brestrict(std::size_t n, std::size_t nc, std::size_t k, const std::uint32_t *cI,
               const Real *r, Real *rc);

// X = X + the coarse values EC of each fine row's node (none at or above nc).
void bprolong(std::size_t n, std::size_t nc, std::size_t k, const std::uint32_t *cI,
              const Real *ec, Real *x);

// X = X + S(c) * Y, column by column.
template <class T>
void baxpy(std::size_t n, std::size_t k, const double *s, const T *y, T *x)
{
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t c = 0; c < k; ++c)
      x[i * k + c] = static_cast<T>(x[i * k + c] + s[c] * y[i * k + c]);
}

// X = S(c) * X + T(c) * Y, column by column.
void bcombine(std::size_t n, std::size_t k, const double *s, const double *t, const Real *y,
              Real *x);

// Y = the solution of the factored last level for right-hand sides X, in
// double (W holds n*k doubles).
void bldl(const CholFactor &f, std::size_t k, const Real *x, double *w, Real *y);

#endif
