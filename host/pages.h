// Scratch blocks of megabytes that a module reads and writes at random.  A
// block from the C library's heap lies on 4 KiB pages, and a search that
// jumps between tens of thousands of them misses the processor's address
// cache on almost every access (on a virtual machine each miss is a walk
// through two page tables).  On Linux with huge pages available, a block
// of 2 MiB or more is therefore mapped directly with huge pages advised, one
// translation per 2 MiB; it comes zero-filled from the system.
//
// Builds with AddressSanitizer (the C++ suite, the fuzzers, the Octave suite
// under ASan) and other systems take every block from mxMalloc, so that
// bounds are checked, the own host sees and can fail every block, and the
// program's mex builds the same source anywhere.
#ifndef KELVARA_HOST_PAGES_H
#define KELVARA_HOST_PAGES_H

#include "mex.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KELVARA_PAGES_HEAP 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || !defined(__linux__)
#define KELVARA_PAGES_HEAP 1
#endif

#ifndef KELVARA_PAGES_HEAP
#include <cstdio>
#include <sys/mman.h>
#endif

namespace kelvara {

#ifndef KELVARA_PAGES_HEAP
// True unless the system has huge pages turned off ("[never]"), read once:
// without them a block of its own would only add page faults to the heap's
// reused memory.
inline bool huge_pages()
{
  static const bool on = [] {
    char text[64] = "";
    if (std::FILE *f = std::fopen("/sys/kernel/mm/transparent_hugepage/enabled", "r")) {
      if (!std::fgets(text, sizeof text, f))
        text[0] = 0;
      std::fclose(f);
    }
    return text[0] != 0 && !std::strstr(text, "[never]");
  }();
  return on;
}
#endif

// n elements of T, all bytes zero, released on every way out of the call;
// false (!p) when there is no memory, for the caller to fail with its own
// message.  n = 0 takes no block.
template <class T> class pages {
public:
  explicit pages(std::size_t n)
  {
    if (n == 0)
      return;
    if (n > (SIZE_MAX - huge) / sizeof(T)) {
      ok_ = false;
      return;
    }
    bytes_ = n * sizeof(T);
#ifndef KELVARA_PAGES_HEAP
    if (bytes_ >= huge && huge_pages()) {
      // over-mapped by 2 MiB so that the block can start on a 2 MiB
      // boundary: only aligned ranges can be huge pages
      map_ = mmap(nullptr, bytes_ + huge, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                  -1, 0);
      if (map_ == MAP_FAILED) {
        map_ = nullptr;
        ok_ = false;
        return;
      }
      const std::uintptr_t a = reinterpret_cast<std::uintptr_t>(map_);
      p_ = reinterpret_cast<T *>((a + huge - 1) & ~std::uintptr_t(huge - 1));
      madvise(p_, bytes_, MADV_HUGEPAGE);
      return;
    }
#endif
    heap_ = mxMalloc(bytes_);
    ok_ = heap_ != nullptr;
    if (ok_)
      std::memset(heap_, 0, bytes_);
    p_ = static_cast<T *>(heap_);
  }
  ~pages()
  {
#ifndef KELVARA_PAGES_HEAP
    if (map_)
      munmap(map_, bytes_ + huge);
#endif
    mxFree(heap_);
  }
  pages(const pages &) = delete;
  pages &operator=(const pages &) = delete;
  explicit operator bool() const { return ok_; }
  T *get() const { return p_; }

private:
  static const std::size_t huge = std::size_t(1) << 21;
  std::size_t bytes_ = 0;
  T *p_ = nullptr;
  void *heap_ = nullptr, *map_ = nullptr;
  bool ok_ = true;
};

// Advises huge pages for the whole 2 MiB stretches of an output's values of
// `bytes` bytes at p, made and not yet written: a module writing megabytes
// of output takes one fault per 2 MiB instead of one per 4 KiB.  Nothing in
// builds that take their blocks from the heap, or without huge pages.
inline void advise_huge(void *p, std::size_t bytes)
{
#ifndef KELVARA_PAGES_HEAP
  const std::size_t huge = std::size_t(1) << 21;
  const std::uintptr_t a = reinterpret_cast<std::uintptr_t>(p);
  const std::uintptr_t first = (a + huge - 1) & ~std::uintptr_t(huge - 1);
  const std::uintptr_t last = (a + bytes) & ~std::uintptr_t(huge - 1);
  if (last > first && huge_pages())
    madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
#else
  (void)p;
  (void)bytes;
#endif
}

} // namespace kelvara

#endif
