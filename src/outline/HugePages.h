// Memory asked for as transparent huge pages, for what a document holds by the
// million: its pages' pool slabs and its per-page tables.
#pragma once

#include <cstddef>
#include <memory>

namespace nuv {

// One huge page: the unit in which the system can back memory with one fault.
constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

// `bytes` (a multiple of kHugePageBytes) aligned to a huge page; throws
// std::bad_alloc when the system has no room.
void* MapHugePages(std::size_t bytes);
void UnmapHugePages(void* block, std::size_t bytes);

// An allocator for tables with a slot per page: from a huge page on, a block
// is mapped as huge pages, so filling a table of a million pages takes a few
// faults instead of thousands. Smaller blocks come from the heap.
template <typename T>
class THugePageAllocator {
 public:
  using value_type = T;
  THugePageAllocator() = default;
  template <typename U>
  THugePageAllocator(const THugePageAllocator<U>&) {}

  T* allocate(std::size_t n) {
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kHugePageBytes) return std::allocator<T>().allocate(n);
    return static_cast<T*>(MapHugePages(Rounded(bytes)));
  }
  void deallocate(T* p, std::size_t n) {
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kHugePageBytes)
      std::allocator<T>().deallocate(p, n);
    else
      UnmapHugePages(p, Rounded(bytes));
  }
  template <typename U>
  bool operator==(const THugePageAllocator<U>&) const {
    return true;
  }

 private:
  static std::size_t Rounded(std::size_t bytes) { return (bytes + kHugePageBytes - 1) & ~(kHugePageBytes - 1); }
};

}  // namespace nuv
