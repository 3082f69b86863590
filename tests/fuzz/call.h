// Calls a module through the project's own host and stops the fuzzer on
// any breach of the host contract.
#ifndef KELVARA_FUZZ_CALL_H
#define KELVARA_FUZZ_CALL_H

#include "bytes.h"
#include "mex.h"

#include <string>
#include <vector>

namespace fuzz {

// Calls module `name` (loaded once from the build's module folder) with
// nlhs outputs, after setting up, from the bytes, whether one of the call's
// allocations fails.  Aborts, naming the module and the fault, when the
// call writes past its output list, leaks, changes an input, or returns
// something other than fresh arrays, after printing `context`; releases the
// outputs otherwise.
void call(const char *name, int nlhs, const std::vector<const mxArray *> &in, bytes &choice,
          const std::string &context = "");

} // namespace fuzz

#endif
