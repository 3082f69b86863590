// Host arrays decoded from the fuzzer's bytes: numbers that modules choke
// on, every class a host can pass, shapes, sparse patterns, cells and
// structs, and arrays that share their data with another.
#ifndef KELVARA_FUZZ_ARRAYS_H
#define KELVARA_FUZZ_ARRAYS_H

#include "bytes.h"
#include "mex.h"

#include <cstddef>
#include <vector>

namespace fuzz {

// A number as a module may meet it: small whole numbers most often, then
// fractions, edge values (NaN, +-Inf, huge, negative, 32-bit extremes) and
// raw bits.  Whole numbers lean towards 0 .. around, the size at hand.
double number(bytes &in, double around = 8);

// The arrays of one call.  Arrays given to keep() are destroyed with the
// pool; an array made to share data with another is detached first.
class pool {
public:
  pool() = default;
  pool(const pool &) = delete;
  pool &operator=(const pool &) = delete;
  ~pool();
  mxArray *keep(mxArray *a);
  // Makes a's elements the elements from `offset` on of b's (same class,
  // full, real; b long enough): the two arrays share their data.
  void share(mxArray *a, const mxArray *b, std::size_t offset);

private:
  std::vector<mxArray *> arrays_, shared_;
};

// A full array of class cls, m by n, with values from the bytes.
mxArray *full(bytes &in, mxClassID cls, std::size_t m, std::size_t n, double around);

// A sparse m by n matrix (double, logical when `logical`) in the host's
// canonical form, with a pattern and values from the bytes.
mxArray *sparse(bytes &in, std::size_t m, std::size_t n, bool logical);

// Any array: any class and shape, cells and structs nested up to depth.
mxArray *any(bytes &in, int depth = 2);

// An argument of the kind a module expects, most of the time, with n the
// order at hand; else any array.  Kinds: 'S' square sparse matrix, 'V'
// double vector, 'P' parent vector (uint32), 'R' predecessor row, 'M'
// logical vector, 's' double scalar, 'A' any.
mxArray *argument(bytes &in, char kind, std::size_t n);

// A size for a dimension: mostly small, sometimes up to a few hundred.
std::size_t order(bytes &in);

} // namespace fuzz

#endif
