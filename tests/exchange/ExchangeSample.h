// Documents and a canonical dump shared by the OPML, Markdown and HTML tests.
#pragma once

#include <string>
#include <vector>

#include "outline/OutlineTree.h"
#include "support/TempDir.h"

namespace nuv::test {

// One line per page: level dots, title, body with visible line ends, and
// with `marks` the mark, the label picture and "+" when expanded.
inline std::string Canon(const TOutlineTree& tree, bool marks) {
  std::string out;
  for (const TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNext()) {
    out += std::string(static_cast<std::size_t>(n->Level()), '.') + n->Text() + " |";
    if (n->Data())
      for (const char c : n->Data()->Body()) out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    if (marks) out += "| " + std::to_string(n->ImageIndex()) + "," + std::to_string(n->StateIndex()) + (n->Expanded() ? "+" : "");
    out += "\n";
  }
  return out;
}

inline TTreeNode* AddPage(TOutlineTree& tree, TTreeNode* parent, const std::string& title, const std::string& body,
                          int mark = 5, int state = -1) {
  TTreeNode* page = tree.AddChild(parent, title);
  tree.SetImageIndex(page, mark);
  tree.SetStateIndex(page, state);
  tree.EnsureData(page).SetBody(body);
  page->Data()->SetMark(mark);
  return page;
}

// Pages whose titles and bodies hold what the markup formats must escape,
// Japanese with trail bytes 0x5C and 0x7C, bytes that are no Shift JIS
// character, every mark and label, nine levels, and expanded pages both
// shown and under a collapsed parent.
inline void BuildRichDocument(TOutlineTree& tree) {
  TTreeNode* a = AddPage(tree, nullptr, Sj("表示・ソース & <tag> \"q\" 'a' ]]>"),
                         Sj("本文 ]]> & <b>x</b>\r\n\r\n  二つの空白  と\tタブ\r\n"), 1, 7);
  TTreeNode* b = AddPage(tree, a, Sj("ポ|予定表"), "", 2, 8);
  AddPage(tree, b, "leaf #", "# not a heading\r\n---\r\n", 3, 14);
  TTreeNode* c = AddPage(tree, a, "C", std::string("bytes \x80\xA0\xFD\xFF and a lone lead \x81") + "\r\n", 4, 15);
  TTreeNode* deep = c;
  for (int level = 3; level <= 9; ++level)
    deep = AddPage(tree, deep, "level " + std::to_string(level), "text at " + std::to_string(level) + "\r\n", level % 7, -1);
  TTreeNode* hidden = AddPage(tree, nullptr, "collapsed", "", 6, 9);
  TTreeNode* inner = AddPage(tree, hidden, "expanded under a collapsed parent", "x\r\n", 0, 10);
  AddPage(tree, inner, "child", "", 0, 11);
  tree.AddChild(nullptr, "no record");
  TTreeNode* trash = AddPage(tree, nullptr, Sj("ごみ箱"), "", 18, 7);
  AddPage(tree, trash, "deleted", "gone\r\n", 0, 12);
  tree.Expand(a);
  tree.Expand(b);
  tree.Expand(c);
  tree.Expand(inner);
  for (TTreeNode* n = c->GetFirstChild(); n; n = n->GetFirstChild()) tree.Expand(n);
}

}  // namespace nuv::test
