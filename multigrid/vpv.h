#ifndef KELVARA_MULTIGRID_VPV_H
#define KELVARA_MULTIGRID_VPV_H
#include "real.h"
// c = a + b, element-wise; c may be a or b.
void vpv(const Real *a, const Real *b, Real *c, std::uint32_t n);
#endif
