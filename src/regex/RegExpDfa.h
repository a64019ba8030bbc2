// The deterministic automaton of a pattern, built lazily: a state stands for
// a set of NFA states and its transitions are computed the first time the
// text asks for them, within a fixed memory budget.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "regex/RegExpNfa.h"

namespace nuv {

class TRE_DFA {
 public:
  using TStateId = std::int32_t;
  static constexpr TStateId kDead = -1;

  explicit TRE_DFA(std::unique_ptr<TRE_NFA> nfa);
  TRE_DFA(const TRE_DFA&) = delete;
  TRE_DFA& operator=(const TRE_DFA&) = delete;

  bool HasLHead() const { return m_nfa->HasLHead(); }
  bool HasLTail() const { return m_nfa->HasLTail(); }

  // The state of the entry's empty closure.
  TStateId Initial() {
    if (m_initialGeneration != m_generation) {
      m_initial = Register(m_initialSet);
      m_initialGeneration = m_generation;
    }
    return m_initial;
  }
  // The state reached from `state` on `code` (a text character, or the line
  // head or tail code), or kDead.
  TStateId NextDFAState(TStateId state, TWChar code) {
    if (code == kLineHeadCode) return NextByClass(state, LineHeadClass());
    if (code == kLineTailCode) return NextByClass(state, LineTailClass());
    return NextByClass(state, ClassOf(code));
  }
  // The state of a scan that starts a match at every position: its set also
  // holds the entry's closure after every step, so it accepts wherever some
  // match ends. Used to learn in one pass whether a text has a match at all.
  TStateId ScanInitial() {
    if (m_scanGeneration != m_generation) {
      std::vector<std::uint32_t> set = m_initialSet;
      set.push_back(kScanMark);
      m_scan = Register(set);
      m_scanGeneration = m_generation;
    }
    return m_scan;
  }
  bool Accepting(TStateId state) const { return m_accepting[static_cast<std::size_t>(state)] != 0; }
  // Whether the state has a transition on the line-tail code.
  bool HasLineTail(TStateId state) { return NextByClass(state, LineTailClass()) != kDead; }

  // Input classes: codes that every NFA state treats alike share one class;
  // class 0 is the codes no transition takes.
  std::uint16_t ClassOf(TWChar code) const { return m_pages[m_pageOf[code >> 8]][code & 0xFF]; }
  std::uint16_t LineHeadClass() const { return m_classCount; }
  std::uint16_t LineTailClass() const { return static_cast<std::uint16_t>(m_classCount + 1); }
  std::size_t ClassCount() const { return m_classCount; }

  TStateId NextByClass(TStateId state, std::uint16_t cls) {
    const TStateId next = m_next[static_cast<std::size_t>(state) * m_stride + cls];
    return next != kUnknown ? next : Compute(state, cls);
  }
  // The class of a single-byte character and of a double-byte one.
  std::uint16_t ClassOfByte(unsigned char b) const { return m_pages[m_pageOf[0]][b]; }
  std::uint16_t ClassOfPair(unsigned char lead, unsigned char trail) const { return m_pages[m_pageOf[lead]][trail]; }

  // Bytes that every match contains at a character boundary (empty when no
  // such text is known); a line without them cannot match. When `whole`, the
  // pattern matches exactly these bytes.
  const std::string& RequiredText() const { return m_requiredText; }
  bool RequiredTextIsWhole() const { return m_requiredWhole; }
  void SetRequiredText(std::string text, bool whole) {
    m_requiredText = std::move(text);
    m_requiredWhole = whole;
  }

  // The bytes at which a match may start: first bytes of a character that
  // leaves the initial state, and for matching with anchors the line end (when
  // the initial state has a line-tail transition) and line feed (before a line
  // head). `single` is the one such byte when there is exactly one, else -1.
  struct TStartBytes {
    std::array<bool, 256> table{};
    int single = -1;
  };
  const TStartBytes& StartBytes(bool anchors, TWChar lineEnd);
  // Increases whenever the states are dropped; state ids of an older
  // generation are void.
  std::uint64_t Generation() const { return m_generation; }
  std::size_t StateCount() const { return m_accepting.size(); }
  // NFA states visited so far while computing transitions.
  std::uint64_t ComputeWork() const { return m_computeWork; }
  std::size_t FlushCount() const { return static_cast<std::size_t>(m_generation); }
  const TRE_NFA& Nfa() const { return *m_nfa; }

 private:
  static constexpr TStateId kUnknown = -2;
  // Last element of the set of a scan state (sets are sorted).
  static constexpr std::uint32_t kScanMark = 0xFFFFFFFF;
  using TPage = std::array<std::uint16_t, 256>;

  void BuildClasses();
  void BuildFirstBytes();
  TStateId Compute(TStateId state, std::uint16_t cls);
  // The empty closure of `set`, sorted.
  void Close(std::vector<std::uint32_t>& set);
  TStateId Register(const std::vector<std::uint32_t>& set);
  void Flush();
  std::size_t MemoryUse() const;

  std::unique_ptr<TRE_NFA> m_nfa;
  std::string m_requiredText;
  bool m_requiredWhole = false;
  std::uint16_t m_classCount = 1;
  std::vector<TWChar> m_classCode;  // one code of each class
  std::array<std::uint16_t, 256> m_pageOf{};
  std::vector<TPage> m_pages;
  std::size_t m_stride = 0;
  std::array<bool, 256> m_firstBytes{};
  TStartBytes m_startBytes;
  bool m_startBytesValid = false;
  bool m_startBytesAnchors = false;
  TWChar m_startBytesLineEnd = 0;

  // The states, by id.
  std::vector<TStateId> m_next;  // m_stride entries per state
  std::vector<std::uint8_t> m_accepting;
  std::vector<std::uint32_t> m_setStart, m_setLength;
  std::vector<std::uint32_t> m_setPool;
  std::vector<std::uint64_t> m_setHash;
  std::vector<TStateId> m_buckets;  // open addressing over m_setHash

  std::vector<std::uint32_t> m_initialSet;
  TStateId m_initial = kDead;
  std::uint64_t m_generation = 0;
  std::uint64_t m_initialGeneration = ~std::uint64_t{0};
  TStateId m_scan = kDead;
  std::uint64_t m_scanGeneration = ~std::uint64_t{0};

  // Scratch for Compute and Close.
  std::vector<std::uint32_t> m_work, m_stack, m_mark;
  std::uint32_t m_markStamp = 0;
  std::uint64_t m_computeWork = 0;
};

}  // namespace nuv
