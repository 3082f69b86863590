// A fuzzer over a family of modules whose arguments are plain arrays: the
// bytes choose the module, the numbers of inputs and outputs, and each
// argument, most often of the kind the module expects.
#ifndef KELVARA_FUZZ_FAMILY_H
#define KELVARA_FUZZ_FAMILY_H

#include <cstddef>
#include <cstdint>

namespace fuzz {

struct module {
  const char *name;
  const char *kinds;  // one letter per expected argument, as fuzz::argument takes them
};

// Decodes one call of one of the count modules from the bytes and makes it.
void run_family(const module *table, std::size_t count, const std::uint8_t *data,
                std::size_t size);

} // namespace fuzz

#endif
