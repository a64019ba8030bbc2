// The outline tree.
#include "outline/OutlineTree.h"

#include <algorithm>
#include <cassert>

#include "base/Title.h"
#include "outline/NodePool.h"

namespace nuv {

namespace {
TNodeId g_lastId = 0;
TNodeId NextId() { return ++g_lastId; }
TNodeId PeekNextId() { return g_lastId + 1; }
}  // namespace

// ---- TTreeNode ----

namespace {
// Never destroyed: pages of static trees may outlive any other static.
TFixedPool& NodePool() {
  static TFixedPool* pool = new TFixedPool(sizeof(TTreeNode), alignof(TTreeNode));
  return *pool;
}
}  // namespace

// Under AddressSanitizer every node is a heap block of its own, so a use of
// a freed page is still caught; the pool would hide it.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kNodePool = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kNodePool = false;
#else
constexpr bool kNodePool = true;
#endif
#else
constexpr bool kNodePool = true;
#endif

void* TTreeNode::operator new(std::size_t size) {
  assert(size == sizeof(TTreeNode));
  return kNodePool ? NodePool().Allocate() : ::operator new(size);
}

void TTreeNode::operator delete(void* block) {
  if (kNodePool)
    NodePool().Free(block);
  else
    ::operator delete(block);
}

// On x86-64 with libstdc++ a page is 120 bytes, and its pool block too.
static_assert(sizeof(void*) != 8 || sizeof(std::string) != 32 || sizeof(TTreeNode) == 120,
              "a page has grown past its 120 bytes");

TTreeNode::~TTreeNode() { FreeChildren(); }

// A tree may be a million levels deep: the subtree is taken apart with a list
// of pending nodes instead of letting each node's destructor recurse.
void TTreeNode::FreeChildren() {
  if (m_children.Empty()) return;
  std::vector<TTreeNode*> pending(m_children.begin(), m_children.end());
  m_children.Clear();
  while (!pending.empty()) {
    TTreeNode* node = pending.back();
    pending.pop_back();
    pending.insert(pending.end(), node->m_children.begin(), node->m_children.end());
    node->m_children.Clear();
    delete node;
  }
}

TTreeNode* TTreeNode::Parent() const {
  return (m_parent && !m_parent->IsHiddenRoot()) ? m_parent : nullptr;
}

TTreeNode* TTreeNode::Item(int i) const {
  return (i >= 0 && i < Count()) ? m_children[static_cast<std::size_t>(i)] : nullptr;
}

TTreeNode* TTreeNode::GetNextSibling() const {
  if (!m_parent) return nullptr;
  return m_parent->Item(m_index + 1);
}

TTreeNode* TTreeNode::GetPrevSibling() const {
  if (!m_parent) return nullptr;
  return m_parent->Item(m_index - 1);
}

TTreeNode* TTreeNode::GetNext() const {
  if (HasChildren()) return GetFirstChild();
  for (const TTreeNode* n = this; n && !n->IsHiddenRoot(); n = n->m_parent)
    if (TTreeNode* sibling = n->GetNextSibling()) return sibling;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
  TTreeNode* prev = GetPrevSibling();
  if (!prev) return Parent();
  while (prev->HasChildren()) prev = prev->GetLastChild();
  return prev;
}

TTreeNode* TTreeNode::GetNextVisible() const {
  if (m_expanded && HasChildren()) return GetFirstChild();
  for (const TTreeNode* n = this; n && !n->IsHiddenRoot(); n = n->m_parent)
    if (TTreeNode* sibling = n->GetNextSibling()) return sibling;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const {
  TTreeNode* prev = GetPrevSibling();
  if (!prev) return Parent();
  while (prev->m_expanded && prev->HasChildren()) prev = prev->GetLastChild();
  return prev;
}

int TTreeNode::Level() const {
  int level = 0;
  for (const TTreeNode* p = Parent(); p; p = p->Parent()) ++level;
  return level;
}

TTreeNode* TTreeNode::RootPage() const {
  const TTreeNode* n = this;
  while (n->Parent()) n = n->Parent();
  return const_cast<TTreeNode*>(n);
}

bool TTreeNode::HasAsParent(const TTreeNode* ancestor) const {
  if (!ancestor) return false;
  for (const TTreeNode* p = Parent(); p; p = p->Parent())
    if (p == ancestor) return true;
  return false;
}

// ---- TOutlineTree ----

// Calls `visit` on `root` and its descendants in tree order without
// recursion, and without climbing above `root` (which may lie deep).
template <typename F>
void TOutlineTree::ForSubtree(TTreeNode* root, F visit) {
  TTreeNode* n = root;
  for (;;) {
    visit(n);
    if (n->HasChildren()) {
      n = n->GetFirstChild();
      continue;
    }
    while (n != root && !n->GetNextSibling()) n = n->m_parent;
    if (n == root) return;
    n = n->GetNextSibling();
  }
}

TOutlineTree::TOutlineTree() : m_root(new TTreeNode()) {}

TOutlineTree::~TOutlineTree() = default;

void TOutlineTree::EnsureOrder() const {
  const std::size_t count = static_cast<std::size_t>(m_count);
  if (m_orderValidCount == count && m_order.size() == count) return;
  m_order.resize(count);
  std::size_t i = m_orderValidCount;
  for (TTreeNode* n = i == 0 ? GetFirstNode() : m_order[i - 1]->GetNext(); n; n = n->GetNext()) {
    n->m_orderIndex = static_cast<int>(i);
    m_order[i++] = n;
  }
  assert(i == count);
  m_orderValidCount = count;
}

bool TOutlineTree::InValidOrder(const TTreeNode* node) const {
  const std::size_t i = static_cast<std::size_t>(node->m_orderIndex);
  return i < m_orderValidCount && m_order[i] == node;
}

void TOutlineTree::InvalidateOrderAt(const TTreeNode* node) {
  if (InValidOrder(node)) m_orderValidCount = static_cast<std::size_t>(node->m_orderIndex);
}

void TOutlineTree::InvalidateOrderAfterPlaced(const TTreeNode* node) {
  // The page before it in tree order lies in its previous sibling's subtree or
  // is its parent; keeping only what comes before either of them is enough.
  if (const TTreeNode* before = node->GetPrevSibling()) {
    if (InValidOrder(before)) m_orderValidCount = static_cast<std::size_t>(before->m_orderIndex) + 1;
  } else if (node->m_parent->IsHiddenRoot()) {
    m_orderValidCount = 0;
  } else if (InValidOrder(node->m_parent)) {
    m_orderValidCount = static_cast<std::size_t>(node->m_parent->m_orderIndex) + 1;
  }
}

TTreeNode* TOutlineTree::GetNodeAt(int absoluteIndex) const {
  if (absoluteIndex < 0 || absoluteIndex >= m_count) return nullptr;
  EnsureOrder();
  return m_order[static_cast<std::size_t>(absoluteIndex)];
}

int TOutlineTree::AbsoluteIndexOf(const TTreeNode* node) const {
  EnsureOrder();
  return node->m_orderIndex;
}

TTreeNode* TOutlineTree::FindById(TNodeId id) const { return m_byId.Find(id); }

TTreeNode* TOutlineTree::LastPage() const {
  TTreeNode* node = GetLastRootPage();
  while (node && node->HasChildren()) node = node->GetLastChild();
  return node;
}

void TOutlineTree::Register(TTreeNode* node) {
  ForSubtree(node, [this](TTreeNode* n) {
    m_byId.Insert(n);
    ++m_count;
  });
}

void TOutlineTree::Unregister(TTreeNode* node) {
  ForSubtree(node, [this](TTreeNode* n) {
    m_byId.Erase(n->m_id);
    --m_count;
  });
}

void TOutlineTree::Renumber(TTreeNode* parent, int from) {
  for (int i = std::max(from, 0); i < parent->Count(); ++i) parent->m_children[static_cast<std::size_t>(i)]->m_index = i;
}

void TOutlineTree::Changed(TTreeNode* node) {
  if (m_observer && !m_updateCount) m_observer->NodeChanged(node);
}

TTreeNode* TOutlineTree::InsertAt(TTreeNode* parent, int index, std::string_view text,
                                  std::unique_ptr<TNodeData> data) {
  std::unique_ptr<TTreeNode> node(new TTreeNode());
  node->m_id = NextId();
  node->m_text = CleanTitle(text);
  if (data) {
    static_cast<TNodeData&>(*node) = std::move(*data);
    node->m_hasData = true;
  }
  TTreeNode* raw = node.get();
  const bool notify = m_observer && !m_updateCount;
  if (notify) m_observer->BeginInsert(Public(parent), index, index);
  Attach(parent, index, std::move(node));
  Register(raw);
  if (notify) m_observer->EndInsert();
  return raw;
}

void TOutlineTree::Attach(TTreeNode* parent, int index, std::unique_ptr<TTreeNode> node) {
  parent->m_children.Insert(static_cast<std::size_t>(index), node.get());
  TTreeNode* raw = node.release();
  raw->m_parent = parent;
  Renumber(parent, index);
  InvalidateOrderAfterPlaced(raw);
}

std::unique_ptr<TTreeNode> TOutlineTree::Detach(TTreeNode* node) {
  InvalidateOrderAt(node);
  TTreeNode* parent = node->m_parent;
  const int index = node->m_index;
  std::unique_ptr<TTreeNode> owned(node);
  parent->m_children.Erase(static_cast<std::size_t>(index));
  Renumber(parent, index);
  owned->m_parent = nullptr;
  return owned;
}

TTreeNode* TOutlineTree::Add(TTreeNode* sibling, std::string_view text) {
  return AddObject(sibling, text, nullptr);
}

TTreeNode* TOutlineTree::AddObject(TTreeNode* sibling, std::string_view text, std::unique_ptr<TNodeData> data) {
  TTreeNode* parent = sibling ? sibling->m_parent : m_root.get();
  return InsertAt(parent, parent->Count(), text, std::move(data));
}

TTreeNode* TOutlineTree::Insert(TTreeNode* before, std::string_view text) {
  return InsertObject(before, text, nullptr);
}

TTreeNode* TOutlineTree::InsertObject(TTreeNode* before, std::string_view text, std::unique_ptr<TNodeData> data) {
  if (!before) return InsertAt(m_root.get(), m_root->Count(), text, std::move(data));
  return InsertAt(before->m_parent, before->m_index, text, std::move(data));
}

TTreeNode* TOutlineTree::InsertAfter(TTreeNode* after, std::string_view text) {
  if (!after) return InsertAt(m_root.get(), m_root->Count(), text, nullptr);
  return InsertAt(after->m_parent, after->m_index + 1, text, nullptr);
}

TTreeNode* TOutlineTree::AddChild(TTreeNode* parent, std::string_view text) {
  return AddChildObject(parent, text, nullptr);
}

TTreeNode* TOutlineTree::AddChildObject(TTreeNode* parent, std::string_view text, std::unique_ptr<TNodeData> data) {
  TTreeNode* p = ParentOrRoot(parent);
  return InsertAt(p, p->Count(), text, std::move(data));
}

TTreeNode* TOutlineTree::AppendLast(TTreeNode* parent, std::string_view text) {
  const std::size_t count = static_cast<std::size_t>(m_count);
  const bool orderWhole = m_orderValidCount == count && m_order.size() == count;
  TTreeNode* p = ParentOrRoot(parent);
  TTreeNode* node = InsertAt(p, p->Count(), text, nullptr);
  if (orderWhole) {
    assert(count == 0 || node->GetPrev() == m_order.back());
    node->m_orderIndex = static_cast<int>(count);
    m_order.push_back(node);
    m_orderValidCount = count + 1;
  }
  return node;
}

TTreeNode* TOutlineTree::AddChildFirst(TTreeNode* parent, std::string_view text) {
  return InsertAt(ParentOrRoot(parent), 0, text, nullptr);
}

bool TOutlineTree::MoveTo(TTreeNode* node, TTreeNode* target, TNodeAttachMode mode) {
  assert(node && node->RootPage()->m_parent == m_root.get());
  if (target == node || (target && target->HasAsParent(node))) return false;
  TTreeNode* toParent = nullptr;
  int toIndex = 0;
  switch (mode) {
    case TNodeAttachMode::naAdd:
      toParent = target ? target->m_parent : m_root.get();
      toIndex = toParent->Count();
      break;
    case TNodeAttachMode::naAddFirst:
      toParent = target ? target->m_parent : m_root.get();
      toIndex = 0;
      break;
    case TNodeAttachMode::naAddChild:
      toParent = ParentOrRoot(target);
      toIndex = toParent->Count();
      break;
    case TNodeAttachMode::naAddChildFirst:
      toParent = ParentOrRoot(target);
      toIndex = 0;
      break;
    case TNodeAttachMode::naInsert:
      toParent = target ? target->m_parent : m_root.get();
      toIndex = target ? target->m_index : toParent->Count();
      break;
  }
  TTreeNode* fromParent = node->m_parent;
  const int fromIndex = node->m_index;
  // Index among the siblings once the page is taken out of its old place.
  int finalIndex = toIndex;
  if (fromParent == toParent && fromIndex < toIndex) --finalIndex;
  if (fromParent == toParent && finalIndex == fromIndex) return true;
  const bool notify = m_observer && !m_updateCount;
  if (notify) m_observer->BeginMove(Public(fromParent), fromIndex, Public(toParent), toIndex);
  std::unique_ptr<TTreeNode> owned = Detach(node);
  Attach(toParent, finalIndex, std::move(owned));
  if (notify) m_observer->EndMove();
  return true;
}

void TOutlineTree::Delete(TTreeNode* node) {
  assert(node && node->RootPage()->m_parent == m_root.get());
  TTreeNode* parent = node->m_parent;
  const bool notify = m_observer && !m_updateCount;
  if (notify) m_observer->BeginRemove(Public(parent), node->m_index, node->m_index);
  Unregister(node);
  std::unique_ptr<TTreeNode> owned = Detach(node);
  owned.reset();
  if (notify) m_observer->EndRemove();
}

void TOutlineTree::Clear() {
  ++m_generation;
  m_orderValidCount = 0;
  BeginUpdate();
  m_root->FreeChildren();
  m_byId.Clear();
  m_count = 0;
  EndUpdate();
}

void TOutlineTree::SortChildren(TTreeNode* parent,
                                const std::function<int(const std::string&, const std::string&)>& compare) {
  TTreeNode* p = ParentOrRoot(parent);
  const bool notify = m_observer && !m_updateCount;
  if (notify) m_observer->BeginLayoutChange();
  std::stable_sort(p->m_children.begin(), p->m_children.end(),
                   [&](const TTreeNode* a, const TTreeNode* b) { return compare(a->m_text, b->m_text) < 0; });
  Renumber(p, 0);
  if (p == m_root.get())
    m_orderValidCount = 0;
  else if (InValidOrder(p))
    m_orderValidCount = static_cast<std::size_t>(p->m_orderIndex) + 1;
  if (notify) m_observer->EndLayoutChange();
}

void TOutlineTree::SetExpanded(TTreeNode* node, bool expanded) {
  if (!node || node->m_expanded == expanded) return;
  node->m_expanded = expanded;
  if (m_observer && !m_updateCount) m_observer->ExpansionChanged(node);
}

void TOutlineTree::FullExpand() {
  BeginUpdate();
  for (TTreeNode* n = GetFirstNode(); n; n = n->GetNext())
    if (n->HasChildren()) n->m_expanded = true;
  EndUpdate();
}

void TOutlineTree::FullCollapse() {
  BeginUpdate();
  for (TTreeNode* n = GetFirstNode(); n; n = n->GetNext()) n->m_expanded = false;
  EndUpdate();
}

void TOutlineTree::BeginUpdate() {
  if (m_updateCount++ == 0 && m_observer) m_observer->BeginReset();
}

void TOutlineTree::EndUpdate() {
  assert(m_updateCount > 0);
  if (--m_updateCount == 0 && m_observer) m_observer->EndReset();
}

void TOutlineTree::SetText(TTreeNode* node, std::string_view text) {
  std::string clean = CleanTitle(text);
  if (node->m_text == clean) return;
  node->m_text = std::move(clean);
  Changed(node);
}

namespace {
// Picture indexes are small; anything else a caller hands over is clamped, not wrapped.
int8_t PictureIndex(int index) { return static_cast<int8_t>(std::clamp(index, -1, 0x7F)); }
}  // namespace

void TOutlineTree::SetImageIndex(TTreeNode* node, int index) {
  const int8_t value = PictureIndex(index);
  if (node->m_imageIndex == value) return;
  node->m_imageIndex = value;
  Changed(node);
}

void TOutlineTree::SetStateIndex(TTreeNode* node, int index) {
  const int8_t value = PictureIndex(index);
  if (node->m_stateIndex == value) return;
  node->m_stateIndex = value;
  Changed(node);
}

void TOutlineTree::SetOverlayIndex(TTreeNode* node, int index) {
  const int8_t value = PictureIndex(index);
  if (node->m_overlayIndex == value) return;
  node->m_overlayIndex = value;
  Changed(node);
}

void TOutlineTree::SetCut(TTreeNode* node, bool cut) {
  if (node->m_cut == cut) return;
  node->m_cut = cut;
  Changed(node);
}

void TOutlineTree::SetData(TTreeNode* node, std::unique_ptr<TNodeData> data) {
  static_cast<TNodeData&>(*node) = data ? std::move(*data) : TNodeData();
  node->m_hasData = data != nullptr;
}

TNodeData& TOutlineTree::EnsureData(TTreeNode* node) {
  node->m_hasData = true;
  return *node;
}

void TOutlineTree::Reserve(std::size_t pages) {
  m_byId.Reserve(pages, PeekNextId());
  m_order.reserve(static_cast<std::size_t>(m_count) + pages);
}

void TOutlineTree::FitChildren() {
  m_root->m_children.Fit();
  for (TTreeNode* n = GetFirstNode(); n; n = n->GetNext()) n->m_children.Fit();
}

void TOutlineTree::ReplaceWith(TOutlineTree&& other) {
  ++m_generation;
  BeginUpdate();
  m_root->FreeChildren();
  // The pages change tree whole: their ids and their order come along, so
  // taking over a read document costs nothing per page.
  m_root->m_children = std::move(other.m_root->m_children);
  m_byId = std::move(other.m_byId);
  other.m_byId.Clear();
  m_count = other.m_count;
  other.m_count = 0;
  m_order = std::move(other.m_order);
  m_orderValidCount = other.m_orderValidCount;
  other.m_order.clear();
  other.m_orderValidCount = 0;
  for (TTreeNode* child : m_root->m_children) child->m_parent = m_root.get();
  EndUpdate();
}

void TOutlineTree::AdoptChildren(TTreeNode* parent, int index, TOutlineTree& other, TTreeNode* otherParent) {
  TTreeNode* to = ParentOrRoot(parent);
  TTreeNode* from = other.ParentOrRoot(otherParent);
  if (from->m_children.Empty()) return;
  index = std::clamp(index, 0, to->Count());
  BeginUpdate();
  to->m_children.Reserve(to->m_children.Size() + from->m_children.Size());
  TChildList moved = std::move(from->m_children);
  other.m_orderValidCount = 0;
  for (TTreeNode* raw : moved) {
    other.Unregister(raw);
    Attach(to, index++, std::unique_ptr<TTreeNode>(raw));
    Register(raw);
  }
  moved.Clear();
  EndUpdate();
}

// ---- walks ----

int TLevelWalk::LevelOf(const TTreeNode* page) {
  int level = 0;
  if (!m_previous) {
    level = page->Level();
  } else {
    // The parent is the page before, one of its ancestors, or none (level -1).
    const TTreeNode* parent = page->Parent();
    const TTreeNode* n = m_previous;
    int nLevel = m_previousLevel;
    while (n && n != parent) {
      n = n->Parent();
      --nLevel;
    }
    level = n == parent ? nLevel + 1 : page->Level();
  }
  m_previous = page;
  m_previousLevel = level;
  return level;
}

TTreeNode* NextAfterSubtree(const TTreeNode* page) {
  for (const TTreeNode* n = page; n; n = n->Parent())
    if (TTreeNode* sibling = n->GetNextSibling()) return sibling;
  return nullptr;
}

}  // namespace nuv
