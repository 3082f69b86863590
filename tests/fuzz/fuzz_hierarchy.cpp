// Fuzzer of the hierarchy-construction modules.
#include "family.h"

namespace {

const fuzz::module modules[] = {{"heavy_edge", "SS"},   {"tree_tags", "P"},
                                {"tree_cleave", "P"},   {"relabel_sets", "SP"},
                                {"mask_enumerate", "M"}};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
  fuzz::run_family(modules, sizeof modules / sizeof modules[0], data, size);
  return 0;
}
