#include "family.h"

#include "arrays.h"
#include "call.h"

#include <cstring>

namespace fuzz {

void run_family(const module *table, std::size_t count, const std::uint8_t *data,
                std::size_t size)
{
  bytes in(data, size);
  const module &m = table[in.pick(static_cast<unsigned>(count))];
  const int expected = static_cast<int>(std::strlen(m.kinds));
  const int nrhs = in.pick(8) ? expected : static_cast<int>(in.pick(5));
  const int nlhs = static_cast<int>(in.pick(5));
  const std::size_t n = order(in);
  pool arrays;
  std::vector<const mxArray *> args;
  for (int k = 0; k < nrhs; ++k)
    args.push_back(arrays.keep(argument(in, k < expected ? m.kinds[k] : 'A', n)));
  call(m.name, nlhs, args, in);
}

} // namespace fuzz
