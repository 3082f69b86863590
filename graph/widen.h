// In-place conversions of results computed in integer form inside a double
// array's own storage.  Each reads element k from its integer slot and
// writes the double over slot k of the array; going from the last element
// to the first never overwrites an integer not yet read, as long as the
// integers are no wider than a double.  Element access goes through memcpy,
// since one buffer is read and written as two types.
#ifndef KELVARA_GRAPH_WIDEN_H
#define KELVARA_GRAPH_WIDEN_H

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kelvara {

// a[k] = (double) x[k] + add for k = n-1 .. 0, x the integers of type T at a.
template <class T> void widen(std::size_t n, double add, double *a)
{
  static_assert(sizeof(T) <= sizeof(double), "integers wider than a double");
  unsigned char *b = reinterpret_cast<unsigned char *>(a);
  for (std::size_t k = n; k-- > 0;) {
    T x;
    std::memcpy(&x, b + k * sizeof(T), sizeof(T));
    const double y = static_cast<double>(x) + add;
    std::memcpy(b + k * sizeof(double), &y, sizeof(double));
  }
}

} // namespace kelvara

#endif
