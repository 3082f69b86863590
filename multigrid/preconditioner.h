#ifndef KELVARA_MULTIGRID_PRECONDITIONER_H
#define KELVARA_MULTIGRID_PRECONDITIONER_H
#include "levels.h"
// x = the result of `cycles` multigrid cycles on level `depth` for
// right-hand side b: a direct or diagonal solve on a last level, Jacobi
// smoothing around coarse corrections on an inner level.
void preconditioner(const LevelRecord *levels, const Real *b, std::int32_t depth,
                    std::int32_t cycles, Real *x);
#endif
