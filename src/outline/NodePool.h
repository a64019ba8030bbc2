// TFixedPool: fixed-size blocks carved from large slabs, for the objects a
// document holds by the million (its pages).
#pragma once

#include <cstddef>
#include <mutex>
#include <vector>

namespace nuv {

// Each block costs its own size and nothing more: no allocator header, no
// search through free lists of other sizes. Slabs are asked for as
// transparent huge pages, so filling one costs few page faults. Freed blocks
// are reused by the pool; the slabs go back to the system once every block is
// free.
class TFixedPool {
 public:
  // Blocks are `alignment` apart (a power of two, at least a pointer's).
  explicit TFixedPool(std::size_t blockSize, std::size_t alignment = alignof(std::max_align_t));
  ~TFixedPool();
  TFixedPool(const TFixedPool&) = delete;
  TFixedPool& operator=(const TFixedPool&) = delete;

  void* Allocate();
  void Free(void* block);
  std::size_t Live() const;

 private:
  struct TFreeBlock {
    TFreeBlock* next;
  };
  void AddSlab();
  void ReleaseSlabs();

  mutable std::mutex m_mutex;
  const std::size_t m_blockSize;
  TFreeBlock* m_free = nullptr;
  char* m_cursor = nullptr;
  char* m_end = nullptr;
  std::vector<void*> m_slabs;
  std::size_t m_live = 0;
};

}  // namespace nuv
