// nuvtool convert as a real child process: both directions, the text modes,
// and one-line errors with a failing exit code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "outline/BinaryFormat.h"
#include "outline/OutlineTree.h"
#include "support/ChildProcess.h"
#include "support/OutlineFixtures.h"

namespace nuv {
namespace {

const std::string kTool = NUVTOOL;

TEST(ToolConvertTest, TheSampleDocumentSurvivesBothFormats) {
  test::TTempDir dir;
  const std::string sample = std::string(NUV_SOURCE_DIR) + "/share/sample.txt";
  ASSERT_EQ(test::RunChild({kTool, "convert", sample, dir.File("s.pk2")}).exitCode, 0);
  ASSERT_EQ(test::RunChild({kTool, "convert", dir.File("s.pk2"), dir.File("s.txt")}).exitCode, 0);
  std::string original;
  ReadWholeFile(sample, original);
  EXPECT_EQ(dir.Read("s.txt"), original);
  TOutlineTree tree;
  ASSERT_TRUE(ReadBinary(dir.File("s.pk2"), TFormatOptions{}, tree).ok);
  EXPECT_GT(tree.Count(), 5);
}

TEST(ToolConvertTest, TextModes) {
  test::TTempDir dir;
  TOutlineTree tree;
  test::BuildPlanExample(tree);
  WriteBinary(dir.File("plan.pk2"), tree, nullptr);
  const std::string trash = test::Sj("ごみ箱");
  struct Case {
    std::vector<std::string> flags;
    std::string text;
  } cases[] = {
      {{}, ".Plan\r\n##nuv##,1,-1\r\n..Step A\r\n##nuv##,5,-1\r\nfirst\r\nsecond\r\n." + trash + "\r\n##nuv##,17,-1\r\n"},
      {{"--no-data"}, ".Plan\r\n..Step A\r\nfirst\r\nsecond\r\n." + trash + "\r\n"},
      {{"--no-data", "--compat"}, ".\r\n..first\r\nsecond\r\n.\r\n"},
      {{"--no-titles", "--no-data"}, ".\r\n..first\r\nsecond\r\n.\r\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> argv = {kTool, "convert", dir.File("plan.pk2"), dir.File("o.txt")};
    argv.insert(argv.end(), c.flags.begin(), c.flags.end());
    ASSERT_EQ(test::RunChild(argv).exitCode, 0);
    EXPECT_EQ(dir.Read("o.txt"), c.text) << c.flags.size();
  }
}

TEST(ToolConvertTest, FailuresExitNonZeroWithOneLine) {
  test::TTempDir dir;
  dir.Write("bad.pk2", "\x09\x00\x00\x00short");
  const std::vector<std::string> cases[] = {
      {kTool, "convert", dir.File("missing.txt"), dir.File("o.pk2")},
      {kTool, "convert", dir.File("bad.pk2"), dir.File("o.txt")},
      {kTool, "convert", dir.File("bad.pk2")},
      {kTool, "convert", "a", "b", "--bogus"},
      {kTool, "convert", std::string(NUV_SOURCE_DIR) + "/share/sample.txt", dir.File("no/such/dir/o.pk2")},
  };
  for (const auto& argv : cases) {
    const test::TChildResult r = test::RunChild(argv);
    EXPECT_NE(r.exitCode, 0) << argv[2];
    EXPECT_EQ(r.err.rfind("nuvtool: ", 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  EXPECT_NE(test::RunChild({kTool, "nosuchcommand"}).exitCode, 0);
  EXPECT_FALSE(FileExists(dir.File("o.pk2")));
  // A failed write names the file and the system's reason; a damaged file says what is wrong with it.
  const std::string out = dir.File("no/such/dir/o.pk2");
  EXPECT_EQ(test::RunChild({kTool, "convert", std::string(NUV_SOURCE_DIR) + "/share/sample.txt", out}).err,
            "nuvtool: cannot write " + out + ": " + std::strerror(ENOENT) + "\n");
  EXPECT_EQ(test::RunChild({kTool, "convert", dir.File("bad.pk2"), dir.File("o.txt")}).err,
            "nuvtool: cannot read " + dir.File("bad.pk2") + ": not a valid .pk2 document\n");
}

TEST(ToolConvertTest, ATextSaveThatReadsBackDifferentlyIsWrittenWithOneWarningPerKind) {
  test::TTempDir dir;
  TOutlineTree tree;
  TTreeNode* a = tree.AddChild(nullptr, "Blank ");
  tree.EnsureData(a).SetBody("##nuv##,a,b\r\n.dot\r\n");
  TTreeNode* b = tree.AddChild(a, std::string(300, 'x'));
  tree.EnsureData(b).SetBody("ok\r\n");
  tree.EnsureData(tree.AddChild(nullptr, "C")).SetBody("text\r\n.x\r\n");
  ASSERT_TRUE(WriteBinary(dir.File("risky.pk2"), tree, nullptr));
  const test::TChildResult r = test::RunChild({kTool, "convert", dir.File("risky.pk2"), dir.File("o.txt"), "--no-data"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err,
            "nuvtool: warning: 2 line(s) begin with \".\" and read back as headings; first at 1:2\n"
            "nuvtool: warning: 1 line(s) begin with \"##nuv##,\" and read back as metadata or not at all; first at 1:1\n"
            "nuvtool: warning: 1 title(s) begin or end with a blank that reading back trims; first at 1:0\n"
            "nuvtool: warning: 1 title(s) are longer than 250 bytes and read back cut; first at 2:0\n");
  // The metadata-like first line reads back with the defaults: the file opens.
  EXPECT_EQ(test::RunChild({kTool, "convert", dir.File("o.txt"), dir.File("back.pk2")}).exitCode, 0);
  TOutlineTree back;
  ASSERT_TRUE(ReadBinary(dir.File("back.pk2"), TFormatOptions{}, back).ok);
  EXPECT_EQ(back.GetFirstNode()->Text(), "Blank");

  // In the compatible mode the body's first line is the heading: a clean
  // document says nothing.
  const test::TChildResult clean =
      test::RunChild({kTool, "convert", dir.File("back.pk2"), dir.File("c.txt"), "--compat", "--no-data"});
  EXPECT_EQ(clean.exitCode, 0);
  EXPECT_EQ(clean.err, "");
}

TEST(ToolConvertTest, ChoosesOpmlMarkdownAndHtmlByExtension) {
  test::TTempDir dir;
  const std::string sample = std::string(NUV_SOURCE_DIR) + "/share/sample.txt";
  std::string original;
  ReadWholeFile(sample, original);
  for (const char* ext : {".opml", ".md", ".OPML", ".markdown"}) {
    const std::string mid = dir.File(std::string("s") + ext);
    ASSERT_EQ(test::RunChild({kTool, "convert", sample, mid}).exitCode, 0) << ext;
    ASSERT_EQ(test::RunChild({kTool, "convert", mid, dir.File("back.txt")}).exitCode, 0) << ext;
    // Markdown keeps no marks: compare with the document written without them.
    const bool marks = std::string(ext).find("pml") != std::string::npos || std::string(ext).find("PML") != std::string::npos;
    if (marks) {
      EXPECT_EQ(dir.Read("back.txt"), original) << ext;
    } else {
      ASSERT_EQ(test::RunChild({kTool, "convert", sample, dir.File("plain.txt"), "--no-data"}).exitCode, 0);
      ASSERT_EQ(test::RunChild({kTool, "convert", mid, dir.File("back.txt"), "--no-data"}).exitCode, 0);
      EXPECT_EQ(dir.Read("back.txt"), dir.Read("plain.txt")) << ext;
    }
  }
  ASSERT_EQ(test::RunChild({kTool, "convert", sample, dir.File("s.html")}).exitCode, 0);
  ASSERT_EQ(test::RunChild({kTool, "convert", sample, dir.File("m.htm"), "--markdown-bodies"}).exitCode, 0);
  EXPECT_NE(dir.Read("s.html").find("<div class=\"body\">"), std::string::npos);
  EXPECT_NE(dir.Read("m.htm").find("<div class=\"markdown\">"), std::string::npos);
}

TEST(ToolConvertTest, NamesTheLineOfACharacterShiftJisCannotHold) {
  test::TTempDir dir;
  dir.Write("e.md", "# a\nok\n\xF0\x9F\x98\x80\n");
  const test::TChildResult refused = test::RunChild({kTool, "convert", dir.File("e.md"), dir.File("o.txt")});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("e.md:3: \"\xF0\x9F\x98\x80\" cannot be held in Shift JIS"), std::string::npos) << refused.err;
  EXPECT_FALSE(FileExists(dir.File("o.txt")));
  const test::TChildResult replaced =
      test::RunChild({kTool, "convert", dir.File("e.md"), dir.File("o.txt"), "--substitute", "--no-data"});
  EXPECT_EQ(replaced.exitCode, 0) << replaced.err;
  EXPECT_EQ(dir.Read("o.txt"), test::Sj(".a\r\nok\r\n〓\r\n"));
  dir.Write("bad.opml", "<opml><body>\n<outline>\n</body>");
  const test::TChildResult malformed = test::RunChild({kTool, "convert", dir.File("bad.opml"), dir.File("o.txt")});
  EXPECT_EQ(malformed.exitCode, 1);
  EXPECT_NE(malformed.err.find("bad.opml:3: not a valid OPML document"), std::string::npos) << malformed.err;
}

}  // namespace
}  // namespace nuv
