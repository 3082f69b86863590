// Checks shared by the modules that read parent vectors and weighted graphs.
// A parent vector holds, for each of n vertices, the 0-based index of its
// parent, or n+1 for none; both must fit in 32 bits.
#ifndef KELVARA_HIERARCHY_PARENTS_H
#define KELVARA_HIERARCHY_PARENTS_H

#include "args.h"
#include "gateway.h"

#include <cstddef>
#include <cstdint>

namespace kelvara {

// Largest vertex count whose indices and "none" mark n+1 are 32-bit words.
const std::size_t max_vertices = 0xFFFFFFFEu;

// Refuses a graph or vector of more vertices than 32-bit parents can name.
inline void fits_parents(std::size_t n)
{
  if (n > max_vertices)
    fail("%s", "Too many vertices for 32-bit parent indices");
}

// Checks a parent-vector argument: a vector (else vector_text), of class
// uint32.  Returns its entries.
inline const std::uint32_t *parent_vector(const mxArray *a, const char *vector_text)
{
  if (!is_vector(a))
    fail("%s", vector_text);
  if (mxGetClassID(a) != mxUINT32_CLASS)
    fail("Input vector must be of type uint32");
  return static_cast<const std::uint32_t *>(mxGetData(a));
}

// Refuses entries of p (n entries) that name no vertex and are not the
// mark n+1: walks that follow parents then stay within the vector.
inline void named_parents(std::size_t n, const std::uint32_t *p)
{
  for (std::size_t i = 0; i < n; ++i)
    if (p[i] >= n && p[i] != n + 1)
      fail("%s", "Parent entries must be vertex indices below n, or n+1 for none");
}

// The parent-vector argument of a module that walks its parents: checked as
// parent_vector() does, then refused when it has more entries than 32 bits
// can name or an entry that named_parents() refuses.  n receives its count.
inline const std::uint32_t *walked_parents(const mxArray *a, std::size_t &n)
{
  const std::uint32_t *p = parent_vector(a, "Input must be a vector");
  n = mxGetNumberOfElements(a);
  fits_parents(n);
  named_parents(n, p);
  return p;
}

// The values of a sparse weight matrix, refused unless they are doubles (a
// sparse logical matrix stores bytes).
inline const double *weights(const mxArray *a)
{
  if (!mxIsDouble(a))
    fail("%s", "Sparse matrix must be of class double");
  return mxGetPr(a);
}

} // namespace kelvara

#endif
