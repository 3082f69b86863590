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

// D(c) = sum over i of X(i,c)*Y(i,c), accumulated in double.
template <class T>
void bdot(std::size_t n, std::size_t k, const T *x, const T *y, double *d)
{
  for (std::size_t c = 0; c < k; ++c)
    d[c] = 0;
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t c = 0; c < k; ++c)
      d[c] += static_cast<double>(x[i * k + c]) * static_cast<double>(y[i * k + c]);
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
