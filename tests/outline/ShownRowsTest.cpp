// The rows of a tree view against a plain walk of the tree, after every
// kind of change and at several distances between the kept marks.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "outline/ShownRows.h"
#include "support/OutlineFixtures.h"

namespace nuv::test {
namespace {

// The pages shown, found without TTreeNode::GetNextVisible: every page in
// tree order whose ancestors are all expanded.
std::vector<TTreeNode*> ShownByWalk(const TOutlineTree& tree) {
  std::vector<TTreeNode*> shown;
  for (TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNext()) {
    bool visible = true;
    for (const TTreeNode* a = n->Parent(); a; a = a->Parent()) visible = visible && a->Expanded();
    if (visible) shown.push_back(n);
  }
  return shown;
}

// Every row and every page, both ways.
void ExpectRowsMatch(const TOutlineTree& tree, TShownRows& rows, const std::string& step) {
  SCOPED_TRACE(step + " (stride " + std::to_string(rows.Stride()) + ")");
  const std::vector<TTreeNode*> shown = ShownByWalk(tree);
  ASSERT_EQ(rows.Count(), static_cast<int>(shown.size()));
  for (int row = 0; row < rows.Count(); ++row) {
    ASSERT_EQ(rows.At(row), shown[static_cast<std::size_t>(row)]) << "row " << row;
    ASSERT_EQ(rows.RowOf(shown[static_cast<std::size_t>(row)]), row) << "row " << row;
  }
  EXPECT_EQ(rows.At(-1), nullptr);
  EXPECT_EQ(rows.At(rows.Count()), nullptr);
  EXPECT_EQ(rows.RowOf(nullptr), -1);
  for (TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNext())
    if (std::find(shown.begin(), shown.end(), n) == shown.end()) {
      ASSERT_EQ(rows.RowOf(n), -1) << n->Text();
      ASSERT_NE(TShownRows::ShownAncestor(n), n);
      ASSERT_EQ(rows.RowOf(TShownRows::ShownAncestor(n)) >= 0, true) << n->Text();
    }
}

TEST(ShownRowsTest, FollowsExpansionInsertRemoveMoveAndSort) {
  const struct {
    const char* name;
    std::function<void(TOutlineTree&)> change;
  } steps[] = {
      {"all collapsed", [](TOutlineTree&) {}},
      {"expand A", [](TOutlineTree& t) { t.Expand(FindPage(t, "A")); }},
      {"expand A2 inside", [](TOutlineTree& t) { t.Expand(FindPage(t, "A2")); }},
      {"collapse A hides A2's children too", [](TOutlineTree& t) { t.Collapse(FindPage(t, "A")); }},
      {"expand A again shows them", [](TOutlineTree& t) { t.Expand(FindPage(t, "A")); }},
      {"add under a collapsed page", [](TOutlineTree& t) { t.AddChild(FindPage(t, "B1"), "hidden"); }},
      {"add a shown page", [](TOutlineTree& t) { t.InsertAfter(FindPage(t, "A1"), "A1b"); }},
      {"remove a shown subtree", [](TOutlineTree& t) { t.Delete(FindPage(t, "A2")); }},
      {"expand B and B1", [](TOutlineTree& t) { t.FullExpand(); }},
      {"move a subtree up", [](TOutlineTree& t) { t.MoveTo(FindPage(t, "B"), FindPage(t, "A"), TNodeAttachMode::naInsert); }},
      {"move a page under a collapsed one",
       [](TOutlineTree& t) {
         t.Collapse(FindPage(t, "C"));
         t.MoveTo(FindPage(t, "A1"), FindPage(t, "C"), TNodeAttachMode::naAddChild);
       }},
      {"sort the root pages",
       [](TOutlineTree& t) { t.SortChildren(nullptr, [](const std::string& a, const std::string& b) { return b.compare(a); }); }},
      {"collapse all", [](TOutlineTree& t) { t.FullCollapse(); }},
      {"clear", [](TOutlineTree& t) { t.Clear(); }},
  };
  for (const int stride : {1, 2, 3, 64}) {
    TOutlineTree tree;
    BuildLayout(tree, "A .A1 .A2 ..x ..y .A3 B .B1 ..z C .C1 D");
    TShownRows rows(tree, stride);
    for (const auto& step : steps) {
      step.change(tree);
      rows.Invalidate();
      ExpectRowsMatch(tree, rows, step.name);
    }
  }
}

TEST(ShownRowsTest, RandomChangesOnALargerTree) {
  std::mt19937 random(20);
  TOutlineTree tree;
  std::vector<TTreeNode*> pages;
  for (int i = 0; i < 300; ++i) {
    TTreeNode* parent = pages.empty() || random() % 4 == 0 ? nullptr : pages[random() % pages.size()];
    pages.push_back(tree.AddChild(parent, "p" + std::to_string(i)));
  }
  TShownRows rows(tree, 5);
  for (int round = 0; round < 200; ++round) {
    TTreeNode* page = tree.GetNodeAt(static_cast<int>(random() % static_cast<unsigned>(tree.Count())));
    switch (random() % 4) {
      case 0: tree.SetExpanded(page, !page->Expanded()); break;
      case 1: tree.AddChildFirst(page, "new"); break;
      case 2:
        if (tree.Count() > 50) tree.Delete(page);
        break;
      case 3:
        tree.MoveTo(page, tree.GetNodeAt(static_cast<int>(random() % static_cast<unsigned>(tree.Count()))),
                    TNodeAttachMode::naInsert);
        break;
    }
    rows.Invalidate();
    ExpectRowsMatch(tree, rows, "round " + std::to_string(round));
  }
}

TEST(ShownRowsTest, AMillionLevelsDeepChainHasOneRowUntilExpanded) {
  TOutlineTree tree;
  TTreeNode* page = nullptr;
  for (int i = 0; i < 1000000; ++i) page = tree.AddChild(page, "x");
  TShownRows rows(tree);
  EXPECT_EQ(rows.Count(), 1);
  EXPECT_EQ(rows.RowOf(page), -1);
  EXPECT_EQ(TShownRows::ShownAncestor(page), tree.GetFirstNode());
  tree.FullExpand();
  rows.Invalidate();
  EXPECT_EQ(rows.Count(), 1000000);
  EXPECT_EQ(rows.At(999999), page);
  EXPECT_EQ(rows.RowOf(page), 999999);
}

}  // namespace
}  // namespace nuv::test
