// TNodeIdIndex: a tree's pages by their ids.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "outline/HugePages.h"

namespace nuv {

class TTreeNode;
using TNodeId = uint64_t;

// Ids are handed out in sequence, so a document that was read or built in
// one go holds one long run of consecutive ids: those pages sit in a direct
// table indexed by id (one pointer a page, no probing). Every other id goes
// to an open-addressing table of page pointers, found by the id each page
// holds. Neither takes an allocation per page.
class TNodeIdIndex {
 public:
  TTreeNode* Find(TNodeId id) const;
  void Insert(TTreeNode* node);  // a page whose id the index does not hold yet
  void Erase(TNodeId id);
  void Clear();
  // Room for `count` more pages, the first of them with id `firstId`,
  // without growing on the way.
  void Reserve(std::size_t count, TNodeId firstId);
  std::size_t Size() const { return m_runLive + m_size; }

 private:
  bool InRun(TNodeId id) const { return id - m_runBase < m_run.size(); }
  // A run with fewer live pages than this share of its slots moves them to
  // the table: a mostly deleted document does not keep its whole run.
  void ThinRun();

  std::size_t Home(TNodeId id) const;
  TTreeNode* FindInTable(TNodeId id) const;
  void InsertInTable(TTreeNode* node);
  void EraseFromTable(TNodeId id);
  void Rehash(std::size_t slots);
  void ReserveTable(std::size_t count);

  // The run: ids m_runBase .. m_runBase + m_run.size() - 1 at their offset,
  // null where a page left.
  std::vector<TTreeNode*, THugePageAllocator<TTreeNode*>> m_run;
  TNodeId m_runBase = 0;
  std::size_t m_runLive = 0;

  std::vector<TTreeNode*, THugePageAllocator<TTreeNode*>> m_slots;  // empty, or a power of two long
  std::size_t m_size = 0;
  int m_bits = 0;  // log2 of the slot count
};

}  // namespace nuv
