// nuvtool convert with other encodings, as a real child process: UTF-8 in and
// out byte for byte, the refusal naming the line, and --substitute.
#include <gtest/gtest.h>

#include "support/ChildProcess.h"
#include "support/Iconv.h"

namespace nuv {
namespace {

const std::string kTool = NUVTOOL;

const std::string kDocument =
    ".計画 ①\r\n##nuv##,1,-1\r\n表ソポ\\| ｱｲ ～\r\n..手順\r\n##nuv##,5,-1\r\n髙 ㈱ Ⅳ\r\n";

TEST(ToolEncodingTest, Utf8InShiftJisOrUtf8Out) {
  test::TTempDir dir;
  dir.Write("in.txt", kDocument);
  dir.Write("in-lf-bom.txt", "\xEF\xBB\xBF.a\n##nuv##,1,-1\n\xE2\x91\xA0\n");
  struct Case {
    std::vector<std::string> args;
    std::string expected;
  } cases[] = {
      {{"in.txt", "sjis.txt"}, test::Iconv(kDocument, "CP932")},
      {{"in.txt", "utf8.txt", "--encoding", "utf-8"}, kDocument},
      {{"in.txt", "upper.txt", "--encoding", "UTF-8"}, kDocument},
      {{"in-lf-bom.txt", "same.txt", "--encoding", "utf-8"}, "\xEF\xBB\xBF.a\n##nuv##,1,-1\n\xE2\x91\xA0\n"},
      {{"in-lf-bom.txt", "back.txt", "--encoding", "shift_jis"}, ".a\r\n##nuv##,1,-1\r\n\x87\x40\r\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> argv = {kTool, "convert"};
    for (const std::string& a : c.args) argv.push_back(a.find(".txt") != std::string::npos ? dir.File(a) : a);
    const test::TChildResult r = test::RunChild(argv);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(dir.Read(c.args[1]), c.expected) << c.args[1];
  }
  // Through a binary document and back: the pages survive, UTF-8 comes out again.
  ASSERT_EQ(test::RunChild({kTool, "convert", dir.File("in.txt"), dir.File("d.pk2")}).exitCode, 0);
  ASSERT_EQ(test::RunChild({kTool, "convert", dir.File("d.pk2"), dir.File("d.txt"), "--encoding", "utf-8"}).exitCode, 0);
  EXPECT_EQ(dir.Read("d.txt"), kDocument);
}

TEST(ToolEncodingTest, RefusesAnEmojiNamingTheLineUnlessToldToSubstitute) {
  test::TTempDir dir;
  dir.Write("emoji.txt", ".title\nfirst\nsmile \xF0\x9F\x98\x80 and \xF0\x9F\x8D\xA3\n");
  const test::TChildResult refused = test::RunChild({kTool, "convert", dir.File("emoji.txt"), dir.File("o.txt")});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("line 3"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("\xF0\x9F\x98\x80"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("U+1F600"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("2 characters"), std::string::npos) << refused.err;
  EXPECT_FALSE(FileExists(dir.File("o.txt")));

  const test::TChildResult ok =
      test::RunChild({kTool, "convert", dir.File("emoji.txt"), dir.File("o.txt"), "--substitute", "--encoding", "utf-8"});
  ASSERT_EQ(ok.exitCode, 0) << ok.err;
  EXPECT_EQ(dir.Read("o.txt"), ".title\n##nuv##,5,-1\nfirst\nsmile \xE3\x80\x93 and \xE3\x80\x93\n");
}

TEST(ToolEncodingTest, UsageErrors) {
  test::TTempDir dir;
  dir.Write("in.txt", kDocument);
  for (const std::vector<std::string>& argv :
       {std::vector<std::string>{kTool, "convert", dir.File("in.txt"), dir.File("o.txt"), "--encoding", "euc-jp"},
        std::vector<std::string>{kTool, "convert", dir.File("in.txt"), dir.File("o.pk2"), "--encoding", "utf-8"},
        std::vector<std::string>{kTool, "convert", dir.File("in.txt"), dir.File("o.txt"), "--encoding"}}) {
    const test::TChildResult r = test::RunChild(argv);
    EXPECT_EQ(r.exitCode, 2) << argv.back();
    EXPECT_FALSE(r.err.empty());
  }
  EXPECT_FALSE(FileExists(dir.File("o.txt")));
  EXPECT_FALSE(FileExists(dir.File("o.pk2")));
}

}  // namespace
}  // namespace nuv
