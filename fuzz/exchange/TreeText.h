// A canonical text of a tree for the exchange fuzzers' round-trip checks.
#pragma once

#include <string>

#include "exchange/MarkupText.h"
#include "outline/OutlineTree.h"

namespace nuv::fuzz {

// Level, title and body of every page; with `marks` also mark, label picture
// and expansion. With `viaUtf8` each title and body is taken once through
// UTF-8 and back, as a written file takes it: the duplicate codes of Shift
// JIS (the NEC-selected IBM extensions) come back as the codes Windows writes
// for the same characters.
inline std::string TreeText(const TOutlineTree& tree, bool marks, bool viaUtf8) {
  auto text = [&](const std::string& s) { return viaUtf8 ? Utf8ToSjis(ToUtf8(s), true, 1, nullptr).value_or("?") : s; };
  std::string out;
  for (const TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNext()) {
    out += std::to_string(n->Level()) + "|" + text(n->Text()) + "|" + text(n->Data() ? n->Data()->Body() : std::string()) + "|";
    if (marks) out += std::to_string(n->ImageIndex()) + "," + std::to_string(n->StateIndex()) + (n->Expanded() ? "+" : "-");
    out += "\n";
  }
  return out;
}

}  // namespace nuv::fuzz
