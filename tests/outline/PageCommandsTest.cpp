// The page command rules: adding, deleting into the trash, moves, join, and
// the mark and label cycles.
#include <gtest/gtest.h>

#include "outline/FormatOptions.h"
#include "outline/PageCommands.h"
#include "outline/PagePictures.h"
#include "outline/TrashRules.h"
#include "support/OutlineFixtures.h"

namespace nuv {
namespace {

using test::Dump;
using test::Sj;

void Build(TOutlineTree& tree, const std::string& layout) { test::BuildLayout(tree, layout); }

TTreeNode* Find(const TOutlineTree& tree, const std::string& title) { return test::FindPage(tree, title); }

std::string TrashName() { return Sj("ごみ箱"); }

TEST(PageCommandsTest, AddingPages) {
  TOutlineTree tree;
  Build(tree, "A B");
  TTreeNode* a = Find(tree, "A");
  const std::string u = Sj("無題");
  EXPECT_EQ(AddPageAbove(tree, a)->Text(), u);
  EXPECT_EQ(Dump(tree), u + " A B");
  AddPageBelow(tree, a);
  EXPECT_EQ(Dump(tree), u + " A " + u + " B");
  AddChildPage(tree, a, nullptr);
  EXPECT_EQ(Dump(tree), u + " A ." + u + " " + u + " B");
  TTreeNode* last = AddPageBelow(tree, Find(tree, "B"));
  EXPECT_EQ(last, tree.GetLastRootPage());
  TTreeNode* appended = AddPageAbove(tree, nullptr);
  EXPECT_EQ(appended, tree.GetLastRootPage());
  TTreeNode* top = AddChildPage(tree, nullptr, Find(tree, "A"));
  EXPECT_EQ(top, tree.GetLastRootPage());
  TFormatOptions labels;
  labels.ShowLabel1 = labels.ClearLabel1 = true;
  NewPageSetup(tree, top, labels);
  EXPECT_EQ(top->ImageIndex(), pic::kMemo);
  EXPECT_EQ(top->StateIndex(), pic::kBlankLabel);
}

TEST(PageCommandsTest, TrashTransitions) {
  TOutlineTree tree;
  Build(tree, "A .a1 ..a11 B C");
  TDeleteSettings settings;
  // The first delete creates the trash at the end and puts the page in it.
  TTreeNode* next = DeleteSelectedPage(tree, Find(tree, "B"), settings);
  TTreeNode* trash = FindTrashPage(tree);
  ASSERT_NE(trash, nullptr);
  EXPECT_EQ(next->Text(), "C");
  EXPECT_EQ(Dump(tree), "A .a1 ..a11 C " + TrashName() + " .B");
  EXPECT_EQ(trash->ImageIndex(), pic::kTrashFull);
  EXPECT_EQ(trash->Data()->Mark(), pic::kTrashFull);
  // A second delete goes before the first.
  DeleteSelectedPage(tree, Find(tree, "C"), settings);
  EXPECT_EQ(Dump(tree), "A .a1 ..a11 " + TrashName() + " .C .B");
  // Deleting inside the trash removes for good; the picture follows the real count.
  DeleteSelectedPage(tree, Find(tree, "C"), settings);
  EXPECT_EQ(trash->ImageIndex(), pic::kTrashFull);
  DeleteSelectedPage(tree, Find(tree, "B"), settings);
  EXPECT_EQ(trash->ImageIndex(), pic::kTrashEmpty);
  // Deleting a page into an empty trash shows it full again.
  DeleteSelectedPage(tree, Find(tree, "a1"), settings);
  EXPECT_EQ(trash->ImageIndex(), pic::kTrashFull);
  EXPECT_EQ(Dump(tree), "A " + TrashName() + " .a1 ..a11");
  // A grandchild inside the trash leaves its parent: the trash is still full.
  DeleteSelectedPage(tree, Find(tree, "a11"), settings);
  EXPECT_EQ(trash->ImageIndex(), pic::kTrashFull);
  // Indenting a page into the trash leaves the picture as it is.
  DeleteSelectedPage(tree, Find(tree, "a1"), settings);
  ASSERT_EQ(trash->ImageIndex(), pic::kTrashEmpty);
  TTreeNode* d = tree.Add(trash, "D");
  Indent(tree, d);
  EXPECT_EQ(trash->ImageIndex(), pic::kTrashEmpty);
  // Deleting the trash page removes it with everything in it.
  DeleteSelectedPage(tree, trash, settings);
  EXPECT_EQ(Dump(tree), "A");
}

TEST(PageCommandsTest, WithoutTrashPagesGoForGoodAndTheNextSelectionSurvives) {
  TDeleteSettings noTrash;
  noTrash.UseTrash = false;
  struct Case {
    std::string tree;
    std::string deleted;
    std::string after;
    std::string selected;
  } cases[] = {
      {"A B C", "B", "A C", "C"},
      {"A B C", "C", "A B", "B"},
      {"A .a1 ..x B", "a1", "A B", "B"},   // only child with children: never a removed page
      {"A .a1 ..x", "a1", "A", "A"},
      {"A", "A", "", ""},
  };
  for (const auto& c : cases) {
    TOutlineTree tree;
    Build(tree, c.tree);
    TTreeNode* next = DeleteSelectedPage(tree, Find(tree, c.deleted), noTrash);
    EXPECT_EQ(Dump(tree), c.after) << c.tree;
    EXPECT_EQ(next ? next->Text() : "", c.selected) << c.tree;
    if (next) {
      EXPECT_EQ(tree.FindById(next->Id()), next);
    }
  }
}

TEST(PageCommandsTest, ListDeletesSkipTheTrashAndPagesAlreadyRemoved) {
  TOutlineTree tree;
  Build(tree, "A .a1 B");
  TDeleteSettings noTrash;
  noTrash.UseTrash = false;
  const std::vector<TNodeId> ids = {Find(tree, "A")->Id(), Find(tree, "a1")->Id(), Find(tree, "B")->Id()};
  DeleteListedPages(tree, ids, noTrash);
  EXPECT_EQ(Dump(tree), "");
  TOutlineTree withTrash;
  Build(withTrash, "A B C");
  TDeleteSettings settings;
  DeleteSelectedPage(withTrash, Find(withTrash, "C"), settings);
  const std::vector<TNodeId> listed = {Find(withTrash, "A")->Id(), Find(withTrash, "C")->Id()};
  DeleteListedPages(withTrash, listed, settings);
  EXPECT_EQ(Dump(withTrash), "B " + TrashName() + " .A .C");
}

TEST(PageCommandsTest, MovesAndTheirEnabledRules) {
  TOutlineTree tree;
  Build(tree, "A .a1 .a2 .a3 B");
  TTreeNode* a2 = Find(tree, "a2");
  ASSERT_TRUE(CanMoveDown(a2));
  MoveDown(tree, a2);  // the last-but-one child becomes the last
  EXPECT_EQ(Dump(tree), "A .a1 .a3 .a2 B");
  EXPECT_FALSE(CanMoveDown(a2));
  ASSERT_TRUE(CanMoveUp(a2));
  MoveUp(tree, a2);
  EXPECT_EQ(Dump(tree), "A .a1 .a2 .a3 B");
  Indent(tree, a2);
  EXPECT_EQ(Dump(tree), "A .a1 ..a2 .a3 B");
  Outdent(tree, a2);  // follows its former parent
  EXPECT_EQ(Dump(tree), "A .a1 .a2 .a3 B");
  TTreeNode* a3 = Find(tree, "a3");
  Outdent(tree, a3);  // the last child of a parent: after the parent
  EXPECT_EQ(Dump(tree), "A .a1 .a2 a3 B");
  EXPECT_FALSE(CanOutdent(Find(tree, "A")));
  EXPECT_FALSE(CanIndent(Find(tree, "A")));
  // Inside the trash: a child cannot be outdented, a grandchild can.
  TDeleteSettings settings;
  DeleteSelectedPage(tree, Find(tree, "A"), settings);
  TTreeNode* trash = FindTrashPage(tree);
  EXPECT_FALSE(CanOutdent(Find(tree, "A")));
  EXPECT_TRUE(CanOutdent(Find(tree, "a1")));
  Outdent(tree, Find(tree, "a1"));
  EXPECT_EQ(Find(tree, "a1")->Parent(), trash);
  EXPECT_FALSE(CanMoveUp(trash));
  EXPECT_FALSE(CanIndent(trash));
  // The page just above the trash moves below it.
  TTreeNode* b = Find(tree, "B");
  ASSERT_TRUE(CanMoveDown(b));
  MoveDown(tree, b);
  EXPECT_EQ(tree.GetLastRootPage(), b);
}

TEST(PageCommandsTest, JoinTakesTheNextBodyAndChildren) {
  TOutlineTree tree;
  Build(tree, "A .a1 B .b1 .b2 C");
  TTreeNode* a = Find(tree, "A");
  const TJoinResult r = JoinWithNext(tree, a, "edited A\r\n");
  ASSERT_TRUE(r.joined);
  EXPECT_EQ(r.text, "edited A\r\n\r\nB\r\n");
  EXPECT_EQ(a->Data()->Body(), r.text);
  EXPECT_EQ(Dump(tree), "A .a1 .b1 .b2 C");
  EXPECT_FALSE(JoinWithNext(tree, Find(tree, "C"), "").joined);
}

TEST(PageCommandsTest, MarkAndLabelCycles) {
  struct MarkCase {
    int from, to;
  } marks[] = {{0, 1}, {1, 2}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}};
  for (const auto& c : marks) EXPECT_EQ(CycledMark(c.from), c.to) << c.from;
  const int positions[] = {0, 1, 2, 4, 5, 7, 8};
  for (int m = 0; m <= 6; ++m) EXPECT_EQ(MarkMenuPosition(m), positions[m]);
  struct LabelCase {
    int from, to;
  } labels[] = {{-1, 8}, {0, 8}, {7, 8}, {8, 9}, {13, 14}, {14, 8}, {15, 8}};
  for (const auto& c : labels) EXPECT_EQ(CycledLabel(c.from), c.to) << c.from;
  EXPECT_EQ(ShownLabel(-1), 7);
  EXPECT_EQ(ShownLabel(15), 7);
  EXPECT_EQ(ShownLabel(12), 12);
}

TEST(PageCommandsTest, LabelPicturesUnderTheLabelSettings) {
  struct Case {
    bool show, clear;
    int label, picture;
  } cases[] = {
      {false, false, 7, 0}, {false, true, 7, 0},  {true, false, 7, 7},
      {true, true, 7, 15},  {false, false, 9, 9}, {true, true, 14, 14},
  };
  for (const auto& c : cases) {
    TFormatOptions o;
    o.ShowLabel1 = c.show;
    o.ClearLabel1 = c.clear;
    TOutlineTree tree;
    TTreeNode* page = tree.Add(nullptr, "P");
    tree.EnsureData(page);
    SetPageLabel(tree, page, c.label, o);
    EXPECT_EQ(page->StateIndex(), c.picture) << c.show << c.clear << c.label;
    EXPECT_EQ(page->Data()->Label(), c.label);
  }
  // Changing the settings re-shows label 1 (and no label) only.
  TOutlineTree tree;
  TTreeNode* one = tree.Add(nullptr, "one");
  TTreeNode* none = tree.Add(nullptr, "none");
  TTreeNode* eight = tree.Add(nullptr, "eight");
  TTreeNode* bare = tree.Add(nullptr, "bare");
  tree.EnsureData(one).SetLabel(7);
  tree.EnsureData(none);
  tree.EnsureData(eight).SetLabel(14);
  tree.SetStateIndex(eight, 14);
  tree.SetStateIndex(bare, 9);
  TFormatOptions shown;
  shown.ShowLabel1 = shown.ClearLabel1 = true;
  ReapplyLabelPictures(tree, shown);
  EXPECT_EQ(one->StateIndex(), 15);
  EXPECT_EQ(none->StateIndex(), 15);
  EXPECT_EQ(eight->StateIndex(), 14);
  EXPECT_EQ(bare->StateIndex(), 9);
  ReapplyLabelPictures(tree, TFormatOptions{});
  EXPECT_EQ(one->StateIndex(), 0);
}

TEST(PageCommandsTest, MarksOnPagesWithAndWithoutRecords) {
  TOutlineTree tree;
  TTreeNode* page = tree.Add(nullptr, "P");
  SetPageMark(tree, page, 3, false);
  EXPECT_EQ(page->ImageIndex(), 3);
  EXPECT_EQ(page->Data(), nullptr);
  SetPageMark(tree, page, 2, true);  // Ctrl+click: the mark must survive a binary save
  ASSERT_NE(page->Data(), nullptr);
  EXPECT_EQ(page->Data()->Mark(), 2);
  EXPECT_EQ(SiblingPages(tree, page).size(), 1u);
}

}  // namespace
}  // namespace nuv
