// nuvtool find and replace as real child processes: hits in tree and text
// order, exit codes, and replacements written back to the document.
#include <gtest/gtest.h>

#include "outline/NodeData.h"
#include "outline/TextFormat.h"
#include "support/ChildProcess.h"
#include "support/OutlineFixtures.h"

namespace nuv {
namespace {

const std::string kTool = NUVTOOL;
using test::Sj;

// Two pages: "表" (95 5C) and "ソ" (83 5C) carry a backslash as their second
// byte, "ポ" (83 7C) a bar; none of them is a "\" or a "|".
std::string WriteDocument(const test::TTempDir& dir) {
  return dir.Write("doc.txt", Sj(".表示 2024\r\nソ2024|\r\n2024 2024\r\n..ポ\r\nx\\y\r\n"));
}

TEST(ToolFindTest, HitsInTreeAndTextOrder) {
  test::TTempDir dir;
  const std::string doc = WriteDocument(dir);
  const struct {
    std::vector<std::string> args;
    std::string out;
    int exitCode;
  } cases[] = {
      {{"2024"}, "1:0:6:4\n1:1:3:4\n1:2:1:4\n1:2:6:4\n", 0},
      {{"\\"}, "2:1:2:1\n", 0},
      {{"|"}, "1:1:7:1\n", 0},
      {{"\\\\|\\|", "--regex"}, "1:1:7:1\n2:1:2:1\n", 0},
      {{"X\\Y"}, "", 1},
      {{"X\\Y", "--ignore-case"}, "2:1:1:3\n", 0},
      {{"2024", "--whole-word"}, "1:0:6:4\n1:1:3:4\n1:2:1:4\n1:2:6:4\n", 0},
      {{"202", "--whole-word"}, "", 1},
      {{"ぽ", "--fuzzy"}, "2:0:1:2\n", 0},
      {{"[0-9]+", "--regex"}, "1:0:6:4\n1:1:3:4\n1:2:1:4\n1:2:6:4\n", 0},
  };
  for (const auto& c : cases) {
    std::vector<std::string> argv = {kTool, "find", doc};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const test::TChildResult r = test::RunChild(argv);
    EXPECT_EQ(r.out, c.out) << c.args[0];
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0] << ": " << r.err;
  }
  // The same count as GNU grep finds in the text (digits are never trail bytes).
  const test::TChildResult grep = test::RunChild({"grep", "-o", "-F", "2024", doc});
  EXPECT_EQ(std::count(grep.out.begin(), grep.out.end(), '\n'), 4);
}

TEST(ToolFindTest, ErrorsExitWithTwo) {
  test::TTempDir dir;
  const std::string doc = WriteDocument(dir);
  const test::TChildResult bad = test::RunChild({kTool, "find", doc, "(", "--regex"});
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_NE(bad.err.find("nuvtool: "), std::string::npos);
  EXPECT_EQ(test::RunChild({kTool, "find", dir.File("missing.txt"), "x"}).exitCode, 2);
  EXPECT_EQ(test::RunChild({kTool, "find", doc, "x", "--regex", "--ignore-case"}).exitCode, 2);
  EXPECT_EQ(test::RunChild({kTool, "find", doc}).exitCode, 2);
}

TEST(ToolFindTest, ReplaceChangesBodiesAndKeepsTitles) {
  test::TTempDir dir;
  const std::string doc = WriteDocument(dir);
  const std::string original = dir.Read("doc.txt");
  // To another file: the document itself stays as it was.
  test::TChildResult r = test::RunChild({kTool, "replace", doc, "2024", "Y\\r\\nZ", "-o", dir.File("out.txt")});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "3\n");
  EXPECT_EQ(dir.Read("doc.txt"), original);
  EXPECT_EQ(dir.Read("out.txt"), Sj(".表示 2024\r\nソY\r\nZ|\r\nY\r\nZ Y\r\nZ\r\n..ポ\r\nx\\y\r\n"));
  // In place; a pattern that also matches the empty string ends too.
  r = test::RunChild({kTool, "replace", doc, "y", "Y"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "1\n");
  EXPECT_EQ(dir.Read("doc.txt"), Sj(".表示 2024\r\nソ2024|\r\n2024 2024\r\n..ポ\r\nx\\Y\r\n"));
  r = test::RunChild({kTool, "replace", doc, "x*", "-", "--regex"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(test::RunChild({kTool, "find", doc, "x"}).exitCode, 1);
}

}  // namespace
}  // namespace nuv
