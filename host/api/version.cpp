// Interface-version query that a host asks a module for before calling it:
// the release the module was built for and the array interface it uses,
// 64-bit (0x07300000) or, built with KELVARA_INDEX32, 32-bit (0x07000000).
#include <cstdint>

extern "C" __attribute__((visibility("default"))) void
mexfilerequiredapiversion(std::uint32_t *release, std::uint32_t *target)
{
  *release = 0x2018A;
#ifdef KELVARA_INDEX32
  *target = 0x07000000;
#else
  *target = 0x07300000;
#endif
}
