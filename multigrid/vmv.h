#ifndef KELVARA_MULTIGRID_VMV_H
#define KELVARA_MULTIGRID_VMV_H
#include "real.h"
// c = a - b, element-wise; c may be a or b.
void vmv(const Real *a, const Real *b, Real *c, std::uint32_t n);
#endif
