// The back and forward lists: push, the limit of ten, jumps to any entry,
// and pages removed while they are listed.
#include <gtest/gtest.h>

#include "outline/NavigationHistory.h"
#include "outline/OutlineTree.h"

namespace nuv {
namespace {

class NavigationHistoryTest : public ::testing::Test {
 protected:
  NavigationHistoryTest() {
    for (const char* title : {"P0", "P1", "P2", "P3", "P4", "P5", "P6", "P7", "P8", "P9", "P10", "P11"})
      pages.push_back(tree.Add(nullptr, title));
  }
  // The captions of a list, newest first.
  static std::string Captions(const std::vector<THistoryEntry>& list) {
    std::string out;
    for (const auto& e : list) out += (out.empty() ? "" : " ") + e.caption;
    return out;
  }
  // The user selects `to` while `current` is shown.
  TTreeNode* Visit(TTreeNode* current, TTreeNode* to) {
    history.PageLeft(current);
    return to;
  }
  // Jumps like the window: the target is selected inside a jump scope, and
  // the page switch tells the history about the page it leaves.
  TTreeNode* Back(TTreeNode* current, std::size_t k = 0) {
    TTreeNode* target = history.JumpBack(k, current, tree);
    if (target) {
      TNavigationHistory::TJump jump(history);
      history.PageLeft(current);  // ignored while navigating
    }
    return target ? target : current;
  }
  TTreeNode* Forward(TTreeNode* current, std::size_t k = 0) {
    TTreeNode* target = history.JumpForward(k, current, tree);
    if (target) {
      TNavigationHistory::TJump jump(history);
      history.PageLeft(current);
    }
    return target ? target : current;
  }

  TOutlineTree tree;
  std::vector<TTreeNode*> pages;
  TNavigationHistory history;
};

TEST_F(NavigationHistoryTest, VisitsPushNewestFirstAndKeepTen) {
  TTreeNode* current = pages[0];
  for (int i = 1; i <= 11; ++i) current = Visit(current, pages[static_cast<std::size_t>(i)]);
  EXPECT_EQ(Captions(history.Back()), "P10 P9 P8 P7 P6 P5 P4 P3 P2 P1");
  EXPECT_TRUE(history.Forward().empty());
  EXPECT_FALSE(history.Navigating());
}

TEST_F(NavigationHistoryTest, BackAndForwardMirrorEachOther) {
  TTreeNode* current = pages[0];
  for (int i = 1; i <= 3; ++i) current = Visit(current, pages[static_cast<std::size_t>(i)]);
  current = Back(current);
  EXPECT_EQ(current, pages[2]);
  EXPECT_EQ(Captions(history.Back()), "P1 P0");
  EXPECT_EQ(Captions(history.Forward()), "P3");
  current = Back(current);
  current = Forward(current);
  EXPECT_EQ(current, pages[2]);
  EXPECT_EQ(Captions(history.Back()), "P1 P0");
  EXPECT_EQ(Captions(history.Forward()), "P3");
  // Selecting a page by clicking empties the forward list.
  current = Visit(current, pages[7]);
  EXPECT_EQ(Captions(history.Back()), "P2 P1 P0");
  EXPECT_TRUE(history.Forward().empty());
}

TEST_F(NavigationHistoryTest, ChoosingTheThirdBackEntry) {
  TTreeNode* current = pages[0];
  for (int i = 1; i <= 4; ++i) current = Visit(current, pages[static_cast<std::size_t>(i)]);
  ASSERT_EQ(Captions(history.Back()), "P3 P2 P1 P0");
  current = Back(current, 2);
  EXPECT_EQ(current, pages[1]);
  // The forward list leads back through the skipped entries to the former page.
  EXPECT_EQ(Captions(history.Forward()), "P2 P3 P4");
  EXPECT_EQ(Captions(history.Back()), "P0");
  // And the forward menu's mirror image brings it all back.
  current = Forward(current, 2);
  EXPECT_EQ(current, pages[4]);
  EXPECT_EQ(Captions(history.Back()), "P3 P2 P1 P0");
  EXPECT_TRUE(history.Forward().empty());
}

TEST_F(NavigationHistoryTest, CaptionsAreTheTitlesWhenAdded) {
  TTreeNode* current = Visit(pages[0], pages[1]);
  tree.SetText(pages[0], "Renamed");
  EXPECT_EQ(Captions(history.Back()), "P0");
  EXPECT_EQ(Back(current), pages[0]);
}

TEST_F(NavigationHistoryTest, RemovedPagesCannotBeReached) {
  TTreeNode* current = pages[0];
  for (int i = 1; i <= 4; ++i) current = Visit(current, pages[static_cast<std::size_t>(i)]);
  tree.Delete(pages[3]);
  tree.Delete(pages[1]);
  history.Prune(tree);
  EXPECT_EQ(Captions(history.Back()), "P2 P0");
  // Deleted after the last prune: the jump drops it before counting.
  tree.Delete(pages[2]);
  EXPECT_EQ(Back(current, 0), pages[0]);
  EXPECT_TRUE(history.Back().empty());
  EXPECT_EQ(Captions(history.Forward()), "P4");
  // No entry k: nothing moves.
  EXPECT_EQ(history.JumpBack(0, pages[0], tree), nullptr);
  EXPECT_EQ(history.JumpForward(5, pages[0], tree), nullptr);
  EXPECT_EQ(Captions(history.Forward()), "P4");
  // A forward entry whose page goes is dropped too.
  tree.Delete(pages[4]);
  EXPECT_EQ(history.JumpForward(0, pages[0], tree), nullptr);
  EXPECT_TRUE(history.Forward().empty());
}

TEST_F(NavigationHistoryTest, ClearEmptiesBothLists) {
  TTreeNode* current = Visit(pages[0], pages[1]);
  current = Visit(current, pages[2]);
  Back(current);
  history.Clear();
  EXPECT_FALSE(history.CanGoBack());
  EXPECT_FALSE(history.CanGoForward());
}

}  // namespace
}  // namespace nuv
