// Argument tests and conversions that several modules share.
#ifndef KELVARA_HOST_ARGS_H
#define KELVARA_HOST_ARGS_H

#include "mex.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>

namespace kelvara {

// True when one of the two dimensions is 1 (an empty 1x0 or 0x1 counts).
inline bool is_vector(const mxArray *a) { return mxGetM(a) == 1 || mxGetN(a) == 1; }

// True for a real or complex sparse matrix of class double.
inline bool is_sparse_double(const mxArray *a) { return mxIsSparse(a) && mxIsDouble(a); }

// True for a full array of class double.
inline bool is_full_double(const mxArray *a) { return mxIsDouble(a) && !mxIsSparse(a); }

// The column count of a, worked out from its element and row counts when it
// has rows.  Octave 7 keeps the dimensions it is asked for with an argument
// and loses them, about 80 bytes a call, when the argument is converted
// later in the call (duplicated, an entry or its imaginary part read).
inline std::size_t columns(const mxArray *a)
{
  const std::size_t m = mxGetM(a);
  return m ? mxGetNumberOfElements(a) / m : mxGetN(a);
}

// Stored-entry count of a sparse matrix.
inline std::size_t stored(const mxArray *a)
{
  return static_cast<std::size_t>(mxGetJc(a)[columns(a)]);
}

// True when k entries can be numbered by the host's sparse indices: always
// with pointer-wide ones, below 2^31 with the 32-bit interface.
inline bool fits_index(std::size_t k)
{
  return k <= static_cast<std::size_t>(std::numeric_limits<mwIndex>::max());
}

// Owns an array until it is handed to the host: a temporary, or an output
// not yet complete, is destroyed on every way out of the call, a failure or
// an exception thrown through the module by a call back into the host.
struct destroy_array {
  void operator()(mxArray *a) const { mxDestroyArray(a); }
};
using owned = std::unique_ptr<mxArray, destroy_array>;

// Host memory (mxMalloc) for n elements of T, uninitialised, freed with mxFree
// on every way out of the call, a failure included.  n = 0 takes no block.
// False when the host has none: callers test it (!s) and fail with their own
// message.
template <class T> class scratch {
public:
  explicit scratch(std::size_t n) : p_(take(n)), n_(p_ ? n : 0), ok_(p_ || n == 0) {}
  ~scratch() { mxFree(p_); }
  scratch(const scratch &) = delete;
  scratch &operator=(const scratch &) = delete;
  explicit operator bool() const { return ok_; }
  T *get() const { return p_; }
  T &operator[](std::size_t k) const { return p_[k]; }
  std::size_t size() const { return n_; }
  // Grows to n elements with mxRealloc, keeping the contents; false when the
  // host has no more, the old block then staying owned.
  bool grow(std::size_t n)
  {
    void *q = n <= SIZE_MAX / sizeof(T) ? mxRealloc(p_, (n ? n : 1) * sizeof(T)) : nullptr;
    if (!q)
      return false;
    p_ = static_cast<T *>(q);
    n_ = n;
    ok_ = true;
    return true;
  }

private:
  static T *take(std::size_t n)
  {
    return n && n <= SIZE_MAX / sizeof(T) ? static_cast<T *>(mxMalloc(n * sizeof(T))) : nullptr;
  }
  T *p_;
  std::size_t n_;
  bool ok_;
};

// True for an array whose elements the host reads as numbers: numeric,
// logical or char (not a cell, struct or function handle).
inline bool is_number_class(const mxArray *a)
{
  const mxClassID c = mxGetClassID(a);
  return c == mxLOGICAL_CLASS || c == mxCHAR_CLASS || (c >= mxDOUBLE_CLASS && c <= mxUINT64_CLASS);
}

// The host's scalar read of a number-class array, with 0 for an empty one
// (which the host itself may refuse to read).
inline double scalar_value(const mxArray *a)
{
  return mxGetNumberOfElements(a) == 0 ? 0.0 : mxGetScalar(a);
}

} // namespace kelvara

#endif
