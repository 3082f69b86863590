#include "vmv.h"

void vmv(const Real *a, const Real *b, Real *c, std::uint32_t n)
{
  for (std::uint32_t i = 0; i < n; ++i)
    c[i] = a[i] - b[i];
}
