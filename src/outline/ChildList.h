// TChildList: the ordered child pointers of one page, in 16 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace nuv {

class TTreeNode;

// A growable array of page pointers that keeps a single child inside itself
// (most parents in a deep chain have one) and otherwise one heap block of
// exactly the room asked for. It does not own the pages: their node frees them
// iteratively, so a million-level tree is never taken apart by recursion.
class TChildList {
 public:
  TChildList() = default;
  ~TChildList() { FreeStorage(); }
  TChildList(TChildList&& other) noexcept;
  TChildList& operator=(TChildList&& other) noexcept;
  TChildList(const TChildList&) = delete;
  TChildList& operator=(const TChildList&) = delete;

  std::size_t Size() const { return m_size; }
  bool Empty() const { return m_size == 0; }
  TTreeNode* operator[](std::size_t i) const { return Items()[i]; }
  TTreeNode* Front() const { return Items()[0]; }
  TTreeNode* Back() const { return Items()[m_size - 1]; }
  TTreeNode* const* begin() const { return Items(); }
  TTreeNode* const* end() const { return Items() + m_size; }
  TTreeNode** begin() { return Items(); }
  TTreeNode** end() { return Items() + m_size; }

  // Throws std::bad_alloc when the list cannot grow; the list is then unchanged.
  void Insert(std::size_t index, TTreeNode* node);
  void Erase(std::size_t index);
  // Room for exactly `count` pointers when it is at least the size.
  void Reserve(std::size_t count);
  // Drops the slack growth left (a no-op when the block fits already).
  void Fit() { Reserve(m_size); }
  // Forgets every pointer and frees the block; the pages are the caller's.
  void Clear();

 private:
  // Up to one pointer lives in the union itself.
  static constexpr uint32_t kInline = 1;
  TTreeNode* const* Items() const { return m_capacity <= kInline ? &m_store.one : m_store.heap; }
  TTreeNode** Items() { return m_capacity <= kInline ? &m_store.one : m_store.heap; }
  void FreeStorage();

  union TStore {
    TTreeNode* one;
    TTreeNode** heap;
  } m_store{nullptr};
  uint32_t m_size = 0;
  uint32_t m_capacity = kInline;
};

}  // namespace nuv
