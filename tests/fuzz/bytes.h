// The fuzzer's input read as a stream of choices: every read takes bytes
// from the front and gives 0 once the input is used up, so any input
// decodes to some call.
#ifndef KELVARA_FUZZ_BYTES_H
#define KELVARA_FUZZ_BYTES_H

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace fuzz {

class bytes {
public:
  bytes(const std::uint8_t *p, std::size_t n) : p_(p), n_(n) {}
  bool empty() const { return n_ == 0; }
  std::uint8_t byte()
  {
    if (!n_)
      return 0;
    --n_;
    return *p_++;
  }
  // A choice among k (k > 0).
  unsigned pick(unsigned k) { return byte() % k; }
  std::uint32_t u32()
  {
    std::uint32_t v = 0;
    for (int k = 0; k < 4; ++k)
      v = v << 8 | byte();
    return v;
  }
  double f64()
  {
    std::uint64_t v = 0;
    for (int k = 0; k < 8; ++k)
      v = v << 8 | byte();
    double d;
    std::memcpy(&d, &v, sizeof d);
    return d;
  }

private:
  const std::uint8_t *p_;
  std::size_t n_;
};

} // namespace fuzz

#endif
