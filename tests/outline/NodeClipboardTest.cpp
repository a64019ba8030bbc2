// The node clipboard block: encoding, validation, paste placement and cut marks.
#include <gtest/gtest.h>

#include <random>

#include "outline/FormatOptions.h"
#include "outline/NodeClipboard.h"
#include "outline/PagePictures.h"
#include "support/OutlineFixtures.h"

namespace nuv {
namespace {

using test::Dump;

std::string Int32(int32_t v) {
  std::string s;
  for (int i = 0; i < 4; ++i) s += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
  return s;
}

TEST(NodeClipboardTest, APageWithTwoChildrenIsABlockOfThree) {
  TOutlineTree tree;
  TTreeNode* a = tree.Add(nullptr, "A");
  tree.EnsureData(a).SetBody("body\r\n");
  a->Data()->SetMarkLabel(0x00090002);
  tree.AddChild(a, "a1");  // no record
  tree.EnsureData(tree.AddChild(a, "a2"));
  const std::string block = EncodeNodeBlock(SubtreePages(a));
  const std::string expected = Int32(static_cast<int32_t>(block.size())) + Int32(3) +
                               Int32(0) + Int32(1) + "A" + Int32(6) + "body\r\n" + Int32(0x00090002) + Int32(0) +
                               Int32(1) + Int32(2) + "a1" + Int32(-1) +
                               Int32(1) + Int32(2) + "a2" + Int32(0) + Int32(0) + Int32(0);
  EXPECT_EQ(block, expected);
  const auto entries = DecodeNodeBlock(block);
  ASSERT_TRUE(entries);
  ASSERT_EQ(entries->size(), 3u);
  EXPECT_FALSE((*entries)[1].hasRecord);

  // Pasted before another page, the three pages come back with their structure.
  TOutlineTree target;
  TTreeNode* x = target.Add(nullptr, "X");
  TTreeNode* first = PasteEntries(target, x, *entries, TFormatOptions{});
  EXPECT_EQ(Dump(target), "A .a1 .a2 X");
  EXPECT_EQ(first->Text(), "A");
  EXPECT_EQ(first->ImageIndex(), 2);
  EXPECT_EQ(first->Data()->Body(), "body\r\n");
  EXPECT_EQ(target.GetNodeAt(1)->Data(), nullptr);
  EXPECT_EQ(first->StateIndex(), -1);  // labels not shown
}

TEST(NodeClipboardTest, PastePlacementByLevels) {
  TOutlineTree source;
  TTreeNode* r = source.Add(nullptr, "R");
  TTreeNode* s = source.AddChild(r, "S");
  TTreeNode* s1 = source.AddChild(s, "s1");
  source.AddChild(s1, "s11");
  source.AddChild(s, "s2");
  const auto entries = DecodeNodeBlock(EncodeNodeBlock(SubtreePages(s))).value();
  TOutlineTree target;
  TTreeNode* p = target.Add(nullptr, "P");
  TTreeNode* q = target.AddChild(p, "Q");
  target.AddChild(p, "Z");
  PasteEntries(target, q, entries, TFormatOptions{});
  EXPECT_EQ(Dump(target), "P .S ..s1 ...s11 ..s2 .Q .Z");
  TOutlineTree empty;
  PasteEntries(empty, nullptr, entries, TFormatOptions{});
  EXPECT_EQ(Dump(empty), "S .s1 ..s11 .s2");
}

TEST(NodeClipboardTest, PastedMarksAndLabels) {
  struct Case {
    uint32_t markLabel;
    bool show, clear;
    int picture, state;
  } cases[] = {
      {17, false, false, 0, -1},                  // a copied trash page is no trash
      {18 | (7u << 16), true, true, 0, 7},
      {5, true, true, 5, 15},                      // label 0 with ClearLabel1: blank picture
      {5 | (7u << 16), true, false, 5, 7},
      {5 | (12u << 16), false, false, 5, -1},      // labels hidden: no picture at all
      {3 | (99u << 16), true, false, 3, 7},        // damage reads as label 1
  };
  for (const auto& c : cases) {
    TOutlineTree source;
    TTreeNode* page = source.Add(nullptr, "P");
    source.EnsureData(page).SetMarkLabel(c.markLabel);
    TFormatOptions o;
    o.ShowLabel1 = c.show;
    o.ClearLabel1 = c.clear;
    TOutlineTree target;
    TTreeNode* pasted =
        PasteEntries(target, nullptr, DecodeNodeBlock(EncodeNodeBlock({page})).value(), o);
    EXPECT_EQ(pasted->ImageIndex(), c.picture) << c.markLabel;
    EXPECT_EQ(pasted->Data()->Mark(), c.picture) << c.markLabel;
    EXPECT_EQ(pasted->StateIndex(), c.state) << c.markLabel;
  }
}

TEST(NodeClipboardTest, DamagedBlocksPasteNothing) {
  TOutlineTree tree;
  TTreeNode* a = tree.Add(nullptr, "A");
  tree.EnsureData(tree.AddChild(a, "child")).SetBody("text");
  const std::string block = EncodeNodeBlock(SubtreePages(a));
  EXPECT_TRUE(DecodeNodeBlock(block + "trailing clipboard slack"));  // TotalSize bounds the block
  for (std::size_t n = 0; n < block.size(); ++n) EXPECT_FALSE(DecodeNodeBlock(block.substr(0, n))) << n;
  const std::string cases[] = {
      Int32(8) + Int32(1),
      Int32(12) + Int32(-1) + Int32(0),
      Int32(20) + Int32(1) + Int32(0) + Int32(-3) + Int32(-1),
      Int32(20) + Int32(1) + Int32(-1) + Int32(0) + Int32(-1),  // a negative level
      Int32(24) + Int32(1) + Int32(0) + Int32(0) + Int32(-2) + Int32(0),
      Int32(1000) + Int32(0),
      Int32(static_cast<int32_t>(block.size())) + Int32(200000000) + block.substr(8),
  };
  for (const auto& bytes : cases) EXPECT_FALSE(DecodeNodeBlock(bytes));
  std::mt19937 rng(7);
  for (int i = 0; i < 2000; ++i) {
    std::string damaged = block;
    damaged[rng() % damaged.size()] ^= static_cast<char>(1 << (rng() % 8));
    if (const auto entries = DecodeNodeBlock(damaged)) {
      TOutlineTree t;
      PasteEntries(t, nullptr, *entries, TFormatOptions{});
    }
  }
}

TEST(NodeClipboardTest, CutMarksBelongToTheLastCut) {
  TOutlineTree tree;
  TTreeNode* a = tree.Add(nullptr, "A");
  TTreeNode* b = tree.Add(nullptr, "B");
  TTreeNode* b1 = tree.AddChild(b, "b1");
  MarkCut(tree, a);
  MarkCut(tree, b);  // a new cut clears the first
  EXPECT_FALSE(a->Cut());
  EXPECT_TRUE(IsInsideCut(b1));
  EXPECT_FALSE(IsInsideCut(a));
  EXPECT_EQ(RemoveCutPages(tree), 2);
  EXPECT_EQ(Dump(tree), "A");
  // Cut, then copy (which clears the marks): nothing is removed.
  MarkCut(tree, a);
  ClearCutMarks(tree);
  EXPECT_EQ(RemoveCutPages(tree), 0);
  EXPECT_EQ(Dump(tree), "A");
}

}  // namespace
}  // namespace nuv
