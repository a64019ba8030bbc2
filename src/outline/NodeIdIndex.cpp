// The page index by id: a direct table for the run of consecutive ids, and
// for the rest linear probing with deletion that shifts the following entries
// back instead of leaving markers, so lookups stay short however many pages
// come and go.
#include "outline/NodeIdIndex.h"

#include "outline/OutlineTree.h"

namespace nuv {

namespace {
// Runs shorter than this are not worth thinning.
constexpr std::size_t kSmallRun = 64;
}  // namespace

TTreeNode* TNodeIdIndex::Find(TNodeId id) const {
  if (InRun(id)) return m_run[static_cast<std::size_t>(id - m_runBase)];
  return FindInTable(id);
}

void TNodeIdIndex::Insert(TTreeNode* node) {
  const TNodeId id = node->Id();
  // An id inside the run was placed there when the run reached it, so it
  // never lives in the table; the run grows only by the next id in sequence.
  if (InRun(id)) {
    m_run[static_cast<std::size_t>(id - m_runBase)] = node;
    ++m_runLive;
    return;
  }
  if (m_run.empty() || id == m_runBase + m_run.size()) {
    if (m_run.empty()) m_runBase = id;
    m_run.push_back(node);
    ++m_runLive;
    return;
  }
  InsertInTable(node);
}

void TNodeIdIndex::Erase(TNodeId id) {
  if (!InRun(id)) {
    EraseFromTable(id);
    return;
  }
  TTreeNode*& slot = m_run[static_cast<std::size_t>(id - m_runBase)];
  if (!slot) return;
  slot = nullptr;
  --m_runLive;
  ThinRun();
}

void TNodeIdIndex::ThinRun() {
  if (m_run.size() < kSmallRun || m_runLive * 4 >= m_run.size()) return;
  auto run = std::move(m_run);
  ReserveTable(m_size + m_runLive);
  m_run = {};
  m_runLive = 0;
  for (TTreeNode* node : run)
    if (node) InsertInTable(node);
}

void TNodeIdIndex::Reserve(std::size_t count, TNodeId firstId) {
  if (m_run.empty() || firstId == m_runBase + m_run.size())
    m_run.reserve(m_run.size() + count);
  else
    ReserveTable(m_size + count);
}

void TNodeIdIndex::Clear() {
  m_run = {};
  m_runBase = 0;
  m_runLive = 0;
  m_slots = {};
  m_size = 0;
  m_bits = 0;
}

// ---- the table ----

std::size_t TNodeIdIndex::Home(TNodeId id) const {
  // Eight ids in a row share one cache line of slots, so filling or reading a
  // run of them touches one line in eight; a multiplicative hash of the group
  // spreads the groups over the table. (Whole runs of ids in whole runs of
  // slots would be kinder still, but under linear probing two long runs that
  // meet make every insertion walk the length of both.)
  constexpr int kGroupBits = 3;
  const std::size_t line = static_cast<std::size_t>(((id >> kGroupBits) * 0x9E3779B97F4A7C15ull) >> (64 - m_bits + kGroupBits));
  return (line << kGroupBits) | static_cast<std::size_t>(id & ((1u << kGroupBits) - 1));
}

TTreeNode* TNodeIdIndex::FindInTable(TNodeId id) const {
  if (m_slots.empty()) return nullptr;
  const std::size_t mask = m_slots.size() - 1;
  for (std::size_t i = Home(id);; i = (i + 1) & mask) {
    TTreeNode* node = m_slots[i];
    if (!node || node->Id() == id) return node;
  }
}

void TNodeIdIndex::InsertInTable(TTreeNode* node) {
  if ((m_size + 1) * 4 > m_slots.size() * 3) Rehash(m_slots.empty() ? 16 : m_slots.size() * 2);
  const std::size_t mask = m_slots.size() - 1;
  std::size_t i = Home(node->Id());
  while (m_slots[i]) i = (i + 1) & mask;
  m_slots[i] = node;
  ++m_size;
}

void TNodeIdIndex::ReserveTable(std::size_t count) {
  // At most three quarters full, so probes stay short.
  std::size_t slots = m_slots.empty() ? 16 : m_slots.size();
  while (count * 4 > slots * 3) slots *= 2;
  if (slots != m_slots.size()) Rehash(slots);
}

void TNodeIdIndex::EraseFromTable(TNodeId id) {
  if (m_slots.empty()) return;
  const std::size_t mask = m_slots.size() - 1;
  std::size_t hole = Home(id);
  while (m_slots[hole] && m_slots[hole]->Id() != id) hole = (hole + 1) & mask;
  if (!m_slots[hole]) return;
  // Each later entry of the cluster moves into the hole unless its home lies
  // cyclically after the hole, where a lookup would then miss it.
  for (std::size_t j = (hole + 1) & mask; m_slots[j]; j = (j + 1) & mask) {
    const std::size_t home = Home(m_slots[j]->Id());
    const bool stays = hole < j ? (home > hole && home <= j) : (home > hole || home <= j);
    if (stays) continue;
    m_slots[hole] = m_slots[j];
    hole = j;
  }
  m_slots[hole] = nullptr;
  --m_size;
}

void TNodeIdIndex::Rehash(std::size_t slots) {
  auto old = std::move(m_slots);
  m_slots.assign(slots, nullptr);
  m_bits = 0;
  while ((std::size_t{1} << m_bits) < slots) ++m_bits;
  m_size = 0;
  for (TTreeNode* node : old)
    if (node) InsertInTable(node);
}

}  // namespace nuv
