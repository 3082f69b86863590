// Fuzzer of the sparse-matrix transforms.
#include "family.h"

namespace {

const fuzz::module modules[] = {{"sdd_from_weights", "SV"},
                                {"weights_from_sdd", "S"},
                                {"twosided_scale", "SV"},
                                {"jitter_lower", "Sss"}};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
  fuzz::run_family(modules, sizeof modules / sizeof modules[0], data, size);
  return 0;
}
