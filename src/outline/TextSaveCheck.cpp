// The hierarchical-text save check.
//
// It follows the writer line by line: a heading is the dots and the title (or,
// in the compatible and no-titles modes, the body's first line), then the
// body lines split at CR LF, CR and LF. The reader turns a heading's text
// into a title by trimming bytes up to 0x20 and cutting it to 250 bytes, takes
// any line beginning with "." as a heading, and takes a line beginning with
// "##nuv##," as metadata (after a heading) or drops it (elsewhere).
#include "outline/TextSaveCheck.h"

#include <cstdio>

#include "base/Prompts.h"
#include "base/Title.h"
#include "outline/OutlineTexts.h"
#include "outline/OutlineTree.h"

namespace nuv {

namespace {

constexpr std::string_view kMetaPrefix = "##nuv##,";

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

class TChecker {
 public:
  explicit TChecker(TTextSaveCheck& check) : m_check(check) {}

  void StartPage(const TTreeNode* page, int number) {
    m_page = page;
    m_number = number;
    m_pageCounted = false;
  }
  void Heading(std::string_view text) {
    if (!text.empty() && text[0] == '.') Found(TTextRisk::DotLine, 0);
    if (!text.empty() && (IsBlank(text.front()) || IsBlank(text.back()))) Found(TTextRisk::BlankEnds, 0);
    if (text.size() > kMaxTitleBytes) Found(TTextRisk::LongTitle, 0);
  }
  void BodyLine(std::string_view line, int lineNumber) {
    if (!line.empty() && line[0] == '.') Found(TTextRisk::DotLine, lineNumber);
    if (line.substr(0, kMetaPrefix.size()) == kMetaPrefix) Found(TTextRisk::MetaLine, lineNumber);
  }

 private:
  void Found(TTextRisk kind, int line) {
    TTextRiskFinding& f = m_check.risks[static_cast<int>(kind)];
    if (f.count++ == 0) {
      f.firstPage = m_number;
      f.firstLine = line;
    }
    if (m_pageCounted) return;
    m_pageCounted = true;
    if (m_check.pages++ == 0) m_check.firstPage = m_page;
  }

  TTextSaveCheck& m_check;
  const TTreeNode* m_page = nullptr;
  int m_number = 0;
  bool m_pageCounted = false;
};

// Calls `visit(line)` for each line the writer makes of a body.
template <typename F>
void ForEachBodyLine(std::string_view body, F visit) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] != '\r' && body[i] != '\n') continue;
    visit(body.substr(start, i - start));
    if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < body.size()) visit(body.substr(start));
}

}  // namespace

TTextSaveCheck CheckTextSave(const TOutlineTree& tree, bool noTitles, const TTreeNode* subtreeRoot,
                             const TFormatOptions& options) {
  TTextSaveCheck check;
  TChecker checker(check);
  const TTreeNode* start = subtreeRoot ? subtreeRoot : tree.GetFirstNode();
  const TTreeNode* end = subtreeRoot ? NextAfterSubtree(subtreeRoot) : nullptr;
  const bool headingCarriesBody = options.PirkaCompatible || noTitles;
  int number = 0;
  for (const TTreeNode* page = start; page && page != end; page = page->GetNext()) {
    checker.StartPage(page, ++number);
    const std::string_view body = page->Data() ? std::string_view(page->Data()->Body()) : std::string_view();
    int line = 0;
    if (!headingCarriesBody) checker.Heading(page->Text());
    ForEachBodyLine(body, [&](std::string_view text) {
      ++line;
      if (headingCarriesBody && line == 1) {
        checker.Heading(text);
        return;
      }
      checker.BodyLine(text, line);
    });
  }
  return check;
}

std::string TextSaveWarningLine(TTextRisk kind, const TTextRiskFinding& finding) {
  static const char* const kWhat[kTextRiskCount] = {
      "begin with \".\" and read back as headings",
      "begin with \"##nuv##,\" and read back as metadata or not at all",
      "begin or end with a blank that reading back trims",
      "are longer than 250 bytes and read back cut",
  };
  const bool titles = kind == TTextRisk::BlankEnds || kind == TTextRisk::LongTitle;
  char line[256];
  std::snprintf(line, sizeof line, "%d %s %s; first at %d:%d", finding.count,
                titles ? "title(s)" : "line(s)", kWhat[static_cast<int>(kind)], finding.firstPage, finding.firstLine);
  return line;
}

std::string TextSaveQuestion(const TTextSaveCheck& check) {
  const std::string title = check.firstPage ? check.firstPage->Text() : std::string();
  return FormatMessageText(texts::AskTextSaveChanges().c_str(), title.c_str(), check.pages);
}

bool ConfirmTextSave(IPrompts& prompts, const TOutlineTree& tree, bool noTitles, const TTreeNode* subtreeRoot,
                     const TFormatOptions& options) {
  const TTextSaveCheck check = CheckTextSave(tree, noTitles, subtreeRoot, options);
  return check.Clean() || prompts.Question(TextSaveQuestion(check), true);
}

}  // namespace nuv
