#ifndef KELVARA_MULTIGRID_RMVEC_H
#define KELVARA_MULTIGRID_RMVEC_H
#include "real.h"
// rc[j] = sum of r[i] over the fine unknowns i of coarse node j = cI[i];
// with dc nonzero, node nc-1 is left out and rc[nc-1] stays 0.
void rmvecmul(const std::uint32_t *cI, const Real *r, std::uint32_t n, Real *rc, std::uint32_t nc,
              std::uint32_t dc);
// e[i] = ec[cI[i]]; with dc nonzero, e[i] = 0 for the unknowns of node nc-1.
void trmvecmul(const std::uint32_t *cI, const Real *ec, std::uint32_t nc, Real *e, std::uint32_t n,
               std::uint32_t dc);
#endif
