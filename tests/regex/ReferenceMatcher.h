// A slow matcher kept for tests only: it builds its own automaton from the
// parse tree and simulates it on sets of states, trying the starts exactly as
// the matching procedures are written (every start, walking until no state is
// left), with no deterministic states, caches, skipping or memo. The engine is
// checked against it.
#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Sjis.h"
#include "regex/RegExpParser.h"

namespace nuv::test {

class TReferenceMatcher {
 public:
  // Parses the (already processed) pattern; raises what the parser raises.
  explicit TReferenceMatcher(std::string_view pattern) {
    TREParser parser(pattern);
    parser.Run();
    m_states.resize(2);
    Generate(parser.ParseTree().Root(), 0, 1);
  }

  bool HasLHead() const { return m_hasLHead; }
  bool HasLTail() const { return m_hasLTail; }

  // The match as TAWKStr chooses it: {start, end} byte offsets, or nullopt.
  std::optional<std::pair<std::size_t, std::size_t>> Match(std::string_view text) const {
    text = text.substr(0, text.find('\0'));
    return m_hasLHead || m_hasLTail ? MatchEX(text) : MatchStd(text);
  }

 private:
  enum TKind { kChar, kEmpty, kHead, kTail };
  struct TEdge {
    TKind kind;
    unsigned lo, hi;
    int to;
  };
  using TSet = std::set<int>;
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  int NewState() {
    m_states.emplace_back();
    return static_cast<int>(m_states.size() - 1);
  }
  void Generate(const RENode_t* n, int from, int to) {
    switch (n->Operation) {
      case reop_Char: m_states[from].push_back({kChar, n->CharClass.StartChar, n->CharClass.EndChar, to}); break;
      case reop_LHead:
      case reop_LTail: {
        const bool head = n->Operation == reop_LHead;
        if (head ? from == 0 : to == 1) {
          m_states[from].push_back({head ? kHead : kTail, 0, 0, to});
          (head ? m_hasLHead : m_hasLTail) = true;
        } else {
          m_states[from].push_back({kChar, n->CharClass.StartChar, n->CharClass.EndChar, to});
        }
        break;
      }
      case reop_Concat: {
        const int m = NewState();
        Generate(n->Left, from, m);
        Generate(n->Right, m, to);
        break;
      }
      case reop_Union:
        Generate(n->Left, from, to);
        Generate(n->Right, from, to);
        break;
      case reop_Closure: {
        const int c = NewState(), d = NewState();
        m_states[from].push_back({kEmpty, 0, 0, c});
        Generate(n->Left, c, d);
        m_states[d].push_back({kEmpty, 0, 0, c});
        m_states[c].push_back({kEmpty, 0, 0, to});
        break;
      }
      case reop_Empty: m_states[from].push_back({kEmpty, 0, 0, to}); break;
    }
  }

  TSet Close(TSet set) const {
    std::vector<int> stack(set.begin(), set.end());
    while (!stack.empty()) {
      const int q = stack.back();
      stack.pop_back();
      for (const TEdge& e : m_states[q])
        if (e.kind == kEmpty && set.insert(e.to).second) stack.push_back(e.to);
    }
    return set;
  }
  TSet Step(const TSet& set, TKind kind, unsigned code) const {
    TSet next;
    for (const int q : set)
      for (const TEdge& e : m_states[q])
        if (e.kind == kind && (kind != kChar || (e.lo <= code && code <= e.hi))) next.insert(e.to);
    return next.empty() ? next : Close(next);
  }
  bool HasTail(const TSet& set) const { return !Step(set, kTail, 0).empty(); }
  TSet Initial() const { return Close({0}); }

  static std::size_t Len(std::string_view t, std::size_t p) { return CharLength(t, p); }
  static unsigned Code(std::string_view t, std::size_t p) {
    const unsigned lead = static_cast<unsigned char>(t[p]);
    return Len(t, p) == 1 ? lead : lead << 8 | static_cast<unsigned char>(t[p + 1]);
  }

  std::size_t MatchInside(std::string_view text, std::size_t pos, TSet set, bool anchors) const {
    if (set.empty()) return kNone;
    std::size_t recorded = kNone;
    unsigned stopCode = 0;
    for (;;) {
      if (set.count(1)) recorded = pos;
      if (pos == text.size()) break;
      const unsigned code = Code(text, pos);
      TSet next = Step(set, kChar, code);
      if (next.empty()) {
        stopCode = code;
        break;
      }
      set = std::move(next);
      pos += Len(text, pos);
    }
    if (anchors && (pos == text.size() || stopCode == 13) && HasTail(set)) return pos;
    return recorded;
  }
  std::size_t MatchHead(std::string_view text, std::size_t pos) const {
    if (!m_hasLHead) return MatchInside(text, pos, Initial(), true);
    const std::size_t a = MatchInside(text, pos, Step(Initial(), kHead, 0), true);
    if (a == kNone) return kNone;
    const std::size_t b = MatchInside(text, pos, Initial(), true);
    return b != kNone && b >= a ? b : a;
  }
  std::optional<std::pair<std::size_t, std::size_t>> MatchStd(std::string_view text) const {
    if (text.empty() && Initial().count(1)) return std::make_pair(std::size_t{0}, std::size_t{0});
    for (std::size_t p = 0; p < text.size(); p += Len(text, p)) {
      const std::size_t end = MatchInside(text, p, Initial(), false);
      if (end != kNone) return std::make_pair(p, end);
    }
    return std::nullopt;
  }
  std::optional<std::pair<std::size_t, std::size_t>> MatchEX(std::string_view text) const {
    std::size_t end = MatchHead(text, 0);
    if (end != kNone) return std::make_pair(std::size_t{0}, end);
    for (std::size_t p = 0; p < text.size(); p += Len(text, p)) {
      end = MatchInside(text, p, Initial(), true);
      if (end != kNone) return std::make_pair(p, end);
      if (text[p] == '\n' && m_hasLHead) {
        end = MatchHead(text, p + 1);
        if (end != kNone) return std::make_pair(p + 1, end);
      }
    }
    if (m_hasLTail && HasTail(Initial())) return std::make_pair(text.size(), text.size());
    // Sound behaviour: at a line head at the very end (an empty text) the
    // unanchored match is tried too, as it is at every other line head.
    if (text.empty() && m_hasLHead && Initial().count(1)) return std::make_pair(std::size_t{0}, std::size_t{0});
    return std::nullopt;
  }

  std::vector<std::vector<TEdge>> m_states;
  bool m_hasLHead = false;
  bool m_hasLTail = false;
};

}  // namespace nuv::test
