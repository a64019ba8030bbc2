// Huge-page mappings.
#include "outline/HugePages.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace nuv {

void* MapHugePages(std::size_t bytes) {
  // Mapped a huge page larger and trimmed to an aligned range, which is what
  // the system needs to back it with huge pages.
  const std::size_t mapped = bytes + kHugePageBytes;
  void* raw = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (start + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
  if (aligned > start) ::munmap(raw, aligned - start);
  const std::uintptr_t tail = aligned + bytes;
  if (start + mapped > tail) ::munmap(reinterpret_cast<void*>(tail), start + mapped - tail);
  void* block = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
  ::madvise(block, bytes, MADV_HUGEPAGE);
#endif
  return block;
}

void UnmapHugePages(void* block, std::size_t bytes) { ::munmap(block, bytes); }

}  // namespace nuv
