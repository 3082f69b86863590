// Whether the user has asked the host to stop the running call (Ctrl-C),
// for loops that may run for seconds.  The host's own flag is found by name
// in the running process once per call: Octave's interrupt state, MATLAB's
// utIsInterruptPending, or the test host's khost_interrupt_pending; where
// none is found, a call is never interrupted.
#ifndef KELVARA_HOST_INTERRUPT_H
#define KELVARA_HOST_INTERRUPT_H

#include <csignal>

#if defined(__unix__) || defined(__APPLE__)
#include <dlfcn.h>
#endif

namespace kelvara {

class interrupt_poll {
public:
  interrupt_poll()
  {
#if defined(__unix__) || defined(__APPLE__)
    state_ = reinterpret_cast<volatile std::sig_atomic_t *>(dlsym(RTLD_DEFAULT, "octave_interrupt_state"));
    if (!state_)
      ask_ = reinterpret_cast<bool (*)()>(dlsym(RTLD_DEFAULT, "utIsInterruptPending"));
    if (!state_ && !ask_)
      ask_ = reinterpret_cast<bool (*)()>(dlsym(RTLD_DEFAULT, "khost_interrupt_pending"));
#endif
  }
  // True once an interrupt is pending.
  bool pending() const { return state_ ? *state_ > 0 : ask_ ? ask_() : false; }

private:
  volatile std::sig_atomic_t *state_ = nullptr;
  bool (*ask_)() = nullptr;
};

} // namespace kelvara

#endif
