// The fixed-size block pool.
#include "outline/NodePool.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <new>

namespace nuv {

namespace {
// One huge page: the unit in which the system can back a slab with one fault.
constexpr std::size_t kSlabBytes = std::size_t{2} << 20;
}  // namespace

TFixedPool::TFixedPool(std::size_t blockSize)
    : m_blockSize((std::max(blockSize, sizeof(TFreeBlock)) + alignof(std::max_align_t) - 1) &
                  ~(alignof(std::max_align_t) - 1)) {}

TFixedPool::~TFixedPool() { ReleaseSlabs(); }

void TFixedPool::AddSlab() {
  // Mapped twice the size and trimmed to a slab-aligned range, which is what
  // the system needs to back it with a huge page.
  void* raw = ::mmap(nullptr, 2 * kSlabBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (start + kSlabBytes - 1) & ~(kSlabBytes - 1);
  if (aligned > start) ::munmap(raw, aligned - start);
  const std::uintptr_t tail = aligned + kSlabBytes;
  if (start + 2 * kSlabBytes > tail) ::munmap(reinterpret_cast<void*>(tail), start + 2 * kSlabBytes - tail);
  void* slab = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
  ::madvise(slab, kSlabBytes, MADV_HUGEPAGE);
#endif
  m_slabs.push_back(slab);
  m_cursor = static_cast<char*>(slab);
  m_end = m_cursor + kSlabBytes;
}

void TFixedPool::ReleaseSlabs() {
  for (void* slab : m_slabs) ::munmap(slab, kSlabBytes);
  m_slabs.clear();
  m_free = nullptr;
  m_cursor = m_end = nullptr;
}

void* TFixedPool::Allocate() {
  const std::lock_guard lock(m_mutex);
  ++m_live;
  if (m_free) {
    TFreeBlock* block = m_free;
    m_free = block->next;
    return block;
  }
  if (static_cast<std::size_t>(m_end - m_cursor) < m_blockSize) {
    try {
      AddSlab();
    } catch (...) {
      --m_live;
      throw;
    }
  }
  void* block = m_cursor;
  m_cursor += m_blockSize;
  return block;
}

void TFixedPool::Free(void* block) {
  if (!block) return;
  const std::lock_guard lock(m_mutex);
  auto* free = static_cast<TFreeBlock*>(block);
  free->next = m_free;
  m_free = free;
  if (--m_live == 0) ReleaseSlabs();
}

std::size_t TFixedPool::Live() const {
  const std::lock_guard lock(m_mutex);
  return m_live;
}

}  // namespace nuv
