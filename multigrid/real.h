// The element type of one build of the preconditioner: float or double.
#ifndef KELVARA_MULTIGRID_REAL_H
#define KELVARA_MULTIGRID_REAL_H

#include <cstdint>

#ifndef KELVARA_REAL
#error "KELVARA_REAL must name the element type (float or double)"
#endif

typedef KELVARA_REAL Real;

#endif
