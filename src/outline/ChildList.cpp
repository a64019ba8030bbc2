// The child pointer array.
#include "outline/ChildList.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

namespace nuv {

TChildList::TChildList(TChildList&& other) noexcept
    : m_store(other.m_store), m_size(other.m_size), m_capacity(other.m_capacity) {
  other.m_store.one = nullptr;
  other.m_size = 0;
  other.m_capacity = kInline;
}

TChildList& TChildList::operator=(TChildList&& other) noexcept {
  if (this != &other) {
    FreeStorage();
    m_store = other.m_store;
    m_size = other.m_size;
    m_capacity = other.m_capacity;
    other.m_store.one = nullptr;
    other.m_size = 0;
    other.m_capacity = kInline;
  }
  return *this;
}

void TChildList::FreeStorage() {
  if (m_capacity > kInline) std::free(m_store.heap);
}

void TChildList::Clear() {
  FreeStorage();
  m_store.one = nullptr;
  m_size = 0;
  m_capacity = kInline;
}

void TChildList::Reserve(std::size_t count) {
  count = std::max<std::size_t>(count, m_size);
  if (count > std::numeric_limits<uint32_t>::max()) throw std::bad_alloc();
  const auto capacity = static_cast<uint32_t>(std::max<std::size_t>(count, kInline));
  if (capacity == m_capacity) return;
  if (capacity <= kInline) {
    // Back inside: the list holds one pointer at most.
    TTreeNode** heap = m_store.heap;
    m_store.one = m_size ? heap[0] : nullptr;
    std::free(heap);
  } else if (m_capacity > kInline) {
    void* grown = std::realloc(m_store.heap, capacity * sizeof(TTreeNode*));
    if (!grown) throw std::bad_alloc();
    m_store.heap = static_cast<TTreeNode**>(grown);
  } else {
    auto* heap = static_cast<TTreeNode**>(std::malloc(capacity * sizeof(TTreeNode*)));
    if (!heap) throw std::bad_alloc();
    if (m_size) heap[0] = m_store.one;
    m_store.heap = heap;
  }
  m_capacity = capacity;
}

void TChildList::Insert(std::size_t index, TTreeNode* node) {
  if (m_size == m_capacity) {
    const std::size_t grown = m_capacity < 3 ? 3 : std::size_t{m_capacity} * 2;
    Reserve(std::min<std::size_t>(grown, std::numeric_limits<uint32_t>::max()));
    if (m_size == m_capacity) throw std::bad_alloc();
  }
  TTreeNode** items = Items();
  if (index < m_size) std::memmove(items + index + 1, items + index, (m_size - index) * sizeof(TTreeNode*));
  items[index] = node;
  ++m_size;
}

void TChildList::Erase(std::size_t index) {
  TTreeNode** items = Items();
  std::memmove(items + index, items + index + 1, (m_size - index - 1) * sizeof(TTreeNode*));
  --m_size;
}

}  // namespace nuv
