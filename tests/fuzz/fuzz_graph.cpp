// Fuzzer of the graph modules.
#include "family.h"

namespace {

const fuzz::module modules[] = {{"wavefront", "Sss"},
                                {"graph_islands", "S"},
                                {"dag_sequence", "S"},
                                {"route_unwind", "Rs"}};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
  fuzz::run_family(modules, sizeof modules / sizeof modules[0], data, size);
  return 0;
}
