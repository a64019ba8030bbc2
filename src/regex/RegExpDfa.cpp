// Lazy subset construction.
//
// The codes are first cut into classes: the boundaries of every transition
// range split the code space into intervals, and intervals that carry the
// same (from, to) transitions are one class, so a state's transitions are a
// dense row indexed by class plus two columns for the line-head and line-tail
// codes. A row entry is computed on first use: the NFA states reached on the
// class, closed under empty transitions, are looked up by the hash of their
// sorted set and become a new state when absent. When the states outgrow the
// memory budget they are all dropped and the walk goes on from the state it
// just reached, so a pattern with exponentially many subsets still runs in
// bounded memory and gives the results of the full construction.
#include "regex/RegExpDfa.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "regex/RegExpLimits.h"

namespace nuv {

namespace {

std::uint64_t HashSet(const std::uint32_t* data, std::size_t size) {
  std::uint64_t h = 0x243F6A8885A308D3ull ^ size;
  for (std::size_t i = 0; i < size; ++i) {
    h ^= data[i];
    h *= 0x9E3779B97F4A7C15ull;
    h ^= h >> 29;
  }
  return h;
}

}  // namespace

TRE_DFA::TRE_DFA(std::unique_ptr<TRE_NFA> nfa) : m_nfa(std::move(nfa)) {
  BuildClasses();
  m_stride = std::size_t{m_classCount} + 2;
  m_mark.assign(m_nfa->StateCount(), 0);
  m_initialSet = {TRE_NFA::kEntry};
  Close(m_initialSet);
  BuildFirstBytes();
}

void TRE_DFA::BuildClasses() {
  std::vector<std::uint32_t> bounds{0, 0x10000};
  for (std::uint32_t s = 0; s < m_nfa->StateCount(); ++s)
    for (const auto& e : m_nfa->CharEdges(s)) {
      bounds.push_back(e.StartChar);
      bounds.push_back(std::uint32_t{e.EndChar} + 1);
    }
  std::sort(bounds.begin(), bounds.end());
  bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
  const std::size_t intervals = bounds.size() - 1;

  // (interval, from << 32 | to) for every interval each transition covers.
  std::vector<std::pair<std::uint32_t, std::uint64_t>> items;
  for (std::uint32_t s = 0; s < m_nfa->StateCount(); ++s)
    for (const auto& e : m_nfa->CharEdges(s)) {
      const auto first = std::lower_bound(bounds.begin(), bounds.end(), e.StartChar) - bounds.begin();
      const auto last = std::lower_bound(bounds.begin(), bounds.end(), std::uint32_t{e.EndChar} + 1) - bounds.begin();
      for (auto k = first; k < last; ++k)
        items.emplace_back(static_cast<std::uint32_t>(k), std::uint64_t{s} << 32 | e.Target);
    }
  std::sort(items.begin(), items.end());
  items.erase(std::unique(items.begin(), items.end()), items.end());

  std::vector<std::uint16_t> intervalClass(intervals, 0);
  std::map<std::vector<std::uint64_t>, std::uint16_t> classBySignature;
  m_classCode.assign(1, 0);
  std::vector<std::uint64_t> signature;
  for (std::size_t i = 0; i < items.size();) {
    const std::uint32_t k = items[i].first;
    signature.clear();
    for (; i < items.size() && items[i].first == k; ++i) signature.push_back(items[i].second);
    auto [it, inserted] = classBySignature.try_emplace(signature, static_cast<std::uint16_t>(m_classCode.size()));
    if (inserted) m_classCode.push_back(static_cast<TWChar>(bounds[k]));
    intervalClass[k] = it->second;
  }
  m_classCount = static_cast<std::uint16_t>(m_classCode.size());

  // Two-level map from code to class; pages of one class are shared.
  std::unordered_map<std::uint16_t, std::uint8_t> uniformPage;
  std::size_t k = 0;
  for (std::uint32_t page = 0; page < 256; ++page) {
    const std::uint32_t lo = page << 8, hi = lo + 255;
    while (bounds[k + 1] <= lo) ++k;
    if (bounds[k + 1] > hi) {
      auto [it, inserted] = uniformPage.try_emplace(intervalClass[k], static_cast<std::uint8_t>(m_pages.size()));
      if (inserted) m_pages.emplace_back().fill(intervalClass[k]);
      m_pageOf[page] = it->second;
      continue;
    }
    // Each of the 256 code pages adds at most one page, so indexes fit a byte.
    TPage mixed;
    std::size_t j = k;
    for (std::uint32_t code = lo; code <= hi; ++code) {
      while (bounds[j + 1] <= code) ++j;
      mixed[code - lo] = intervalClass[j];
    }
    m_pageOf[page] = static_cast<std::uint8_t>(m_pages.size());
    m_pages.push_back(mixed);
  }
}

void TRE_DFA::BuildFirstBytes() {
  for (const std::uint32_t q : m_initialSet)
    for (const auto& e : m_nfa->CharEdges(q)) {
      const std::uint32_t lo = e.StartChar, hi = e.EndChar;
      for (std::uint32_t b = lo; b <= std::min<std::uint32_t>(hi, 255); ++b) m_firstBytes[b] = true;
      if (hi >= 256)
        for (std::uint32_t b = std::max<std::uint32_t>(lo, 256) >> 8; b <= hi >> 8; ++b) m_firstBytes[b] = true;
    }
}

const TRE_DFA::TStartBytes& TRE_DFA::StartBytes(bool anchors, TWChar lineEnd) {
  if (m_startBytesValid && m_startBytesAnchors == anchors && m_startBytesLineEnd == lineEnd) return m_startBytes;
  m_startBytes.table = m_firstBytes;
  if (anchors) {
    if (HasLineTail(Initial())) m_startBytes.table[lineEnd & 0xFF] = true;
    if (HasLHead()) m_startBytes.table['\n'] = true;
  }
  int count = 0;
  m_startBytes.single = -1;
  for (int b = 0; b < 256; ++b)
    if (m_startBytes.table[b]) {
      ++count;
      m_startBytes.single = b;
    }
  if (count != 1) m_startBytes.single = -1;
  m_startBytesValid = true;
  m_startBytesAnchors = anchors;
  m_startBytesLineEnd = lineEnd;
  return m_startBytes;
}

void TRE_DFA::Close(std::vector<std::uint32_t>& set) {
  if (++m_markStamp == 0) {
    std::fill(m_mark.begin(), m_mark.end(), 0);
    m_markStamp = 1;
  }
  m_stack.clear();
  std::size_t kept = 0;
  for (const std::uint32_t q : set) {
    if (m_mark[q] == m_markStamp) continue;
    m_mark[q] = m_markStamp;
    set[kept++] = q;
    m_stack.push_back(q);
  }
  set.resize(kept);
  while (!m_stack.empty()) {
    const std::uint32_t q = m_stack.back();
    m_stack.pop_back();
    for (const std::uint32_t t : m_nfa->EmptyEdges(q)) {
      if (m_mark[t] == m_markStamp) continue;
      m_mark[t] = m_markStamp;
      set.push_back(t);
      m_stack.push_back(t);
    }
  }
  std::sort(set.begin(), set.end());
}

TRE_DFA::TStateId TRE_DFA::Compute(TStateId state, std::uint16_t cls) {
  const std::size_t s = static_cast<std::size_t>(state);
  const std::uint32_t* set = m_setPool.data() + m_setStart[s];
  std::uint32_t size = m_setLength[s];
  const bool scan = size > 0 && set[size - 1] == kScanMark;
  if (scan) --size;
  m_computeWork += size;
  m_work.clear();
  if (cls == LineHeadClass()) {
    for (std::uint32_t i = 0; i < size; ++i)
      for (const std::uint32_t t : m_nfa->LineHeadEdges(set[i])) m_work.push_back(t);
  } else if (cls == LineTailClass()) {
    for (std::uint32_t i = 0; i < size; ++i)
      for (const std::uint32_t t : m_nfa->LineTailEdges(set[i])) m_work.push_back(t);
  } else if (cls != 0) {
    const TWChar code = m_classCode[cls];
    for (std::uint32_t i = 0; i < size; ++i)
      for (const auto& e : m_nfa->CharEdges(set[i]))
        if (e.StartChar <= code && code <= e.EndChar) m_work.push_back(e.Target);
  }
  TStateId next = kDead;
  const std::uint64_t generation = m_generation;
  if (scan && cls < m_classCount) {
    // A scan also starts a new match after every character.
    m_work.insert(m_work.end(), m_initialSet.begin(), m_initialSet.end());
    Close(m_work);
    m_work.push_back(kScanMark);
    next = Register(m_work);
  } else if (!m_work.empty()) {
    Close(m_work);
    next = Register(m_work);
  }
  if (generation == m_generation) m_next[s * m_stride + cls] = next;
  return next;
}

std::size_t TRE_DFA::MemoryUse() const {
  return m_next.size() * sizeof(TStateId) + m_setPool.size() * sizeof(std::uint32_t) +
         m_accepting.size() * (2 * sizeof(std::uint32_t) + sizeof(std::uint64_t) + 1) +
         m_buckets.size() * sizeof(TStateId);
}

void TRE_DFA::Flush() {
  m_next.clear();
  m_accepting.clear();
  m_setStart.clear();
  m_setLength.clear();
  m_setPool.clear();
  m_setHash.clear();
  m_buckets.clear();
  ++m_generation;
}

TRE_DFA::TStateId TRE_DFA::Register(const std::vector<std::uint32_t>& set) {
  const std::uint64_t hash = HashSet(set.data(), set.size());
  const std::size_t mask = m_buckets.size() - 1;
  if (!m_buckets.empty()) {
    for (std::size_t b = hash & mask;; b = (b + 1) & mask) {
      const TStateId id = m_buckets[b];
      if (id == kDead) break;
      const std::size_t i = static_cast<std::size_t>(id);
      if (m_setHash[i] == hash && m_setLength[i] == set.size() &&
          std::equal(set.begin(), set.end(), m_setPool.begin() + m_setStart[i]))
        return id;
    }
  }
  const std::size_t need = m_stride * sizeof(TStateId) + set.size() * sizeof(std::uint32_t) + 64;
  if (m_accepting.size() >= kMinDfaStates && MemoryUse() + need > kDfaCacheBytes) Flush();

  const TStateId id = static_cast<TStateId>(m_accepting.size());
  m_setStart.push_back(static_cast<std::uint32_t>(m_setPool.size()));
  m_setLength.push_back(static_cast<std::uint32_t>(set.size()));
  m_setPool.insert(m_setPool.end(), set.begin(), set.end());
  m_setHash.push_back(hash);
  m_accepting.push_back(std::binary_search(set.begin(), set.end(), TRE_NFA::kExit) ? 1 : 0);
  m_next.resize(m_next.size() + m_stride, kUnknown);
  // Class 0 leads nowhere, except that a scan starts afresh after it.
  if (set.empty() || set.back() != kScanMark) m_next[static_cast<std::size_t>(id) * m_stride] = kDead;

  if (m_accepting.size() * 2 > m_buckets.size()) {
    m_buckets.assign(std::max<std::size_t>(16, m_buckets.size() * 2), kDead);
    const std::size_t newMask = m_buckets.size() - 1;
    for (std::size_t i = 0; i < m_accepting.size(); ++i) {
      std::size_t b = m_setHash[i] & newMask;
      while (m_buckets[b] != kDead) b = (b + 1) & newMask;
      m_buckets[b] = static_cast<TStateId>(i);
    }
  } else {
    std::size_t b = hash & mask;
    while (m_buckets[b] != kDead) b = (b + 1) & mask;
    m_buckets[b] = id;
  }
  return id;
}

}  // namespace nuv
