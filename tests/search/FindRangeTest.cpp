// The page ranges of find and replace.
#include <gtest/gtest.h>

#include "search/FindRange.h"
#include "support/OutlineFixtures.h"

namespace nuv {
namespace {

std::string Titles(const std::vector<TTreeNode*>& pages) {
  std::string out;
  for (const TTreeNode* p : pages) out += (out.empty() ? "" : " ") + p->Text();
  return out;
}

TEST(FindRangeTest, EachRangeOnATreeWhoseSubtreeIsFollowedByADeeperCousin) {
  // A1's subtree ends at B: a rule that stopped only at the same depth would
  // run on through B into its child B1.
  TOutlineTree tree;
  test::BuildLayout(tree, "A .A1 ..A11 .A2 B .B1 ..B11 C");
  TTreeNode* a1 = test::FindPage(tree, "A1");
  TTreeNode* b1 = test::FindPage(tree, "B1");
  const struct {
    TTreeNode* selected;
    TFindRange range;
    const char* expected;
  } cases[] = {
      {a1, TFindRange::AllPages, "A A1 A11 A2 B B1 B11 C"},
      {a1, TFindRange::Subtree, "A1 A11"},
      {b1, TFindRange::Subtree, "B1 B11"},
      {test::FindPage(tree, "A"), TFindRange::Subtree, "A A1 A11 A2"},
      {test::FindPage(tree, "C"), TFindRange::Subtree, "C"},
      {a1, TFindRange::Siblings, "A1 A2"},
      {test::FindPage(tree, "B"), TFindRange::Siblings, "B C"},
      {nullptr, TFindRange::Subtree, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Titles(PagesInRange(tree, c.selected, c.range, {})), c.expected)
        << (c.selected ? c.selected->Text() : "none") << " range " << static_cast<int>(c.range);
  EXPECT_EQ(Titles(PagesInRange(tree, a1, TReplaceRange::CurrentPage)), "A1");
  EXPECT_EQ(Titles(PagesInRange(tree, a1, TReplaceRange::Subtree)), "A1 A11");
  EXPECT_EQ(Titles(PagesInRange(tree, a1, TReplaceRange::Siblings)), "A1 A2");
}

TEST(FindRangeTest, TheResultListDropsPagesDeletedSinceItWasFilled) {
  TOutlineTree tree;
  test::BuildLayout(tree, "A B C");
  const std::vector<TNodeId> listed = {test::FindPage(tree, "C")->Id(), test::FindPage(tree, "B")->Id(),
                                       test::FindPage(tree, "A")->Id()};
  tree.Delete(test::FindPage(tree, "B"));
  EXPECT_EQ(Titles(PagesInRange(tree, nullptr, TFindRange::ResultList, listed)), "C A");
  EXPECT_EQ(Titles(PagesInRange(tree, nullptr, TFindRange::ResultList, {})), "");
}

}  // namespace
}  // namespace nuv
