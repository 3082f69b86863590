// The host layer's array record and the bookkeeping of one module call.
#ifndef KELVARA_HOST_IMPL_ARRAY_H
#define KELVARA_HOST_IMPL_ARRAY_H

#include "mex.h"

#include <cstdint>
#include <string>
#include <vector>

struct kx_array {
  mxClassID cls = mxDOUBLE_CLASS;
  bool sparse = false;
  bool complex = false;
  std::vector<mwSize> dims{0, 0};
  void *re = nullptr;   // values: numel elements, or nzmax for a sparse array
  void *im = nullptr;   // imaginary parts, same count, complex arrays only
  mwIndex *ir = nullptr;
  mwIndex *jc = nullptr;
  mwSize nzmax = 0;
  std::vector<mxArray *> cells;     // cell elements, owned
  std::vector<std::string> fields;  // struct field names
  std::vector<mxArray *> values;    // struct values, element-major, owned
  bool scratch = false;             // contents may change during a call
  bool owned = false;               // held by a cell or struct
};

namespace khost {

// Bytes of one element of a numeric or logical class.
std::size_t element_size(mxClassID cls);

// Elements of a full array.
std::size_t numel(const mxArray *a);

// Called by every creation and destruction so a call can account for them.
void created(mxArray *a);
void released(mxArray *a);

// The message of a host error, thrown by the error operations and caught by
// the call wrapper.  Deliberately not a std::exception: a module's handlers
// for its own exceptions must not intercept it.
struct host_error {
  std::string id;
  std::string message;
};

[[noreturn]] void raise(const std::string &id, const std::string &message);

} // namespace khost

#endif
