// Shared state of the host layer: allocation failure injection.
#ifndef KELVARA_HOST_IMPL_STATE_H
#define KELVARA_HOST_IMPL_STATE_H

namespace khost {

// True when the failure set by fail_allocation() is due now.
bool allocation_fails();

} // namespace khost

#endif
