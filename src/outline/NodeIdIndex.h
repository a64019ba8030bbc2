// TNodeIdIndex: a tree's pages by their ids.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace nuv {

class TTreeNode;
using TNodeId = uint64_t;

// An open-addressing table of page pointers, found by the id each page
// holds: one pointer a slot and no allocation per page, where a node-based
// map would take a heap block and a bucket for every page.
class TNodeIdIndex {
 public:
  TTreeNode* Find(TNodeId id) const;
  void Insert(TTreeNode* node);  // a page whose id the index does not hold yet
  void Erase(TNodeId id);
  void Clear();
  // Room for `count` pages without growing on the way.
  void Reserve(std::size_t count);
  std::size_t Size() const { return m_size; }

 private:
  std::size_t Home(TNodeId id) const;
  void Rehash(std::size_t slots);

  std::vector<TTreeNode*> m_slots;  // empty, or a power of two long
  std::size_t m_size = 0;
  int m_bits = 0;  // log2 of the slot count
};

}  // namespace nuv
