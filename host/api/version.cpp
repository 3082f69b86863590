// Interface-version query that a host asks a module for before calling it:
// the release the module was built for and the 64-bit array interface.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) void
mexfilerequiredapiversion(std::uint32_t *release, std::uint32_t *target)
{
  *release = 0x2018A;
  *target = 0x07300000;
}
