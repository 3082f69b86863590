#ifndef KELVARA_MULTIGRID_LDL_SOLVE_H
#define KELVARA_MULTIGRID_LDL_SOLVE_H
#include "levels.h"
// y = the solution of the last level's system for right-hand side x, by the
// permuted LDL' factor in double arithmetic; x and y are different arrays.
void ldl_solve(const CholFactor &chol, const Real *x, Real *y);
#endif
