// Argument checks shared by the solver's compiled helpers.
#ifndef KELVARA_SOLVER_GRAPH_ARGS_H
#define KELVARA_SOLVER_GRAPH_ARGS_H

#include "args.h"
#include "gateway.h"

#include <cstddef>

namespace kelvara {

// Entry k of a sparse matrix's index array, as an unsigned size.
inline std::size_t at(const mwIndex *a, std::size_t k) { return static_cast<std::size_t>(a[k]); }

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

// Checks the one matrix argument of a step: a real square sparse double
// matrix.  Returns its order.
inline std::size_t square_matrix(const mxArray *a)
{
  if (!is_sparse_double(a) || mxIsComplex(a))
    fail("Input must be a real sparse double matrix");
  const std::size_t n = mxGetN(a);
  if (mxGetM(a) != n)
    fail("Input must be square");
  return n;
}

// Checks a real full double vector of one entry per vertex of an n-vertex
// graph, named by what in the message.  Returns its entries.
inline const double *vertex_values(const mxArray *a, std::size_t n, const char *what)
{
  if (!is_full_double(a) || mxIsComplex(a) || mxGetNumberOfElements(a) != n)
    fail("%s must be a real double vector with one entry per vertex", what);
  return mxGetPr(a);
}

} // namespace kelvara

#endif
