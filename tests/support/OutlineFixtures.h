// Small documents shared by the outline tests.
#pragma once

#include <string>
#include <vector>

#include "outline/OutlineTree.h"
#include "support/TempDir.h"

namespace nuv::test {

// The worked example: Plan (mark 1, label picture 7, empty record), its child
// Step A (mark 5, label picture 8, body "first", "second") and an empty trash
// page (mark 17, label picture 7).
inline void BuildPlanExample(TOutlineTree& tree) {
  TTreeNode* plan = tree.AddChild(nullptr, "Plan");
  tree.SetImageIndex(plan, 1);
  tree.SetStateIndex(plan, 7);
  tree.EnsureData(plan).SetMark(1);
  TTreeNode* step = tree.AddChild(plan, "Step A");
  tree.SetImageIndex(step, 5);
  tree.SetStateIndex(step, 8);
  tree.EnsureData(step).SetBody("first\r\nsecond\r\n");
  step->Data()->SetMark(5);
  TTreeNode* trash = tree.AddChild(nullptr, Sj("ごみ箱"));
  tree.SetImageIndex(trash, 17);
  tree.SetStateIndex(trash, 7);
  tree.EnsureData(trash).SetMark(17);
}

// "title/child-title|..." dump of the tree in pre-order with levels as dots,
// for compact structural expectations.
inline std::string Dump(const TOutlineTree& tree) {
  std::string out;
  for (const TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNext()) {
    if (!out.empty()) out += ' ';
    out += std::string(static_cast<std::size_t>(n->Level()), '.') + n->Text();
  }
  return out;
}

// Builds a tree from "A .a1 ..x B" notation: dots give the level; each page's
// body is its title and a line break.
inline void BuildLayout(TOutlineTree& tree, const std::string& layout) {
  std::vector<TTreeNode*> stack;
  std::size_t pos = 0;
  while (pos < layout.size()) {
    std::size_t end = layout.find(' ', pos);
    if (end == std::string::npos) end = layout.size();
    std::string item = layout.substr(pos, end - pos);
    pos = end + 1;
    std::size_t level = 0;
    while (level < item.size() && item[level] == '.') ++level;
    stack.resize(level);
    TTreeNode* page = tree.AddChild(level ? stack.back() : nullptr, item.substr(level));
    tree.EnsureData(page).SetBody(item.substr(level) + "\r\n");
    stack.push_back(page);
  }
}

// The first page in tree order with the title.
inline TTreeNode* FindPage(const TOutlineTree& tree, const std::string& title) {
  for (TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNext())
    if (n->Text() == title) return n;
  return nullptr;
}

}  // namespace nuv::test
