// The outline tree: the document's ordered forest of pages.
//
// Every tree node is a page; its title, pictures, flags and node record live
// here. A hidden root holds the root pages, so every page has a parent node
// internally while Parent() reports none for a root page. A view observes the
// tree through ITreeObserver; during a bulk update (BeginUpdate/EndUpdate) it
// gets one reset instead of single notifications.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "outline/ChildList.h"
#include "outline/HugePages.h"
#include "outline/NodeData.h"
#include "outline/NodeIdIndex.h"

namespace nuv {

class TOutlineTree;

// The node record is a private base, so a page holds it without a pointer
// and without the record's padding (the node's first member fills it).
class TTreeNode : private TNodeData {
 public:
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;
  ~TTreeNode();
  // Pages come from a pool of their own size (see NodePool.h).
  static void* operator new(std::size_t size);
  static void operator delete(void* block);

  // A stable id: lists and histories refer to pages by it, so they can tell a
  // removed page from a live one (TOutlineTree::FindById).
  TNodeId Id() const { return m_id; }
  const std::string& Text() const { return m_text; }
  int ImageIndex() const { return m_imageIndex; }
  int SelectedIndex() const { return m_imageIndex; }  // always the image
  int StateIndex() const { return m_stateIndex; }
  int OverlayIndex() const { return m_overlayIndex; }
  bool Cut() const { return m_cut; }
  bool Expanded() const { return m_expanded; }
  // The node record, null until a page gets one.
  TNodeData* Data() const { return m_hasData ? static_cast<TNodeData*>(const_cast<TTreeNode*>(this)) : nullptr; }

  TTreeNode* Parent() const;  // none for a root page
  int Index() const { return m_index; }
  int Count() const { return static_cast<int>(m_children.Size()); }
  bool HasChildren() const { return !m_children.Empty(); }
  TTreeNode* Item(int i) const;
  TTreeNode* GetFirstChild() const { return m_children.Empty() ? nullptr : m_children.Front(); }
  TTreeNode* GetLastChild() const { return m_children.Empty() ? nullptr : m_children.Back(); }
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  // Pre-order neighbours: a page, its children in order, then its next sibling.
  TTreeNode* GetNext() const;
  TTreeNode* GetPrev() const;
  // Neighbours among the pages shown, that is below expanded parents only.
  TTreeNode* GetNextVisible() const;
  TTreeNode* GetPrevVisible() const;
  int Level() const;  // 0 for a root page
  TTreeNode* RootPage() const;  // the root page this page lies under (itself for a root page)
  bool HasAsParent(const TTreeNode* ancestor) const;  // ancestor is a strict ancestor

 private:
  friend class TOutlineTree;
  TTreeNode() = default;
  bool IsHiddenRoot() const { return m_parent == nullptr; }
  // Frees the whole subtree without recursion.
  void FreeChildren();

  // A document may hold millions of pages: the members are ordered so that
  // they pack, the pictures (indexes below 19) take a byte each, the flags a
  // bit each, the children 16 bytes, and the record (the base, meaningful
  // while m_hasData) lives inside the node rather than in a heap block of
  // its own. A page does not know its tree: the tree answers for it.
  int m_index = 0;
  TNodeId m_id = 0;
  std::string m_text;
  TTreeNode* m_parent = nullptr;  // the hidden root for root pages
  TChildList m_children;          // owned: freed by FreeChildren
  mutable int m_orderIndex = 0;   // absolute index, valid while the tree's order is
  int8_t m_imageIndex = 0;
  int8_t m_stateIndex = -1;
  int8_t m_overlayIndex = -1;
  bool m_cut : 1 = false;
  bool m_expanded : 1 = false;
  bool m_hasData : 1 = false;
};

// Where MoveTo puts a page, relative to the target.
enum class TNodeAttachMode {
  naAdd,            // last sibling of the target (last root page without a target)
  naAddFirst,       // first sibling of the target
  naAddChild,       // last child of the target
  naAddChildFirst,  // first child of the target
  naInsert,         // before the target
};

// What a view needs to follow the tree. A null parent means the root pages.
class ITreeObserver {
 public:
  virtual ~ITreeObserver() = default;
  virtual void BeginInsert(TTreeNode* parent, int first, int last) = 0;
  virtual void EndInsert() = 0;
  virtual void BeginRemove(TTreeNode* parent, int first, int last) = 0;
  virtual void EndRemove() = 0;
  virtual void BeginMove(TTreeNode* fromParent, int row, TTreeNode* toParent, int toRow) = 0;
  virtual void EndMove() = 0;
  virtual void BeginLayoutChange() = 0;  // children reordered in place (sort)
  virtual void EndLayoutChange() = 0;
  virtual void BeginReset() = 0;
  virtual void EndReset() = 0;
  virtual void NodeChanged(TTreeNode* node) = 0;
  virtual void ExpansionChanged(TTreeNode* node) = 0;
};

class TOutlineTree {
 public:
  TOutlineTree();
  ~TOutlineTree();
  TOutlineTree(const TOutlineTree&) = delete;
  TOutlineTree& operator=(const TOutlineTree&) = delete;

  void SetObserver(ITreeObserver* observer) { m_observer = observer; }

  // Traversal.
  TTreeNode* GetFirstNode() const { return m_root->GetFirstChild(); }
  TTreeNode* GetLastRootPage() const { return m_root->GetLastChild(); }
  int RootCount() const { return m_root->Count(); }
  TTreeNode* RootPage(int i) const { return m_root->Item(i); }
  int Count() const { return m_count; }  // pages in the whole tree
  TTreeNode* GetNodeAt(int absoluteIndex) const;
  int AbsoluteIndexOf(const TTreeNode* node) const;
  TTreeNode* FindById(TNodeId id) const;
  TTreeNode* LastPage() const;  // the last page in pre-order

  // Insertion; each returns the new page.
  TTreeNode* Add(TTreeNode* sibling, std::string_view text);          // last sibling / last root page
  TTreeNode* Insert(TTreeNode* before, std::string_view text);        // previous sibling / last root page
  TTreeNode* InsertAfter(TTreeNode* after, std::string_view text);    // next sibling / last root page
  TTreeNode* AddChild(TTreeNode* parent, std::string_view text);      // last child / last root page
  TTreeNode* AddChildFirst(TTreeNode* parent, std::string_view text); // first child / first root page
  TTreeNode* AddObject(TTreeNode* sibling, std::string_view text, std::unique_ptr<TNodeData> data);
  TTreeNode* InsertObject(TTreeNode* before, std::string_view text, std::unique_ptr<TNodeData> data);
  TTreeNode* AddChildObject(TTreeNode* parent, std::string_view text, std::unique_ptr<TNodeData> data);
  // Adds the page that comes last in tree order: the last child of `parent`,
  // which must be the last page or one of its ancestors (null: a last root
  // page). For readers that build a tree in order: the order of pages grows
  // with it instead of being walked again afterwards.
  TTreeNode* AppendLast(TTreeNode* parent, std::string_view text);

  // Moves a page with its subtree; false when the target lies inside it.
  bool MoveTo(TTreeNode* node, TTreeNode* target, TNodeAttachMode mode);
  // Removes a page with its subtree; its records are freed.
  void Delete(TTreeNode* node);
  void Clear();
  // Counts Clear and ReplaceWith: a new document. A page id together with
  // this tells whether a page a command remembered is still in the same document.
  uint64_t Generation() const { return m_generation; }

  // Orders the direct children of parent (the root pages when null) by title;
  // compare returns <0, 0 or >0. Equal titles keep their order.
  void SortChildren(TTreeNode* parent, const std::function<int(const std::string&, const std::string&)>& compare);

  void SetExpanded(TTreeNode* node, bool expanded);
  void Expand(TTreeNode* node) { SetExpanded(node, true); }
  void Collapse(TTreeNode* node) { SetExpanded(node, false); }
  void FullExpand();
  void FullCollapse();

  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return m_updateCount > 0; }

  // Field setters, so the view hears of every change. Titles are cut at the
  // first line break; SetImageIndex sets SelectedIndex too.
  void SetText(TTreeNode* node, std::string_view text);
  void SetImageIndex(TTreeNode* node, int index);
  void SetStateIndex(TTreeNode* node, int index);
  void SetOverlayIndex(TTreeNode* node, int index);
  void SetCut(TTreeNode* node, bool cut);
  void SetData(TTreeNode* node, std::unique_ptr<TNodeData> data);
  TNodeData& EnsureData(TTreeNode* node);

  // A reader that knows how many pages it will add says so first, so the
  // page index and the order grow once.
  void Reserve(std::size_t pages);
  // Gives every page's child list exactly its size; readers call it when
  // they have added their last page, so growth leaves no slack behind.
  void FitChildren();
  // The same for one list: parent's children (the root pages when null), for
  // a reader that knows when a page gets no more children.
  void FitChildren(TTreeNode* parent) { ParentOrRoot(parent)->m_children.Fit(); }

  // Readers build a detached tree and hand it over only when they succeed.
  void ReplaceWith(TOutlineTree&& other);
  // Moves the children of otherParent (other's root pages when null), in
  // order and with their subtrees, to be children of parent (root pages when
  // null) starting at index.
  void AdoptChildren(TTreeNode* parent, int index, TOutlineTree& other, TTreeNode* otherParent);

 private:
  TTreeNode* ParentOrRoot(TTreeNode* node) const { return node ? node : m_root.get(); }
  TTreeNode* InsertAt(TTreeNode* parent, int index, std::string_view text, std::unique_ptr<TNodeData> data);
  std::unique_ptr<TTreeNode> Detach(TTreeNode* node);
  void Attach(TTreeNode* parent, int index, std::unique_ptr<TTreeNode> node);
  template <typename F>
  static void ForSubtree(TTreeNode* root, F visit);
  void Register(TTreeNode* node);
  void Unregister(TTreeNode* node);
  static void Renumber(TTreeNode* parent, int from);
  // The pages in pre-order. Its first m_orderValidCount entries are always the
  // tree's first pages; a change only shortens that prefix to where it
  // happened, and the first question afterwards extends it from there. So
  // page-by-index and index-of-page are constant time between changes, and a
  // change near the end of a long document costs little.
  void EnsureOrder() const;
  bool InValidOrder(const TTreeNode* node) const;
  // The order stays valid before `node` (for a page about to leave the tree)
  // or before the pages placed after `node` (for one just placed).
  void InvalidateOrderAt(const TTreeNode* node);
  void InvalidateOrderAfterPlaced(const TTreeNode* node);
  TTreeNode* Public(TTreeNode* parent) const { return parent == m_root.get() ? nullptr : parent; }
  void Changed(TTreeNode* node);

  std::unique_ptr<TTreeNode> m_root;
  TNodeIdIndex m_byId;
  int m_count = 0;
  int m_updateCount = 0;
  uint64_t m_generation = 0;
  mutable std::vector<TTreeNode*, THugePageAllocator<TTreeNode*>> m_order;
  mutable std::size_t m_orderValidCount = 0;
  ITreeObserver* m_observer = nullptr;
};

// Levels of pages met in tree order, in constant time per page on average:
// each page's level is found by climbing from the page before it, which in a
// pre-order walk climbs every page at most once. Pages not in tree order fall
// back on TTreeNode::Level.
class TLevelWalk {
 public:
  int LevelOf(const TTreeNode* page);

 private:
  const TTreeNode* m_previous = nullptr;
  int m_previousLevel = 0;
};

// The first page after `page`'s subtree in tree order (null at the end).
TTreeNode* NextAfterSubtree(const TTreeNode* page);

}  // namespace nuv
