// What a hierarchical-text save would change: content that the text cannot
// carry and that reads back as a different tree.
#pragma once

#include <array>
#include <string>

#include "outline/FormatOptions.h"

namespace nuv {

class IPrompts;
class TOutlineTree;
class TTreeNode;

enum class TTextRisk {
  DotLine,      // a line after the dots begins with "." (a heading, or a deeper one)
  MetaLine,     // a body line begins with "##nuv##," (read as metadata, or dropped)
  BlankEnds,    // a title begins or ends with a blank, which reading trims
  LongTitle,    // a title longer than 250 bytes, which reading cuts
};
constexpr int kTextRiskCount = 4;

struct TTextRiskFinding {
  int count = 0;      // lines of this kind
  int firstPage = 0;  // from 1 in tree order among the written pages
  int firstLine = 0;  // 0 for the title (the heading), body lines from 1
};

struct TTextSaveCheck {
  std::array<TTextRiskFinding, kTextRiskCount> risks{};
  int pages = 0;                        // pages with any such line
  const TTreeNode* firstPage = nullptr;  // the first of them
  bool Clean() const { return pages == 0; }
  const TTextRiskFinding& Risk(TTextRisk kind) const { return risks[static_cast<int>(kind)]; }
};

// Looks through what BuildText would write with the same arguments; the
// compatible and no-titles modes put a body's first line in the heading.
TTextSaveCheck CheckTextSave(const TOutlineTree& tree, bool noTitles, const TTreeNode* subtreeRoot,
                             const TFormatOptions& options);

// One line per kind found, for a command-line user: what and where (PAGE:LINE).
std::string TextSaveWarningLine(TTextRisk kind, const TTextRiskFinding& finding);

// The window's question before such a save (Shift JIS): the first page, how
// many pages, and whether to save anyway.
std::string TextSaveQuestion(const TTextSaveCheck& check);

// Checks a save and, when it would change something, asks; false when the
// user says No (the save is cancelled). A clean save asks nothing.
bool ConfirmTextSave(IPrompts& prompts, const TOutlineTree& tree, bool noTitles, const TTreeNode* subtreeRoot,
                     const TFormatOptions& options);

}  // namespace nuv
