// The nondeterministic automaton of a parse tree: state 0 is the entry, state
// 1 the exit; transitions are on a character range, on nothing (empty), or on
// the reserved line-head and line-tail symbols.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "regex/RegExpParseTree.h"

namespace nuv {

// Reserved codes above every Shift JIS code.
constexpr TWChar kEmptyTransitionCode = 0xFFFF;  // both ends of CONST_EMPTYCharClass
constexpr TWChar kLineHeadCode = 0xFFFD;
constexpr TWChar kLineTailCode = 0xFFFE;

class TRE_NFA {
 public:
  struct TCharEdge {
    TWChar StartChar, EndChar;
    std::uint32_t Target;
  };
  static constexpr std::uint32_t kEntry = 0;
  static constexpr std::uint32_t kExit = 1;

  // Builds the automaton of the tree; raises ERegExpLimit when it would
  // exceed the state or transition budget.
  void Run(const TREParseTree& tree);

  std::size_t StateCount() const { return m_stateCount; }
  bool HasLHead() const { return m_hasLHead; }
  bool HasLTail() const { return m_hasLTail; }
  std::span<const TCharEdge> CharEdges(std::uint32_t state) const {
    return {m_charEdges.data() + m_charStart[state], m_charEdges.data() + m_charStart[state + 1]};
  }
  std::span<const std::uint32_t> EmptyEdges(std::uint32_t state) const { return Slice(m_empty, state); }
  std::span<const std::uint32_t> LineHeadEdges(std::uint32_t state) const { return Slice(m_lineHead, state); }
  std::span<const std::uint32_t> LineTailEdges(std::uint32_t state) const { return Slice(m_lineTail, state); }
  std::size_t TransitionCount() const;

 private:
  // Targets grouped by source state (offsets[state] .. offsets[state + 1]).
  struct TTargets {
    std::vector<std::uint32_t> offsets, targets;
  };
  static std::span<const std::uint32_t> Slice(const TTargets& t, std::uint32_t state) {
    return {t.targets.data() + t.offsets[state], t.targets.data() + t.offsets[state + 1]};
  }

  std::size_t m_stateCount = 0;
  bool m_hasLHead = false;
  bool m_hasLTail = false;
  std::vector<std::uint32_t> m_charStart;
  std::vector<TCharEdge> m_charEdges;
  TTargets m_empty, m_lineHead, m_lineTail;
};

}  // namespace nuv
