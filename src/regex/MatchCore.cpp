// Matching by walking the deterministic automaton one wide character at a
// time.
//
// For each start position in turn the automaton is walked until it has no
// next state; every position where the state accepts is recorded, and the
// last one is the longest match from that start. The first start with a match
// wins. Three shortcuts give the same answer sooner: a line without the text
// every match contains is refused at once (and a fixed pattern is just that
// text's first occurrence); without anchors one pass of the scan state tells
// whether any match ends in the line; starts whose first byte cannot begin a
// match are skipped (by memchr when only one byte can). A walk that reaches a
// (state, position) pair where an earlier failed walk has been gives up at
// once, since its future is the same.
//
// With anchors the line head is a reserved code read once before the first
// character at the text start and after each line feed, and the line tail is
// a reserved code accepted where the walk stops at a line end or the
// terminator; the terminator itself is never read.
#include "regex/MatchCore.h"

#include <algorithm>
#include <cstring>

#include "base/Sjis.h"
#include "regex/WChar.h"

namespace nuv {

namespace {

// The next character start at or after `pos` (a start) whose first byte is in
// the table, or the text size.
std::size_t SkipToCandidate(std::string_view text, std::size_t pos, const TRE_DFA::TStartBytes& starts) {
  const std::size_t size = text.size();
  if (starts.single >= 0) {
    std::size_t from = pos;
    while (pos < size) {
      const void* hit = std::memchr(text.data() + pos, starts.single, size - pos);
      if (!hit) return size;
      const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
      if (IsCharBoundaryFrom(text, from, at)) return at;
      from = pos = at + 1;  // `at` was a trail byte, so the byte after it starts a character
    }
    return size;
  }
  while (pos < size && !starts.table[static_cast<unsigned char>(text[pos])]) pos += CharLength(text, pos);
  return pos;
}

}  // namespace

void TMatchCORE::NewMemoEpoch() {
  if (++m_epoch >= (std::uint64_t{1} << 32)) {
    std::fill(m_memo.begin(), m_memo.end(), 0);
    m_epoch = 1;
  }
}

std::size_t TMatchCORE::MatchInside(std::string_view text, std::size_t pos, TRE_DFA::TStateId state,
                                    bool anchors) {
  TRE_DFA& dfa = GetCurrentDFA();
  if (state == TRE_DFA::kDead) return kNoMatch;
  if (dfa.Generation() != m_memoGeneration) {
    m_memoGeneration = dfa.Generation();
    NewMemoEpoch();
  }
  const std::size_t from = pos;
  const bool useMemo = m_failedSteps > m_memoThreshold;
  std::uint64_t tagBase = m_epoch << 32;
  std::size_t recorded = kNoMatch;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  TWChar stopCode = 0;
  for (;;) {
    if (useMemo) {
      // Reaching the state and position of a failed walk: nothing more to
      // record from here, and no line tail at the stop.
      const std::uint64_t tag = tagBase | static_cast<std::uint32_t>(state);
      if (m_memo[pos] == tag) return recorded == kNoMatch ? Failed(pos - from) : recorded;
      m_memo[pos] = tag;
    }
    if (dfa.Accepting(state)) recorded = pos;
    if (pos == size) break;
    const unsigned char b = bytes[pos];
    std::size_t len = 1;
    std::uint16_t cls;
    if (IsLeadByte(b) && pos + 1 < size && IsTrailByte(bytes[pos + 1])) {
      cls = dfa.ClassOfPair(b, bytes[pos + 1]);
      len = 2;
    } else {
      cls = dfa.ClassOfByte(b);
    }
    const TRE_DFA::TStateId next = dfa.NextByClass(state, cls);
    if (dfa.Generation() != m_memoGeneration) {
      m_memoGeneration = dfa.Generation();
      NewMemoEpoch();
      tagBase = m_epoch << 32;
    }
    if (next == TRE_DFA::kDead) {
      stopCode = len == 1 ? b : static_cast<TWChar>(b << 8 | bytes[pos + 1]);
      break;
    }
    state = next;
    pos += len;
  }
  if (anchors && (pos == size || IsLineEnd(stopCode)) && dfa.HasLineTail(state)) return pos;
  return recorded == kNoMatch ? Failed(pos - from) : recorded;
}

std::size_t TMatchCORE::MatchHead(std::string_view text, std::size_t pos) {
  TRE_DFA& dfa = GetCurrentDFA();
  const std::size_t anchored = MatchInside(text, pos, dfa.NextDFAState(dfa.Initial(), kLineHeadCode), true);
  if (anchored != kNoMatch) NewMemoEpoch();  // its tags do not mark a failure
  const std::size_t plain = MatchInside(text, pos, dfa.Initial(), true);
  if (anchored == kNoMatch) return plain;
  return plain != kNoMatch && plain >= anchored ? plain : anchored;
}

bool TMatchCORE::Search(std::string_view text, std::size_t from, bool anchors, std::size_t& start,
                        std::size_t& end) {
  start = end = kNoMatch;
  if (from > text.size()) return false;
  TRE_DFA& dfa = GetCurrentDFA();
  const std::string& required = dfa.RequiredText();
  // Most lines lack the required text; they are turned away before the
  // terminator is even looked for.
  std::size_t at = required.empty() ? from : FindAtCharBoundary(text, required, from);
  if (at == kNoMatch) return false;
  const std::size_t checked = required.empty() ? text.size() : at + required.size();
  const void* nul = m_zeroFree ? nullptr : std::memchr(text.data() + from, 0, (dfa.RequiredTextIsWhole() ? checked : text.size()) - from);
  if (nul) {
    text = text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));
    if (!required.empty() && (at = FindAtCharBoundary(text, required, from)) == kNoMatch) return false;
  }
  // A fixed pattern's leftmost match is its first occurrence.
  if (dfa.RequiredTextIsWhole()) {
    start = at;
    end = at + required.size();
    return true;
  }
  // Tags are written only once failed walks have cost more than a pass over
  // the text, so short lines and early matches pay nothing for them.
  m_failedSteps = 0;
  m_memoThreshold = 2 * (text.size() - from) + 64;
  if (m_memo.size() < text.size() + 1) m_memo.resize(text.size() + 1, 0);
  NewMemoEpoch();
  m_memoGeneration = dfa.Generation();

  const bool everyStart = dfa.Accepting(dfa.Initial());
  if (!anchors && !everyStart && !MayMatch(text, from)) return false;

  const bool lineHeads = anchors && dfa.HasLHead();
  const TRE_DFA::TStartBytes& starts = dfa.StartBytes(anchors, m_lineSeparator == mcls_CRLF ? 13 : 10);
  const std::size_t size = text.size();
  std::size_t pos = from;
  bool head = lineHeads && (from == 0 || text[from - 1] == '\n');
  for (;;) {
    if (head || everyStart || pos == size || starts.table[static_cast<unsigned char>(text[pos])]) {
      const std::size_t found = head ? MatchHead(text, pos) : MatchInside(text, pos, dfa.Initial(), anchors);
      if (found != kNoMatch) {
        start = pos;
        end = found;
        return true;
      }
    }
    if (pos >= size) break;
    head = lineHeads && text[pos] == '\n';
    pos += CharLength(text, pos);
    if (!head && !everyStart) pos = SkipToCandidate(text, pos, starts);
  }
  return false;
}

bool TMatchCORE::MayMatch(std::string_view text, std::size_t from) {
  TRE_DFA& dfa = GetCurrentDFA();
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  TRE_DFA::TStateId state = dfa.ScanInitial();
  // Scan states can hold a large part of a long pattern's automaton (a long
  // periodic literal keeps many partial matches alive); when building them
  // costs more than the walks would, the answer is left to the walks.
  const std::uint64_t budget = dfa.ComputeWork() + 64 * std::uint64_t{size - from} + 4096;
  for (std::size_t pos = from;;) {
    if (dfa.Accepting(state)) return true;
    if (pos == size) return false;
    if (dfa.ComputeWork() > budget) return true;
    const unsigned char b = bytes[pos];
    if (IsLeadByte(b) && pos + 1 < size && IsTrailByte(bytes[pos + 1])) {
      state = dfa.NextByClass(state, dfa.ClassOfPair(b, bytes[pos + 1]));
      pos += 2;
    } else {
      state = dfa.NextByClass(state, dfa.ClassOfByte(b));
      ++pos;
    }
  }
}

bool TMatchCORE::MatchStd(std::string_view text, std::size_t from, std::size_t& start, std::size_t& end) {
  return Search(text, from, false, start, end);
}

bool TMatchCORE::MatchEX(std::string_view text, std::size_t from, std::size_t& start, std::size_t& end) {
  return Search(text, from, true, start, end);
}

}  // namespace nuv
