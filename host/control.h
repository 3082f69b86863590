// The test harness's side of the host layer: run a module's entry as a host
// would, and report what only a host can see.
#ifndef KELVARA_HOST_CONTROL_H
#define KELVARA_HOST_CONTROL_H

#include "mex.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace khost {

using entry = void (*)(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);

// What one call did.  ok is false when the module raised an error; then id
// and message hold it and out is empty.  faults lists breaches of the host
// contract: writes past the output list, changed inputs, leaked arrays or
// host memory, outputs that are not fresh arrays of the call.
struct outcome {
  bool ok = false;
  std::string id;
  std::string message;
  std::vector<mxArray *> out;  // max(nlhs, 1) slots, owned by the caller
  std::vector<std::string> faults;
  // After an error: arrays and host-memory blocks the call left behind for
  // the host to reclaim (allowed, but a module that cleans up leaves none).
  std::size_t left = 0;
};

outcome call(entry f, int nlhs, const std::vector<const mxArray *> &in);

// Marks an array (a workspace vector) whose contents a call may change.
void mark_scratch(mxArray *a);

// Seeds the generator behind "rand".
void seed(std::uint64_t s);

// Replaces what mexCallMATLAB does (null restores "rand").
using callback = std::function<int(int nlhs, mxArray *plhs[], int nrhs, mxArray *prhs[],
                                   const char *name)>;
void on_call(callback cb);

// Arrays and host-memory blocks alive now (outside calls: the test's own).
std::size_t live_arrays();
std::size_t live_blocks();

// Makes allocation number `after` (0 = the next one) of array creations and
// host memory return null, as a host out of memory may; -1 disables.
void fail_allocation(long after);

// Makes the host's interrupt flag, as modules poll it, read true from poll
// number `polls` on (0 = at once), as after Ctrl-C; -1 clears it.
void interrupt_after(long polls);

} // namespace khost

#endif
