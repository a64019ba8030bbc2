// The recursive-descent parser that turns a pattern into a TREParseTree.
#pragma once

#include <string>
#include <string_view>

#include "regex/RegExpParseTree.h"
#include "regex/RegExpScanner.h"

namespace nuv {

class TREParser {
 public:
  explicit TREParser(std::string_view pattern);

  // Builds the tree; raises ERegExpParser on a syntax error or when the
  // pattern exceeds the length or nesting limits.
  void Run();
  TREParseTree& ParseTree() { return m_tree; }

 private:
  RENode_t* Regexp();
  RENode_t* Term();
  RENode_t* Factor();
  RENode_t* Primary();
  RENode_t* CharacterClass();
  RENode_t* NegativeCharacterClass();
  void Next() { m_scanner.GetToken(); }
  REToken_t Token() const { return m_scanner.Token(); }

  TREScanner m_scanner;
  TREParseTree m_tree;
  int m_depth = 0;
};

}  // namespace nuv
