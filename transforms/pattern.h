// The output of a transform that keeps its input's pattern: a sparse double
// matrix of A's size, capacity and stored entries, A's imaginary parts when
// A is complex, and real values left for the caller to write.
//
// Built by creating a sparse array and copying the pattern, not by
// duplicating A: Octave 7's duplicate of an argument whose dimensions have
// been read keeps a copy of them that is never released, about 80 bytes per
// call.  Creating costs no more, and the real values are then written once,
// straight from A's, instead of copied and then rewritten.
#ifndef KELVARA_TRANSFORMS_PATTERN_H
#define KELVARA_TRANSFORMS_PATTERN_H

#include "args.h"
#include "gateway.h"

#include <algorithm>

namespace kelvara {

// A new array with A's pattern (A a sparse double matrix of n columns); null
// when the host has no memory.
inline mxArray *same_pattern(const mxArray *A, std::size_t n)
{
  const bool complex = mxIsComplex(A);
  mxArray *B = mxCreateSparse(mxGetM(A), n, mxGetNzmax(A), complex ? mxCOMPLEX : mxREAL);
  if (!B)
    return nullptr;
  const std::size_t nnz = stored(A);
  std::copy(mxGetJc(A), mxGetJc(A) + n + 1, mxGetJc(B));
  std::copy(mxGetIr(A), mxGetIr(A) + nnz, mxGetIr(B));
  if (complex)
    std::copy(mxGetPi(A), mxGetPi(A) + nnz, mxGetPi(B));
  return B;
}

} // namespace kelvara

#endif
