// Argument checks shared by the solver's compiled helpers.
#ifndef KELVARA_SOLVER_GRAPH_ARGS_H
#define KELVARA_SOLVER_GRAPH_ARGS_H

#include "args.h"
#include "gateway.h"

#include <cstddef>

namespace kelvara {

// Largest vertex count whose group numbers and the ground's fit in 32 bits.
const std::size_t max_groups = 0xFFFFFFFEu;

// Checks a weighted graph: a real square sparse double matrix of fewer than
// 2^32 - 1 columns.  Returns its order.
inline std::size_t square_weights(const mxArray *w)
{
  if (!is_sparse_double(w) || mxIsComplex(w))
    fail("First argument must be a real sparse double matrix");
  const std::size_t n = mxGetN(w);
  if (mxGetM(w) != n)
    fail("First argument must be square");
  if (n > max_groups)
    fail("Too many vertices for 32-bit group numbers");
  return n;
}

} // namespace kelvara

#endif
