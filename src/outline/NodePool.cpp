// The fixed-size block pool.
#include "outline/NodePool.h"

#include <algorithm>

#include "outline/HugePages.h"

namespace nuv {

TFixedPool::TFixedPool(std::size_t blockSize, std::size_t alignment)
    : m_blockSize((std::max(blockSize, sizeof(TFreeBlock)) + std::max(alignment, alignof(TFreeBlock)) - 1) &
                  ~(std::max(alignment, alignof(TFreeBlock)) - 1)) {}

TFixedPool::~TFixedPool() { ReleaseSlabs(); }

void TFixedPool::AddSlab() {
  void* slab = MapHugePages(kHugePageBytes);
  m_slabs.push_back(slab);
  m_cursor = static_cast<char*>(slab);
  m_end = m_cursor + kHugePageBytes;
}

void TFixedPool::ReleaseSlabs() {
  for (void* slab : m_slabs) UnmapHugePages(slab, kHugePageBytes);
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
