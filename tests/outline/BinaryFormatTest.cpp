// The binary document format: the worked example byte for byte, round trips,
// and damaged files that must fail cleanly.
#include <gtest/gtest.h>

#include <random>

#include "base/FileIo.h"
#include "outline/BinaryFormat.h"
#include "outline/OutlineTree.h"
#include "support/OutlineFixtures.h"

namespace nuv {
namespace {

using test::Dump;
using test::Sj;

std::string Int32(int32_t v) {
  std::string s;
  for (int i = 0; i < 4; ++i) s += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
  return s;
}

std::string Record(std::string_view body, uint32_t markLabel, int32_t view) {
  return Int32(static_cast<int32_t>(body.size())) + std::string(body) + Int32(static_cast<int32_t>(markLabel)) +
         Int32(view);
}

std::string Image(const TOutlineTree& tree, const TTreeNode* selected) {
  std::string image;
  EXPECT_TRUE(BuildBinary(tree, selected, image));
  return image;
}

TEST(BinaryFormatTest, WorkedExampleByteForByte) {
  TOutlineTree tree;
  test::BuildPlanExample(tree);
  tree.GetNodeAt(0)->Data()->SetLabel(7);
  tree.GetNodeAt(1)->Data()->SetLabel(8);
  tree.GetNodeAt(2)->Data()->SetLabel(7);
  const std::string block = "Plan\r\n\tStep A\r\n" + Sj("ごみ箱") + "\r\n";
  ASSERT_EQ(block.size(), 23u);
  const std::string expected = Int32(23) + block + Record("", 0x00070001, 1) +
                               Record("first\r\nsecond\r\n", 0x00080005, 0) + Record("", 0x00070011, 0);
  EXPECT_EQ(Image(tree, tree.GetNodeAt(1)), expected);
}

TEST(BinaryFormatTest, RoundTripKeepsTreeBodiesMarksExpansionAndSelection) {
  TOutlineTree tree;
  TTreeNode* a = tree.Add(nullptr, Sj("表示"));
  TTreeNode* b = tree.AddChild(a, Sj("ソース\\"));
  TTreeNode* c = tree.AddChild(b, "c");
  tree.Add(nullptr, "no record");
  tree.EnsureData(a).SetBody(Sj("予定表\r\n"));
  tree.EnsureData(b).SetBody(std::string("nul\0inside", 10));
  tree.EnsureData(c).SetMarkLabel(0x000A0003);
  tree.Expand(b);
  TOutlineTree back;
  const TBinaryReadResult r = ReadBinaryBytes(Image(tree, c), TFormatOptions{}, back);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(Dump(back), Dump(tree));
  EXPECT_EQ(r.selectedIndex, 2);
  EXPECT_EQ(back.GetNodeAt(0)->Data()->Body(), Sj("予定表\r\n"));
  EXPECT_EQ(back.GetNodeAt(1)->Data()->Body(), std::string("nul\0inside", 10));
  EXPECT_TRUE(back.GetNodeAt(1)->Expanded());
  EXPECT_EQ(back.GetNodeAt(2)->ImageIndex(), 3);
  EXPECT_EQ(back.GetNodeAt(2)->StateIndex(), 10);
  EXPECT_EQ(back.GetNodeAt(2)->Data()->MarkLabel(), 0x000A0003u);
  EXPECT_EQ(back.GetNodeAt(3)->Data()->Body(), "");
}

TEST(BinaryFormatTest, TitlesWithLeadingBlanksKeepTheirLevel) {
  TOutlineTree tree;
  TTreeNode* a = tree.Add(nullptr, "A");
  tree.AddChild(a, "  spaced");
  tree.Add(nullptr, "\tB");
  TOutlineTree back;
  ASSERT_TRUE(ReadBinaryBytes(Image(tree, nullptr), TFormatOptions{}, back).ok);
  EXPECT_EQ(Dump(back), "A .spaced B");
}

TEST(BinaryFormatTest, PicturesFromTheFileAreRangeChecked) {
  const std::string trash = Sj("ごみ箱");
  const std::string block = "A\r\n\t" + trash + "\r\n" + trash + "\r\nB\r\nC\r\n";
  const std::string image = Int32(static_cast<int32_t>(block.size())) + block + Record("", 9, 0) +
                            Record("", 17, 0) + Record("", 0x00630012, 0) + Record("<DirectLink:x>", 0x00080004, 0) +
                            Record("", 0x00000006, 0);
  TOutlineTree tree;
  ASSERT_TRUE(ReadBinaryBytes(image, TFormatOptions{}, tree).ok);
  EXPECT_EQ(tree.GetNodeAt(0)->ImageIndex(), 0);   // 9 is no mark
  EXPECT_EQ(tree.GetNodeAt(1)->ImageIndex(), 0);   // trash mark below the root
  EXPECT_EQ(tree.GetNodeAt(2)->ImageIndex(), 18);  // the real trash page
  EXPECT_EQ(tree.GetNodeAt(2)->StateIndex(), 7);   // label 99 reads as label 1
  EXPECT_EQ(tree.GetNodeAt(2)->Data()->Label(), 0);
  EXPECT_EQ(tree.GetNodeAt(3)->StateIndex(), 8);
  EXPECT_EQ(tree.GetNodeAt(3)->OverlayIndex(), 0);
  EXPECT_EQ(tree.GetNodeAt(4)->StateIndex(), -1);
  TFormatOptions labels;
  labels.ShowLabel1 = true;
  labels.ClearLabel1 = true;
  TOutlineTree shown;
  ASSERT_TRUE(ReadBinaryBytes(image, labels, shown).ok);
  EXPECT_EQ(shown.GetNodeAt(4)->StateIndex(), 15);
  EXPECT_EQ(shown.GetNodeAt(3)->StateIndex(), 8);
}

TEST(BinaryFormatTest, EmptyTreeBlockAndForeignSelection) {
  TOutlineTree empty;
  const TBinaryReadResult r = ReadBinaryBytes(Int32(0), TFormatOptions{}, empty);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(Dump(empty), Sj("無題"));
  const std::string block = "A\r\nB\r\n";
  TOutlineTree tree;
  const TBinaryReadResult s =
      ReadBinaryBytes(Int32(6) + block + Record("", 0, 77) + Record("", 0, 0), TFormatOptions{}, tree);
  ASSERT_TRUE(s.ok);
  EXPECT_EQ(s.selectedIndex, 0);
}

TEST(BinaryFormatTest, MalformedFilesFail) {
  const std::string block = "A\r\n";
  const std::string cases[] = {
      "",
      "\x01\x00",
      Int32(-1) + block,
      Int32(1000) + block,
      Int32(3) + block + Int32(-5),
      Int32(3) + block + Int32(0x7FFFFFFF) + "x",
      Int32(3) + block + Record("", 0, 0).substr(0, 11),
      Int32(7) + "A\r\n\t\tB\r\n" + Record("", 0, 0) + Record("", 0, 0),  // a level skipped
  };
  for (const auto& bytes : cases) {
    TOutlineTree tree;
    EXPECT_FALSE(ReadBinaryBytes(bytes, TFormatOptions{}, tree).ok) << bytes.size();
  }
}

TEST(BinaryFormatTest, EveryTruncatedPrefixFailsAndByteFlipsNeverCrash) {
  TOutlineTree tree;
  test::BuildPlanExample(tree);
  tree.EnsureData(tree.AddChild(tree.GetNodeAt(1), Sj("表"))).SetBody("x\r\n");
  const std::string image = Image(tree, nullptr);
  for (std::size_t n = 0; n < image.size(); ++n) {
    TOutlineTree t;
    EXPECT_FALSE(ReadBinaryBytes(std::string_view(image).substr(0, n), TFormatOptions{}, t).ok) << n;
  }
  std::mt19937 rng(42);
  for (int i = 0; i < 3000; ++i) {
    std::string damaged = image;
    for (int k = 0; k < 3; ++k) damaged[rng() % damaged.size()] ^= static_cast<char>(1 << (rng() % 8));
    TOutlineTree t;
    const TBinaryReadResult r = ReadBinaryBytes(damaged, TFormatOptions{}, t);
    if (r.ok) {
      EXPECT_LT(r.selectedIndex, t.Count());
    }
  }
}

TEST(BinaryFormatTest, FailedWriteLeavesTheOldFile) {
  test::TTempDir dir;
  TOutlineTree tree;
  test::BuildPlanExample(tree);
  const std::string path = dir.File("doc.pk2");
  ASSERT_TRUE(WriteBinary(path, tree, nullptr));
  const std::string before = dir.Read("doc.pk2");
  tree.EnsureData(tree.GetFirstNode()).SetBody("changed\r\n");
  testhooks::FailWritesAfter(10);
  EXPECT_FALSE(WriteBinary(path, tree, nullptr));
  testhooks::FailWritesAfter(-1);
  EXPECT_EQ(dir.Read("doc.pk2"), before);
  TOutlineTree back;
  EXPECT_TRUE(ReadBinary(path, TFormatOptions{}, back).ok);
}

}  // namespace
}  // namespace nuv
