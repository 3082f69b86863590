#ifndef KELVARA_MULTIGRID_SSPMV_H
#define KELVARA_MULTIGRID_SSPMV_H
#include "real.h"
// y = A*x for a symmetric A of order n stored as n segments: segment i holds
// the diagonal A(i,i) first, then each off-diagonal pair {i, ja[k]} stored
// once; y must not be x.  Leaves y untouched when n is 0.
void sspmv(std::uint32_t n, const Real *a, const std::uint32_t *ia, const std::uint32_t *ja,
           const Real *x, Real *y);
#endif
