// Recursive-descent parser with one token of look-ahead. Each parse function
// carries its rule; only parentheses nest the recursion, and their depth is
// bounded, so long concatenations and alternations loop instead of recursing.
#include "regex/RegExpParser.h"

#include <vector>

#include "regex/RegExpError.h"
#include "regex/RegExpLimits.h"
#include "regex/RegExpTexts.h"

namespace nuv {

TREParser::TREParser(std::string_view pattern) : m_scanner(pattern) {}

// Pattern := Regexp end
void TREParser::Run() {
  if (m_scanner.Text().size() > kMaxPatternLength) throw ERegExpParser(retext::PatternTooLong(), 1);
  Next();
  RENode_t* root = Regexp();
  if (Token() != retk_End) m_scanner.Fail(retext::ExtraChars());
  m_tree.SetRoot(root);
  // A "^" or "$" that is not an anchor is matched as a character, so its
  // range must be cut out of every other leaf like any member's.
  bool hasHead = false, hasTail = false;
  for (const RENode_t* node : m_tree.Nodes()) {
    hasHead = hasHead || node->Operation == reop_LHead;
    hasTail = hasTail || node->Operation == reop_LTail;
  }
  if (hasHead) m_tree.MakeLeaf('^', '^');
  if (hasTail) m_tree.MakeLeaf('$', '$');
  m_tree.ForceCharClassUnique();
}

// Regexp := term { "|" term }
RENode_t* TREParser::Regexp() {
  RENode_t* x = Term();
  while (Token() == retk_Union) {
    Next();
    x = m_tree.MakeInternalNode(reop_Union, x, Term());
  }
  return x;
}

// term := empty | factor { factor }   (ends at "|", ")" or the end)
RENode_t* TREParser::Term() {
  const auto ends = [this] { return Token() == retk_Union || Token() == retk_RPar || Token() == retk_End; };
  if (ends()) return m_tree.MakeInternalNode(reop_Empty, nullptr, nullptr);
  RENode_t* x = Factor();
  while (!ends()) x = m_tree.MakeInternalNode(reop_Concat, x, Factor());
  return x;
}

// factor := primary [ "*" | "+" | "?" ]
RENode_t* TREParser::Factor() {
  RENode_t* x = Primary();
  switch (Token()) {
    case retk_Star:
      Next();
      return m_tree.MakeInternalNode(reop_Closure, x, nullptr);
    case retk_Plus:
      Next();
      return m_tree.MakeInternalNode(reop_Concat, x, m_tree.MakeInternalNode(reop_Closure, x, nullptr));
    case retk_QMark:
      Next();
      return m_tree.MakeInternalNode(reop_Union, x, m_tree.MakeInternalNode(reop_Empty, nullptr, nullptr));
    default: return x;
  }
}

// primary := char | "(" Regexp ")" | "[" class "]" | "[^" class "]" | "." | "^" | "$"
RENode_t* TREParser::Primary() {
  RENode_t* x = nullptr;
  switch (Token()) {
    case retk_Char:
      x = m_tree.MakeLeaf(m_scanner.Char(), m_scanner.Char());
      Next();
      return x;
    case retk_LPar:
      if (++m_depth > kMaxNestingDepth) m_scanner.Fail(retext::NestingTooDeep());
      Next();
      x = Regexp();
      if (Token() != retk_RPar) m_scanner.Fail(retext::NeedRightParen());
      --m_depth;
      Next();
      return x;
    case retk_LBra:
      Next();
      return CharacterClass();
    case retk_LBraNeg:
      Next();
      return NegativeCharacterClass();
    case retk_Dot:
      Next();
      return m_tree.MakeAnyCharsNode();
    case retk_LHead:
      Next();
      return m_tree.MakeLHeadNode('^');
    case retk_LTail:
      Next();
      return m_tree.MakeLTailNode('$');
    default: m_scanner.Fail(retext::NeedCharOrLeftParen());
  }
}

namespace {
// The leaves of the members up to "]", joined by unions to the left; the
// closing bracket is consumed.
RENode_t* ParseMembers(TREScanner& scanner, TREParseTree& tree) {
  if (scanner.Token() == retk_RBra) scanner.Fail(retext::BadCharClass());
  RENode_t* x = nullptr;
  while (scanner.Token() != retk_RBra) {
    const TWChar last = scanner.Token() == retk_CharClass ? scanner.LastChar() : scanner.Char();
    RENode_t* leaf = tree.MakeLeaf(scanner.Char(), last);
    x = x ? tree.MakeInternalNode(reop_Union, x, leaf) : leaf;
    scanner.GetToken();
  }
  scanner.GetToken();
  return x;
}
}  // namespace

// class := member { member } "]"     member := char | char "-" char
RENode_t* TREParser::CharacterClass() { return ParseMembers(m_scanner, m_tree); }

// negated class := member { member } "]": every code "." matches, less the members
RENode_t* TREParser::NegativeCharacterClass() {
  TREParseTree members;
  members.SetRoot(ParseMembers(m_scanner, members));
  members.ForceCharClassUnique();
  TREParseTree anyChars;
  anyChars.MakeAnyCharsNode();
  std::vector<RECharClass_t> pieces;
  for (const RENode_t* leaf : anyChars.Leaves()) pieces.push_back(leaf->CharClass);
  std::size_t work = 0;
  for (const RENode_t* member : members.Leaves()) {
    work += pieces.size();
    if (work > kMaxLeafWork) throw ERegExpLimit(retext::PatternTooComplex());
    const unsigned ms = member->CharClass.StartChar, me = member->CharClass.EndChar;
    std::vector<RECharClass_t> kept, remainders;
    for (const RECharClass_t& piece : pieces) {
      if (piece.EndChar < ms || piece.StartChar > me) {
        kept.push_back(piece);
        continue;
      }
      if (piece.StartChar < ms) remainders.push_back({piece.StartChar, static_cast<TWChar>(ms - 1)});
      if (piece.EndChar > me) remainders.push_back({static_cast<TWChar>(me + 1), piece.EndChar});
    }
    kept.insert(kept.end(), remainders.begin(), remainders.end());
    pieces = std::move(kept);
  }
  // A class that excludes every character matches nothing, rather than the
  // empty string.
  if (pieces.empty()) return m_tree.MakeLeaf(kNeverChar, kNeverChar);
  RENode_t* x = nullptr;
  for (const RECharClass_t& piece : pieces) {
    RENode_t* leaf = m_tree.Check_and_MakeLeaf(piece.StartChar, piece.EndChar);
    x = x ? m_tree.MakeInternalNode(reop_Union, x, leaf) : leaf;
  }
  return x;
}

}  // namespace nuv
