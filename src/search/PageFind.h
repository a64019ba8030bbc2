// Find over pages: which pages of a range hold a hit, and every hit of a page.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "outline/OutlineTree.h"
#include "search/TextMatcher.h"

namespace nuv {

// The text a find searches as a page's body: the body, or the text of the
// file it links to directly.
struct TSearchBody {
  std::string text;
  std::string linkPath;  // the linked file, when the body is a direct link
  bool readable = true;  // false when the linked file could not be read
};
TSearchBody SearchBodyOf(const TTreeNode& page, const std::string& documentPath);

struct TFindAllResult {
  std::vector<TNodeId> pages;                 // pages with a hit, each once, in range order
  std::vector<std::string> unreadableLinks;   // linked files passed over
};

// The pages of `pages` whose title or body holds a hit. A page without a
// record is searched by its title; a linked file that cannot be read is
// passed over and reported.
TFindAllResult FindAll(const std::vector<TTreeNode*>& pages, ITextMatcher& matcher, const std::string& documentPath);

// One hit: LINE 0 is the title, otherwise the logical line of the body from 1;
// column and length in bytes, the column from 0.
struct TPageHit {
  int line = 0;
  std::size_t column = 0;
  std::size_t length = 0;
};

// Every hit of one text, line by line, in text order: hits do not overlap and
// after an empty hit the search moves on by one character. `firstLine` is the
// number of the text's first line.
void ForEachHit(std::string_view text, int firstLine, ITextMatcher& matcher, const std::function<void(const TPageHit&)>& hit);

}  // namespace nuv
