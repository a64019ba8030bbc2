// Parse tree storage, leaf sharing and the normalisation of leaf ranges.
//
// The automaton treats each leaf range as one input symbol, so after parsing
// no two leaves may overlap. ForceCharClassUnique takes leaf i and looks for
// the first later leaf j that overlaps it; the two are cut into at most three
// pieces (below, shared, above), each overlapping leaf that is not itself a
// piece becomes a union of the pieces it covers, and the search starts again
// for the same i. Only when no later leaf overlaps leaf i does i move on.
#include "regex/RegExpParseTree.h"

#include <algorithm>
#include <utility>

#include "base/Error.h"
#include "regex/RegExpError.h"
#include "regex/RegExpLimits.h"
#include "regex/RegExpTexts.h"

namespace nuv {

RENode_t* TREParseTree::NewNode() { return &m_store.emplace_back(); }

RENode_t* TREParseTree::MakeInternalNode(REOperation_t operation, RENode_t* left, RENode_t* right) {
  RENode_t* node = NewNode();
  node->Operation = operation;
  node->Left = left;
  node->Right = right;
  m_nodeList.push_back(node);
  return node;
}

RENode_t* TREParseTree::MakeLeaf(TWChar start, TWChar end) {
  auto [it, inserted] = m_leafByRange.try_emplace(Key(start, end), nullptr);
  if (!inserted) return it->second;
  RENode_t* leaf = NewNode();
  leaf->Operation = reop_Char;
  leaf->CharClass = {start, end};
  m_leafList.push_back(leaf);
  it->second = leaf;
  return leaf;
}

RENode_t* TREParseTree::Check_and_MakeLeaf(TWChar start, TWChar end) {
  return end < start ? nullptr : MakeLeaf(start, end);
}

RENode_t* TREParseTree::MakeLHeadNode(TWChar c) {
  RENode_t* node = MakeInternalNode(reop_LHead, nullptr, nullptr);
  node->CharClass = {c, c};
  return node;
}

RENode_t* TREParseTree::MakeLTailNode(TWChar c) {
  RENode_t* node = MakeInternalNode(reop_LTail, nullptr, nullptr);
  node->CharClass = {c, c};
  return node;
}

RENode_t* TREParseTree::MakeAnyCharsNode() {
  RENode_t* lfToCr = MakeLeaf(11, 12);
  RENode_t* belowLf = MakeLeaf(1, 9);
  RENode_t* aboveCr = MakeLeaf(14, kHighestSjisCode);
  return MakeInternalNode(reop_Union, MakeInternalNode(reop_Union, belowLf, lfToCr), aboveCr);
}

void TREParseTree::ChangeLeaftoNode(RENode_t* leaf, RENode_t* left, RENode_t* right) {
  if (!left || !right) throw ENuvError(retext::TreeFatal());
  m_leafByRange.erase(Key(leaf->CharClass.StartChar, leaf->CharClass.EndChar));
  m_leafList.erase(std::find(m_leafList.begin(), m_leafList.end(), leaf));
  leaf->Operation = reop_Union;
  leaf->Left = left;
  leaf->Right = right;
  m_nodeList.push_back(leaf);
}

void TREParseTree::SplitLeaves(RENode_t* a, RENode_t* b) {
  if (b->CharClass.StartChar < a->CharClass.StartChar) std::swap(a, b);
  const unsigned s1 = a->CharClass.StartChar, e1 = a->CharClass.EndChar;
  const unsigned s2 = b->CharClass.StartChar, e2 = b->CharClass.EndChar;
  const unsigned lo = std::min(e1, e2), hi = std::max(e1, e2);
  RENode_t* below = s1 < s2 ? MakeLeaf(static_cast<TWChar>(s1), static_cast<TWChar>(s2 - 1)) : nullptr;
  RENode_t* shared = MakeLeaf(static_cast<TWChar>(s2), static_cast<TWChar>(lo));
  RENode_t* above = lo < hi ? MakeLeaf(static_cast<TWChar>(lo + 1), static_cast<TWChar>(hi)) : nullptr;
  // The pieces each leaf covers, in ascending order.
  const auto rebuild = [&](RENode_t* leaf, bool coversBelow, bool coversAbove) {
    std::vector<RENode_t*> pieces;
    if (coversBelow && below) pieces.push_back(below);
    pieces.push_back(shared);
    if (coversAbove && above) pieces.push_back(above);
    if (pieces.size() == 1 && pieces[0] == leaf) return;
    if (pieces.size() == 3) {
      ChangeLeaftoNode(leaf, MakeInternalNode(reop_Union, pieces[0], pieces[1]), pieces[2]);
    } else {
      ChangeLeaftoNode(leaf, pieces[0], pieces.size() > 1 ? pieces[1] : nullptr);
    }
  };
  rebuild(a, true, e1 == hi && lo < hi);
  rebuild(b, false, e2 == hi && lo < hi);
}

bool TREParseTree::AnyLeavesOverlap() const {
  std::vector<RECharClass_t> ranges;
  ranges.reserve(m_leafList.size());
  for (const RENode_t* leaf : m_leafList) ranges.push_back(leaf->CharClass);
  std::sort(ranges.begin(), ranges.end(),
            [](const RECharClass_t& x, const RECharClass_t& y) { return x.StartChar < y.StartChar; });
  for (std::size_t i = 1; i < ranges.size(); ++i)
    if (ranges[i].StartChar <= ranges[i - 1].EndChar) return true;
  return false;
}

void TREParseTree::ForceCharClassUnique() {
  // The pairwise search below is quadratic; most patterns have no overlap at all.
  if (!AnyLeavesOverlap()) return;
  std::size_t i = 0, work = 0;
  while (i < m_leafList.size()) {
    bool split = false;
    work += m_leafList.size() - i;
    if (work > kMaxLeafWork) throw ERegExpLimit(retext::PatternTooComplex());
    for (std::size_t j = i + 1; j < m_leafList.size(); ++j) {
      RENode_t* a = m_leafList[i];
      RENode_t* b = m_leafList[j];
      if (a->CharClass.StartChar <= b->CharClass.EndChar && b->CharClass.StartChar <= a->CharClass.EndChar) {
        SplitLeaves(a, b);
        split = true;
        break;
      }
    }
    if (!split) ++i;
  }
}

void TREParseTree::DisposeTree() {
  m_root = nullptr;
  m_nodeList.clear();
  m_leafList.clear();
  m_leafByRange.clear();
  m_store.clear();
}

namespace {

void AppendChar(std::string& out, TWChar c) {
  static const char kHex[] = "0123456789abcdef";
  const bool printable = (c >= 0x21 && c <= 0x7E) || (c >= 0xA1 && c <= 0xDF) || (c >= 0x8140 && c <= kHighestSjisCode);
  if (!printable) {
    out += "\\x{";
    bool started = false;
    for (int shift = 12; shift >= 0; shift -= 4) {
      const unsigned digit = (c >> shift) & 0xF;
      if (digit || started || shift == 0) {
        out += kHex[digit];
        started = true;
      }
    }
    out += '}';
    return;
  }
  if (c == '{' || c == '}' || c == ',' || c == '-' || c == '\\') out += '\\';
  out += WCharToStr(c);
}

}  // namespace

std::string DumpTree(const RENode_t* root) {
  if (!root) return "null";
  std::string out;
  // Each entry is a node still to write, or a literal text to append (node null).
  struct TItem {
    const RENode_t* node;
    const char* text;
  };
  std::vector<TItem> stack{{root, nullptr}};
  while (!stack.empty()) {
    const TItem item = stack.back();
    stack.pop_back();
    if (!item.node) {
      out += item.text;
      continue;
    }
    const RENode_t* n = item.node;
    switch (n->Operation) {
      case reop_Char:
        if (n->CharClass.StartChar == n->CharClass.EndChar) {
          out += "lit{";
          AppendChar(out, n->CharClass.StartChar);
        } else {
          out += "cc{";
          AppendChar(out, n->CharClass.StartChar);
          out += '-';
          AppendChar(out, n->CharClass.EndChar);
        }
        out += '}';
        break;
      case reop_LHead: out += "bol{}"; break;
      case reop_LTail: out += "eol{}"; break;
      case reop_Empty: out += "empty{}"; break;
      case reop_Closure:
        out += "star{";
        stack.push_back({nullptr, "}"});
        stack.push_back({n->Left, nullptr});
        break;
      case reop_Concat:
      case reop_Union:
        out += n->Operation == reop_Concat ? "cat{" : "alt{";
        stack.push_back({nullptr, "}"});
        stack.push_back({n->Right, nullptr});
        stack.push_back({nullptr, ","});
        stack.push_back({n->Left, nullptr});
        break;
    }
  }
  return out;
}

}  // namespace nuv
