// A canonical text of a tree for the exchange fuzzers' round-trip checks.
#pragma once

#include <string>

#include "outline/OutlineTree.h"

namespace nuv::fuzz {

// Level, title and body of every page; with `marks` also mark, label picture
// and expansion. Characters outside ASCII are masked: the duplicate codes of
// Shift JIS (the NEC-selected IBM extensions) come back from UTF-8 as the
// codes Windows writes for the same characters, and next to a stray lead byte
// that can pair the bytes differently. Every code keeps its length, and the
// ASCII that carries the structure must come back exactly.
inline std::string TreeText(const TOutlineTree& tree, bool marks) {
  std::string out;
  for (const TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNext()) {
    out += std::to_string(n->Level()) + "|" + n->Text() + "|" + (n->Data() ? n->Data()->Body() : std::string()) + "|";
    if (marks) out += std::to_string(n->ImageIndex()) + "," + std::to_string(n->StateIndex()) + (n->Expanded() ? "+" : "-");
    out += "\n";
  }
  bool afterHigh = false;
  for (char& c : out) {
    const unsigned char b = static_cast<unsigned char>(c);
    const bool high = b >= 0x80;
    if (high || (afterHigh && b >= 0x40 && b <= 0x7E)) c = '?';
    afterHigh = high;
  }
  return out;
}

}  // namespace nuv::fuzz
