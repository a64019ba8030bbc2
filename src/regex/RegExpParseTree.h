// The parse tree of a pattern: internal nodes and leaves, where each leaf is a
// range of wide characters and equal ranges share one leaf (so the tree is a
// directed acyclic graph).
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "regex/WChar.h"

namespace nuv {

struct RECharClass_t {
  TWChar StartChar = 0;
  TWChar EndChar = 0;
};

enum REOperation_t {
  reop_Char,     // a leaf: one character in a range
  reop_LHead,    // line head
  reop_LTail,    // line tail
  reop_Concat,
  reop_Union,
  reop_Closure,  // zero or more; only Left is used
  reop_Empty,    // the empty string
};

struct RENode_t {
  REOperation_t Operation = reop_Empty;
  RENode_t* Left = nullptr;
  RENode_t* Right = nullptr;
  // The range of a leaf; "^" or "$" for the anchors, used where they are
  // literal characters.
  RECharClass_t CharClass;
};

// The highest Shift JIS code; "." and negated classes never go beyond it.
constexpr TWChar kHighestSjisCode = 0xFCFC;
// A code no text can hold (text codes end at 0xFCFC): a leaf on it never
// matches.
constexpr TWChar kNeverChar = 0xFFFC;

class TREParseTree {
 public:
  TREParseTree() = default;
  TREParseTree(const TREParseTree&) = delete;
  TREParseTree& operator=(const TREParseTree&) = delete;

  RENode_t* MakeInternalNode(REOperation_t operation, RENode_t* left, RENode_t* right);
  // The leaf of the range, created (at the end of the leaf list) when new.
  RENode_t* MakeLeaf(TWChar start, TWChar end);
  // No leaf (nullptr) when end < start.
  RENode_t* Check_and_MakeLeaf(TWChar start, TWChar end);
  RENode_t* MakeLHeadNode(TWChar c);
  RENode_t* MakeLTailNode(TWChar c);
  // Every code from 1 to 0xFCFC except line feed and carriage return.
  RENode_t* MakeAnyCharsNode();
  // Turns a leaf into a union of two nodes, moving it to the internal nodes.
  void ChangeLeaftoNode(RENode_t* leaf, RENode_t* left, RENode_t* right);
  // Splits overlapping leaves until every two leaves are equal or disjoint.
  void ForceCharClassUnique();
  void DisposeTree();

  RENode_t* Root() const { return m_root; }
  void SetRoot(RENode_t* root) { m_root = root; }
  const std::vector<RENode_t*>& Leaves() const { return m_leafList; }
  const std::vector<RENode_t*>& Nodes() const { return m_nodeList; }

 private:
  RENode_t* NewNode();
  static std::uint32_t Key(TWChar start, TWChar end) { return std::uint32_t{start} << 16 | end; }
  // Splits the overlapping leaves i and j of the leaf list.
  void SplitLeaves(RENode_t* a, RENode_t* b);
  bool AnyLeavesOverlap() const;

  std::deque<RENode_t> m_store;  // owns every node; addresses stay put
  std::vector<RENode_t*> m_nodeList;
  std::vector<RENode_t*> m_leafList;
  std::unordered_map<std::uint32_t, RENode_t*> m_leafByRange;
  RENode_t* m_root = nullptr;
};

// A canonical text of the tree for tests and diagnostics, for example
// "cat{lit{a},star{cc{0-9}}}". Characters are written as their bytes, except
// control and other unprintable codes as \x{hex} and "{},-\" with a backslash.
std::string DumpTree(const RENode_t* root);

}  // namespace nuv
