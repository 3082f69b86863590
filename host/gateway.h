// The shared frame of every module entry: C++ work runs inside a handler,
// and a failure becomes a host error only after every C++ object of the call
// has left scope.  Raising the host error from inside C++ frames would either
// skip destructors (a host that unwinds by long jump) or let a foreign
// exception escape mexFunction (which takes an Octave session down).
#ifndef KELVARA_HOST_GATEWAY_H
#define KELVARA_HOST_GATEWAY_H

#include "mex.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>

namespace kelvara {

// A module's own failure: its message, formatted when thrown, and the
// identifier to raise it with (none when null).  Thrown by fail(), caught
// by gateway().
struct failure {
  const char *id;
  char text[400];
};

inline failure formatted(const char *id, const char *fmt, va_list ap)
{
  failure f{id, {}};
  std::vsnprintf(f.text, sizeof f.text, fmt, ap);
  return f;
}

// Fails with a message formatted as printf does.
[[noreturn]] inline void fail(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
[[noreturn]] inline void fail(const char *fmt, ...)
{
  va_list ap;
  va_start(ap, fmt);
  failure f = formatted(nullptr, fmt, ap);
  va_end(ap);
  throw f;
}

// Fails with an identifier and a message formatted as printf does.
[[noreturn]] inline void fail_id(const char *id, const char *fmt, ...)
    __attribute__((format(printf, 2, 3)));
[[noreturn]] inline void fail_id(const char *id, const char *fmt, ...)
{
  va_list ap;
  va_start(ap, fmt);
  failure f = formatted(id, fmt, ap);
  va_end(ap);
  throw f;
}

// Runs body(); a failure inside it, memory exhaustion or any other standard
// exception is raised as a host error once the stack has unwound.  An
// exception of another kind (a host's own error exit) passes through.
template <class Body> void gateway(Body &&body)
{
  char text[512];
  const char *id = nullptr;
  try {
    body();
    return;
  } catch (const failure &f) {
    id = f.id;
    std::snprintf(text, sizeof text, "%s", f.text);
  } catch (const std::bad_alloc &) {
    std::snprintf(text, sizeof text, "%s", "Out of memory");
  } catch (const std::exception &e) {
    std::snprintf(text, sizeof text, "%s", e.what());
  }
  if (id)
    mexErrMsgIdAndTxt(id, "%s", text);
  else
    mexErrMsgTxt(text);
}

// Slots of the output list a call may write: the host gives room for
// max(nlhs, 1) arrays.
inline int slots(int nlhs) { return nlhs > 1 ? nlhs : 1; }

// Stores output k if the output list has room for it, else releases it.
inline void store(int nlhs, mxArray *plhs[], int k, mxArray *a)
{
  if (k < slots(nlhs))
    plhs[k] = a;
  else
    mxDestroyArray(a);
}

// Checks a creation's result: a null array becomes the given failure.
inline mxArray *made(mxArray *a, const char *text)
{
  if (!a)
    fail("%s", text);
  return a;
}

} // namespace kelvara

#endif
