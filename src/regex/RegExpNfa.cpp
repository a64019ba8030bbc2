// Thompson construction of the automaton, over an explicit stack so that the
// depth of the tree (a long concatenation is a left-deep chain) never reaches
// the machine stack.
//
// Each node is generated between a pair of states (from, to): a leaf adds a
// transition on its range, a concatenation a middle state, a union both sides
// between the same pair, a closure two states with empty loops. "^" anchors
// only when its from-state is the entry and "$" only when its to-state is the
// exit; elsewhere each is the literal character. A node shared by "X+" is
// generated once per place it occurs.
#include "regex/RegExpNfa.h"

#include "base/Error.h"
#include "regex/RegExpError.h"
#include "regex/RegExpLimits.h"
#include "regex/RegExpTexts.h"

namespace nuv {

namespace {

struct TEdge {
  std::uint32_t From, Target;
  TWChar StartChar, EndChar;
};

void Group(const std::vector<TEdge>& edges, std::size_t stateCount, std::vector<std::uint32_t>& offsets,
           std::vector<std::uint32_t>& targets) {
  offsets.assign(stateCount + 1, 0);
  for (const TEdge& e : edges) ++offsets[e.From + 1];
  for (std::size_t s = 0; s < stateCount; ++s) offsets[s + 1] += offsets[s];
  targets.resize(edges.size());
  std::vector<std::uint32_t> fill(offsets.begin(), offsets.end() - 1);
  for (const TEdge& e : edges) targets[fill[e.From]++] = e.Target;
}

}  // namespace

std::size_t TRE_NFA::TransitionCount() const {
  return m_charEdges.size() + m_empty.targets.size() + m_lineHead.targets.size() + m_lineTail.targets.size();
}

void TRE_NFA::Run(const TREParseTree& tree) {
  std::vector<TEdge> chars, empties, heads, tails;
  std::uint32_t stateCount = 2;
  const auto newState = [&] {
    if (stateCount >= kMaxNfaStates) throw ERegExpLimit(retext::PatternTooComplex());
    return stateCount++;
  };
  const auto add = [&](std::vector<TEdge>& list, std::uint32_t from, std::uint32_t to, TWChar lo, TWChar hi) {
    if (chars.size() + empties.size() + heads.size() + tails.size() >= kMaxNfaTransitions)
      throw ERegExpLimit(retext::PatternTooComplex());
    list.push_back({from, to, lo, hi});
  };

  struct TWork {
    const RENode_t* node;
    std::uint32_t from, to;
  };
  std::vector<TWork> stack;
  if (tree.Root()) stack.push_back({tree.Root(), kEntry, kExit});
  while (!stack.empty()) {
    const TWork w = stack.back();
    stack.pop_back();
    const RENode_t* n = w.node;
    switch (n->Operation) {
      case reop_Char:
        add(chars, w.from, w.to, n->CharClass.StartChar, n->CharClass.EndChar);
        break;
      case reop_LHead:
      case reop_LTail: {
        // An anchor where it can be the first (or last) thing matched, else
        // the literal character.
        const bool head = n->Operation == reop_LHead;
        if (head ? w.from == kEntry : w.to == kExit) {
          const TWChar code = head ? kLineHeadCode : kLineTailCode;
          add(head ? heads : tails, w.from, w.to, code, code);
          (head ? m_hasLHead : m_hasLTail) = true;
        } else {
          add(chars, w.from, w.to, n->CharClass.StartChar, n->CharClass.EndChar);
        }
        break;
      }
      case reop_Concat: {
        const std::uint32_t m = newState();
        stack.push_back({n->Right, m, w.to});
        stack.push_back({n->Left, w.from, m});
        break;
      }
      case reop_Union:
        stack.push_back({n->Right, w.from, w.to});
        stack.push_back({n->Left, w.from, w.to});
        break;
      case reop_Closure: {
        const std::uint32_t c = newState();
        const std::uint32_t d = newState();
        add(empties, w.from, c, kEmptyTransitionCode, kEmptyTransitionCode);
        add(empties, d, c, kEmptyTransitionCode, kEmptyTransitionCode);
        add(empties, c, w.to, kEmptyTransitionCode, kEmptyTransitionCode);
        stack.push_back({n->Left, c, d});
        break;
      }
      case reop_Empty:
        add(empties, w.from, w.to, kEmptyTransitionCode, kEmptyTransitionCode);
        break;
      default: throw ENuvError(retext::NfaCannotHappen());
    }
  }

  m_stateCount = stateCount;
  m_charStart.assign(stateCount + 1, 0);
  for (const TEdge& e : chars) ++m_charStart[e.From + 1];
  for (std::size_t s = 0; s < stateCount; ++s) m_charStart[s + 1] += m_charStart[s];
  m_charEdges.resize(chars.size());
  std::vector<std::uint32_t> fill(m_charStart.begin(), m_charStart.end() - 1);
  for (const TEdge& e : chars) m_charEdges[fill[e.From]++] = {e.StartChar, e.EndChar, e.Target};
  Group(empties, stateCount, m_empty.offsets, m_empty.targets);
  Group(heads, stateCount, m_lineHead.offsets, m_lineHead.targets);
  Group(tails, stateCount, m_lineTail.offsets, m_lineTail.targets);
}

}  // namespace nuv
