#include "rmvec.h"

void rmvecmul(const std::uint32_t *cI, const Real *r, std::uint32_t n, Real *rc, std::uint32_t nc,
              std::uint32_t dc)
{
  for (std::uint32_t j = 0; j < nc; ++j)
    rc[j] = 0;
  if (!dc) {
    for (std::uint32_t i = 0; i < n; ++i)
      rc[cI[i]] += r[i];
    return;
  }
  const std::uint32_t left = nc - 1;
  for (std::uint32_t i = 0; i < n; ++i)
    if (cI[i] < left)
      rc[cI[i]] += r[i];
}

void trmvecmul(const std::uint32_t *cI, const Real *ec, std::uint32_t nc, Real *e, std::uint32_t n,
               std::uint32_t dc)
{
  if (!dc) {
    for (std::uint32_t i = 0; i < n; ++i)
      e[i] = ec[cI[i]];
    return;
  }
  const std::uint32_t left = nc - 1;
  for (std::uint32_t i = 0; i < n; ++i)
    e[i] = cI[i] < left ? ec[cI[i]] : Real(0);
}
