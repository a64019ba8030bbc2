// Drag and drop rules and the autoscroll direction.
#include <gtest/gtest.h>

#include "outline/PagePictures.h"
#include "outline/TreeDrag.h"
#include "support/OutlineFixtures.h"

namespace nuv {
namespace {

using test::Dump;

TEST(TreeDragTest, DropsOnATitleARowAndNowhere) {
  TOutlineTree tree;
  TTreeNode* a = tree.Add(nullptr, "A");
  TTreeNode* b = tree.Add(nullptr, "B");
  TTreeNode* c = tree.Add(nullptr, "C");
  EXPECT_TRUE(DropPage(tree, c, a, TDropSpot::OnTitle));
  EXPECT_EQ(Dump(tree), "A .C B");
  EXPECT_TRUE(DropPage(tree, b, a, TDropSpot::OnRow));
  EXPECT_EQ(Dump(tree), "B A .C");
  EXPECT_TRUE(DropPage(tree, c, nullptr, TDropSpot::Nowhere));
  EXPECT_EQ(Dump(tree), "B A C");
  EXPECT_FALSE(DropPage(tree, a, a, TDropSpot::OnTitle));
  tree.AddChild(a, "a1");
  EXPECT_FALSE(DropPage(tree, a, a->GetFirstChild(), TDropSpot::OnTitle));  // into its own subtree
}

TEST(TreeDragTest, TheTrashIsNeverDraggedAndEmptiesBySeeingItsCount) {
  TOutlineTree tree;
  TTreeNode* a = tree.Add(nullptr, "A");
  TTreeNode* trash = tree.Add(nullptr, test::Sj("ごみ箱"));
  tree.SetImageIndex(trash, pic::kTrashFull);
  TTreeNode* x = tree.AddChild(trash, "x");
  TTreeNode* y = tree.AddChild(trash, "y");
  EXPECT_FALSE(CanDrop(trash, a));
  EXPECT_TRUE(DropPage(tree, x, a, TDropSpot::OnRow));
  EXPECT_EQ(trash->ImageIndex(), pic::kTrashFull);
  EXPECT_TRUE(DropPage(tree, y, a, TDropSpot::OnTitle));
  EXPECT_EQ(trash->ImageIndex(), pic::kTrashEmpty);
}

TEST(TreeDragTest, AutoScrollDirection) {
  struct Case {
    int rowTop, x;
    TScrollDirection direction;
  } cases[] = {
      {170, 100, TScrollDirection::Down},  // client 200 high, rows 16: bottom 186 > 168
      {10, 100, TScrollDirection::Up},
      {100, 5, TScrollDirection::Left},
      {100, 190, TScrollDirection::Right},
      {100, 100, TScrollDirection::None},
  };
  for (const auto& c : cases)
    EXPECT_EQ(AutoScrollDirection(200, 200, c.rowTop, c.rowTop + 16, 16, c.x), c.direction) << c.rowTop << "," << c.x;
}

}  // namespace
}  // namespace nuv
