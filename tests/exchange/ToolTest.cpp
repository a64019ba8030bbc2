// nuvtool palmdoc and medoc, run as real child processes: files, messages
// and exit codes.
#include <gtest/gtest.h>

#include "base/FileIo.h"
#include "exchange/MeDoc.h"
#include "exchange/PalmDocFile.h"
#include "exchange/SampleText.h"
#include "outline/BinaryFormat.h"
#include "outline/OutlineTree.h"
#include "support/OutlineFixtures.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Dump;
using test::Sj;
using test::TTempDir;

class ToolTest : public ::testing::Test {
 protected:
  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), NUVTOOL_PATH);
    return test::RunProcess(args, m_dir.File("tool.log"));
  }
  std::string Log() { return m_dir.Read("tool.log"); }

  TTempDir m_dir;
};

TEST_F(ToolTest, EncodeAndDecode) {
  const std::string text = test::SampleText(10000, 4);
  const std::string in = m_dir.Write(Cp932ToUtf8(Sj("猫")) + ".txt", text);
  ASSERT_EQ(Run({"palmdoc", "encode", in, m_dir.File("a.pdb")}), 0) << Log();
  std::string back;
  TPalmDocInfo info;
  ASSERT_EQ(ReadPalmDocFile(m_dir.File("a.pdb"), {}, back, &info), TPalmDocResult::Ok);
  EXPECT_EQ(back, text);
  EXPECT_EQ(info.name, Sj("猫"));  // the input's name without its extension
  EXPECT_TRUE(info.compressed);

  ASSERT_EQ(Run({"palmdoc", "encode", in, m_dir.File("b.pdb"), "--title", "吾輩", "--no-compress"}), 0) << Log();
  ASSERT_EQ(ReadPalmDocFile(m_dir.File("b.pdb"), {}, back, &info), TPalmDocResult::Ok);
  EXPECT_EQ(info.name, Sj("吾輩"));
  EXPECT_FALSE(info.compressed);

  ASSERT_EQ(Run({"palmdoc", "decode", m_dir.File("b.pdb"), m_dir.File("b.txt")}), 0) << Log();
  EXPECT_EQ(m_dir.Read("b.txt"), text);
}

TEST_F(ToolTest, ErrorsAndExitCodes) {
  const std::string in = m_dir.Write("in.txt", "text\r\n");
  struct TCase {
    std::vector<std::string> args;
    int code;
    const char* message;
  } cases[] = {
      {{"palmdoc"}, 2, "palmdoc needs"},
      {{"palmdoc", "squash", in, "x"}, 2, "palmdoc needs"},
      {{"palmdoc", "encode", in, m_dir.File("x.pdb"), "--fast"}, 2, "unknown option --fast"},
      {{"palmdoc", "decode", in, m_dir.File("x.txt"), "--title", "t"}, 2, "decode takes no"},
      {{"palmdoc", "encode", m_dir.File("none.txt"), m_dir.File("x.pdb")}, 1, "no such file"},
      {{"palmdoc", "encode", in, m_dir.File("no/dir/x.pdb")}, 1, "cannot create"},
      {{"palmdoc", "encode", in, m_dir.File("x.pdb"), "--title", "\xF0\x9F\x98\x80"}, 1, "Shift JIS"},
      {{"palmdoc", "decode", in, m_dir.File("x.txt")}, 1, "is damaged"},
      {{"medoc", m_dir.File("none.pk2"), m_dir.File("x.pdb")}, 1, "no such file"},
      {{"medoc", in, m_dir.File("x.pdb"), "0"}, 2, "PAGE must be"},
      {{"medoc", in, m_dir.File("x.pdb"), "2"}, 1, "has 1 pages, no page 2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.args), c.code) << c.args[0] << " " << Log();
    EXPECT_NE(Log().find(c.message), std::string::npos) << Log();
  }
  EXPECT_FALSE(FileExists(m_dir.File("x.pdb")));
  EXPECT_FALSE(FileExists(m_dir.File("x.txt")));

  std::string other;
  ASSERT_EQ(EncodePalmDoc("x", "t", {}, other), TPalmDocResult::Ok);
  other.replace(60, 8, "BOOKMOBI");
  const std::string book = m_dir.Write("book.pdb", other);
  EXPECT_EQ(Run({"palmdoc", "decode", book, m_dir.File("x.txt")}), 1);
  EXPECT_NE(Log().find("not a Palm DOC text"), std::string::npos) << Log();
}

TEST_F(ToolTest, MeDocOfADocumentAndOfOnePage) {
  TOutlineTree tree;
  test::BuildPlanExample(tree);
  TTreeNode* step = tree.GetNodeAt(1);
  tree.EnsureData(tree.AddChild(step, "Detail")).SetBody("deep\r\n");
  const std::string doc = m_dir.File("plan.pk2");
  ASSERT_TRUE(WriteBinary(doc, tree, tree.GetFirstNode()));

  ASSERT_EQ(Run({"medoc", doc, m_dir.File("all.pdb")}), 0) << Log();
  TOutlineTree all;
  ASSERT_EQ(ReadPalmDocPages(m_dir.File("all.pdb"), {}, all), TPalmDocResult::Ok);
  EXPECT_EQ(Dump(all), Dump(tree));

  // Page 2 is "Step A": its subtree only.
  ASSERT_EQ(Run({"medoc", doc, m_dir.File("step.pdb"), "2"}), 0) << Log();
  std::string text;
  TPalmDocInfo info;
  ASSERT_EQ(ReadPalmDocFile(m_dir.File("step.pdb"), {}, text, &info), TPalmDocResult::Ok);
  EXPECT_EQ(info.name, "step");
  EXPECT_EQ(text, "#!Medoc index 2\r\n4:.Step A\r\n6:..Detail\r\nfirst\r\nsecond\r\ndeep\r\n");

  // --following takes every page after it too, as the window command does.
  ASSERT_EQ(Run({"medoc", doc, m_dir.File("rest.pdb"), "2", "--following"}), 0) << Log();
  TOutlineTree rest;
  ASSERT_EQ(ReadPalmDocPages(m_dir.File("rest.pdb"), {}, rest), TPalmDocResult::Ok);
  EXPECT_EQ(Dump(rest), "Step A .Detail " + Sj("ごみ箱"));
}

}  // namespace
}  // namespace nuv
