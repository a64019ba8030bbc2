// Recovery copies: what a copy holds, which copies count as left behind, and
// that a full disk keeps the previous copy.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/FileIo.h"
#include "outline/BinaryFormat.h"
#include "outline/Recovery.h"
#include "support/OutlineFixtures.h"

namespace nuv {
namespace {

using test::Dump;
using test::Sj;

TRecoverySnapshot Snapshot(const TOutlineTree& tree, const std::string& path) {
  TRecoverySnapshot s;
  s.tree = &tree;
  s.selected = tree.GetNodeAt(1);
  s.documentPath = path;
  s.format = TDocumentFormat::Binary;
  return s;
}

std::size_t FilesIn(const std::string& folder) {
  std::size_t n = 0;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder, ec)) n += e.is_regular_file() ? 1 : 0;
  return n;
}

TEST(RecoveryTest, ACopyHoldsTheDocumentWithTheShownPagesUnstoredText) {
  test::TTempDir dir;
  TOutlineTree tree;
  test::BuildPlanExample(tree);
  TTreeNode* plan = tree.GetNodeAt(0);  // a record without a body yet
  tree.SetStateIndex(plan, 9);
  plan->Data()->SetLabel(9);
  tree.SetImageIndex(plan, 2);  // the picture is ahead of the record, as after a mark command
  TRecoverySnapshot s = Snapshot(tree, dir.File(Sj("計画.pk2")));
  s.shownPage = plan;
  s.shownText = "typed\r\nnot stored\r\n";
  TRecoveryCopy copy(dir.File("state"));
  ASSERT_TRUE(copy.Write(s));
  EXPECT_EQ(plan->Data()->Body(), "");  // the document itself is untouched

  TRecoveryInfo info;
  TOutlineTree back;
  int selected = -1;
  ASSERT_TRUE(ReadRecoveryCopy(copy.File(), TFormatOptions{}, info, back, selected));
  EXPECT_EQ(info.documentPath, dir.File(Sj("計画.pk2")));
  EXPECT_EQ(info.format, TDocumentFormat::Binary);
  EXPECT_EQ(Dump(back), Dump(tree));
  EXPECT_EQ(selected, 1);
  EXPECT_EQ(back.GetNodeAt(0)->Data()->Body(), "typed\r\nnot stored\r\n");
  EXPECT_EQ(back.GetNodeAt(0)->Data()->Mark(), 2);
  EXPECT_EQ(back.GetNodeAt(0)->Data()->Label(), 9);
  EXPECT_EQ(back.GetNodeAt(1)->Data()->Body(), "first\r\nsecond\r\n");
}

TEST(RecoveryTest, OnlyCopiesNobodyHoldsAreOfferedAndDiscardingLeavesNothing) {
  test::TTempDir dir;
  const std::string folder = dir.File("state");
  TOutlineTree tree;
  test::BuildPlanExample(tree);
  const std::string docA = dir.File("a.pk2");
  const std::string docB = dir.File("b.pk2");
  auto live = std::make_unique<TRecoveryCopy>(folder);
  ASSERT_TRUE(live->Write(Snapshot(tree, docA)));
  {
    TRecoveryCopy ended(folder);  // a window whose program ended without saving
    ASSERT_TRUE(ended.Write(Snapshot(tree, docB)));
  }
  auto orphans = FindOrphanedCopies(folder);
  ASSERT_EQ(orphans.size(), 1u);
  EXPECT_EQ(orphans[0].documentPath, docB);
  EXPECT_EQ(FindOrphanedCopies(folder, dir.Path() + "/./b.pk2").size(), 1u);  // compared as canonical paths
  EXPECT_TRUE(FindOrphanedCopies(folder, docA).empty());

  live.reset();  // ended too: now both are left behind
  EXPECT_EQ(FindOrphanedCopies(folder).size(), 2u);
  TRecoveryCopy adopter(folder);
  ASSERT_TRUE(adopter.Adopt(orphans[0].file));
  EXPECT_EQ(FindOrphanedCopies(folder).size(), 1u);  // the adopted one is held again
  adopter.Remove();
  for (const TRecoveryInfo& info : FindOrphanedCopies(folder)) DiscardRecoveryCopy(info.file);
  EXPECT_TRUE(FindOrphanedCopies(folder).empty());
  EXPECT_EQ(FilesIn(folder), 1u);  // the adopter's lock, until it ends
}

// A copy of the worked example, written once.
class WrittenCopyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::BuildPlanExample(tree);
    ASSERT_TRUE(copy.Write(Snapshot(tree, doc)));
    ASSERT_EQ(ReadWholeFile(copy.File(), bytes), TReadResult::Ok);
  }
  test::TTempDir dir;
  TOutlineTree tree;
  TRecoveryCopy copy{dir.File("state")};
  const std::string doc = dir.File("doc.pk2");
  std::string bytes;  // the copy as written
};

TEST_F(WrittenCopyTest, AFullDiskKeepsThePreviousCopy) {
  tree.EnsureData(tree.GetNodeAt(1)).SetBody("changed\r\n");
  for (long long after : {0LL, 10LL, 100LL}) {  // the new copy is about 140 bytes
    testhooks::FailWritesAfter(after);
    EXPECT_FALSE(copy.Write(Snapshot(tree, doc)));
    testhooks::FailWritesAfter(-1);
    EXPECT_EQ(LastFileError(), ENOSPC);
    std::string now;
    ASSERT_EQ(ReadWholeFile(copy.File(), now), TReadResult::Ok);
    EXPECT_EQ(now, bytes);
  }
  EXPECT_EQ(FilesIn(dir.File("state")), 2u);  // the copy and its lock, no temporary file
}

TEST_F(WrittenCopyTest, DamagedCopiesAreNotRead) {
  const std::string cases[] = {
      "",
      bytes.substr(0, 20),
      bytes.substr(0, bytes.size() - 3),
      "nuv recovery copy 1\nformat 7\npath 0\n\n",
      "nuv recovery copy 1\nformat 1\npath 99999999999\n",
      "nuv recovery copy 1\nformat 1\npath -1\n",
      "nuv recovery copy 1\nformat 1\npath 5\nab\n",
  };
  for (const std::string& c : cases) {
    TRecoveryInfo info;
    TOutlineTree out;
    int selected = 0;
    EXPECT_FALSE(ReadRecoveryBytes(c, TFormatOptions{}, info, out, selected)) << c.size();
  }
}

}  // namespace
}  // namespace nuv
