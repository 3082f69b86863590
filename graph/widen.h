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

// The results of a breadth-first search, each of n 32-bit integers at the
// start of its array, as doubles, for k = n-1 .. 0: d[k] = dist[k] - 1;
// order[k] = -1 where 0, else unchanged; pred[k] = pred[k] + 1 where
// dist[k] >= 2 (reached by a tree edge), else 0.
inline void widen_bfs(std::size_t n, double *d, double *order, double *pred)
{
  unsigned char *bd = reinterpret_cast<unsigned char *>(d);
  unsigned char *bo = reinterpret_cast<unsigned char *>(order);
  unsigned char *bp = reinterpret_cast<unsigned char *>(pred);
  for (std::size_t k = n; k-- > 0;) {
    std::int32_t dk, ok;
    std::uint32_t pk;
    std::memcpy(&dk, bd + 4 * k, 4);
    std::memcpy(&ok, bo + 4 * k, 4);
    std::memcpy(&pk, bp + 4 * k, 4);
    const double x = dk - 1.0, y = ok ? ok : -1.0, z = dk >= 2 ? pk + 1.0 : 0.0;
    std::memcpy(bd + 8 * k, &x, 8);
    std::memcpy(bo + 8 * k, &y, 8);
    std::memcpy(bp + 8 * k, &z, 8);
  }
}

} // namespace kelvara

#endif
