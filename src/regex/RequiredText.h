// A fixed text that every match of a parse tree contains, found so that a
// search can reject a line that lacks it with one fast substring search.
#pragma once

#include <string>

#include "regex/RegExpParseTree.h"

namespace nuv {

struct TRequiredText {
  // The Shift JIS bytes of a run of characters every match contains (empty
  // when nothing is known, for example when the tree can match the empty string).
  std::string text;
  // Whether the tree matches exactly that text and nothing else.
  bool whole = false;
};
TRequiredText RequiredText(const RENode_t* root);

}  // namespace nuv
