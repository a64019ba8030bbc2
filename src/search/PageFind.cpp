// Find over pages.
//
// A page is searched as the hidden editor of the find dialog searches it: the
// title first, then the body (or its linked file) as one text, so a pattern
// may match across a line break. Listing every hit goes line by line, as the
// editor's find next does.
#include "search/PageFind.h"

#include "base/Sjis.h"
#include "outline/NodeData.h"
#include "outline/PageSwitch.h"

namespace nuv {

namespace {

bool HasHit(std::string_view text, ITextMatcher& matcher) {
  std::size_t start = 0, length = 0;
  matcher.SetText(text);
  return matcher.Find(0, start, length);
}

}  // namespace

TSearchBody SearchBodyOf(const TTreeNode& page, const std::string& documentPath) {
  TSearchBody body;
  const TNodeData* data = page.Data();
  if (!data) return body;
  body.linkPath = DirectLinkPath(data->Body(), documentPath);
  if (body.linkPath.empty()) {
    body.text = data->Body();
  } else {
    body.readable = ReadLinkedFile(body.linkPath, body.text);
  }
  return body;
}

TFindAllResult FindAll(const std::vector<TTreeNode*>& pages, ITextMatcher& matcher, const std::string& documentPath) {
  TFindAllResult result;
  for (TTreeNode* page : pages) {
    if (HasHit(page->Text(), matcher)) {
      result.pages.push_back(page->Id());
      continue;
    }
    const TSearchBody body = SearchBodyOf(*page, documentPath);
    if (!body.readable) {
      result.unreadableLinks.push_back(body.linkPath);
      continue;
    }
    if (!body.text.empty() && HasHit(body.text, matcher)) result.pages.push_back(page->Id());
  }
  return result;
}

void ForEachHit(std::string_view text, int firstLine, ITextMatcher& matcher,
                const std::function<void(const TPageHit&)>& hit) {
  int line = firstLine;
  std::size_t lineStart = 0;
  while (lineStart < text.size()) {
    std::size_t lineEnd = text.find_first_of("\r\n", lineStart);
    if (lineEnd == std::string_view::npos) lineEnd = text.size();
    const std::string_view row = text.substr(lineStart, lineEnd - lineStart);
    matcher.SetText(row);
    std::size_t from = 0;
    while (from <= row.size()) {
      std::size_t start = 0, length = 0;
      if (!matcher.Find(from, start, length) || start > row.size()) break;
      hit(TPageHit{line, start, length});
      // An empty hit would be found again at the same place: step over one character.
      from = start + length;
      if (length == 0) {
        if (start >= row.size()) break;
        from = start + CharLength(row, start);
      }
    }
    ++line;
    // One line end: CR LF, CR or LF.
    if (lineEnd < text.size() && text[lineEnd] == '\r' && lineEnd + 1 < text.size() && text[lineEnd + 1] == '\n')
      ++lineEnd;
    lineStart = lineEnd + 1;
  }
}

}  // namespace nuv
