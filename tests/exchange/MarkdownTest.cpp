// Markdown: pages round trip through headings and bold depth lines whatever
// their bodies hold; files in the shapes people write split where a
// CommonMark reader sees headings; cmark renders nuv's files with headings
// at the page depths.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "base/FileIo.h"
#include "exchange/ExchangeSample.h"
#include "exchange/Markdown.h"
#include "exchange/MarkupText.h"
#include "support/ChildProcess.h"
#include "support/OutlineFixtures.h"

namespace nuv::test {
namespace {

std::string Markdown(const TOutlineTree& tree) {
  std::string text;
  TStringSink sink(text);
  EXPECT_TRUE(BuildMarkdown(tree, sink).ok);
  return text;
}

TExchangeReadResult Read(std::string_view bytes, TOutlineTree& out, bool substitute = false) {
  TExchangeReadOptions options;
  options.substitute = substitute;
  return ReadMarkdownBytes(bytes, "file", options, out);
}

std::string RoundTrip(const TOutlineTree& tree, std::string* written = nullptr) {
  const std::string text = Markdown(tree);
  if (written) *written = text;
  TOutlineTree back;
  EXPECT_TRUE(Read(text, back).ok());
  return Canon(back, false);
}

// Every body from the table on a chain of pages nine levels deep and on the
// root page after it, so each sits before a heading and before a bold depth
// line, after each kind of line.
TEST(MarkdownTest, RoundTripKeepsTreeTitlesAndBodies) {
  const std::string bodies[] = {
      "# not a heading\r\n",
      "text\r\n---\r\n",
      "text\r\n===\r\n",
      "---\r\n",
      "===\r\nafter\r\n",
      "a\r\n---\r\n---\r\n---\r\n",
      "```\r\n# in code\r\n```\r\n",
      "```\r\nan unclosed fence\r\n",
      "~~~~\r\n# x\r\n",
      "<div>\r\n# inside\r\n",
      "<!-- an open comment\r\n",
      "<script>\r\n",
      "- list\r\n",
      "> quote\r\n",
      "1. item\r\n   continued\r\n",
      "\\# already escaped\r\n",
      "\\\\--- two backslashes\r\n",
      "**######## looks deep**\r\n",
      "  ## indented heading\r\n",
      "    # indented code\r\n",
      "\r\n\r\nblank lines around\r\n\r\n",
      "Setext text\r\n  ---  \r\n",
      "#hashtag\r\n",
      "######\r\n",
      "####### seven\r\n",
      "no final line end",
      Sj("表示・ソース\r\n"),
      // Found by the fuzzer: a fence, headings, setext and HTML lines that need many rounds of escapes.
      "#a\r\n```\r\n# b\r\n**####### c**\r\nx\r\n---\r\n<div> a\r\n`\r\n<d# a\r\n``1`\r\n# b\r\n`\r\n>\r\nx\r\n---\r\n<div>\r\n",
  };
  for (const std::string& body : bodies) {
    // A body's last line always comes back closed by a line end.
    const std::string closed = body.ends_with("\r\n") ? body : body + "\r\n";
    TOutlineTree tree, expected;
    TTreeNode* page = nullptr;
    TTreeNode* expectedPage = nullptr;
    for (int depth = 1; depth <= 9; ++depth) {
      page = AddPage(tree, page, "d" + std::to_string(depth), body);
      expectedPage = AddPage(expected, expectedPage, "d" + std::to_string(depth), closed);
    }
    AddPage(tree, nullptr, "root", body);
    AddPage(expected, nullptr, "root", closed);
    std::string written;
    EXPECT_EQ(RoundTrip(tree, &written), Canon(expected, false)) << written;
  }
}

TEST(MarkdownTest, RoundTripKeepsAwkwardTitles) {
  TOutlineTree tree;
  TTreeNode* page = nullptr;
  const std::string titles[] = {"C#", "#", "a # b #", "**bold** _x_", "<b>tag</b> & co", "\\", Sj("表示"), "x ##"};
  int depth = 0;
  for (const std::string& title : titles) {
    // Alternate between headings and bold depth lines.
    page = AddPage(tree, ++depth % 2 ? nullptr : page, title, "b\r\n");
    for (int i = 0; i < 7 && depth % 2 == 0; ++i) page = AddPage(tree, page, title, "");
  }
  std::string written;
  EXPECT_EQ(RoundTrip(tree, &written), Canon(tree, false)) << written;
}

TEST(MarkdownTest, RoundTripOfTheRichDocument) {
  TOutlineTree tree;
  BuildRichDocument(tree);
  std::string written;
  const std::string back = RoundTrip(tree, &written);
  // The page without a record comes back with an empty one: the same text.
  EXPECT_EQ(back, Canon(tree, false)) << written;
  EXPECT_NE(written.find("\n**######### level 9**  \n"), std::string::npos);
  EXPECT_NE(written.find("\n\\# not a heading\n\\---\n"), std::string::npos);
}

TEST(MarkdownTest, SplitsWhereCommonMarkSeesHeadings) {
  std::string bytes;
  ASSERT_EQ(ReadWholeFile(std::string(NUV_TEST_DATA) + "/front-matter.md", bytes), TReadResult::Ok);
  TOutlineTree tree;
  ASSERT_TRUE(Read(bytes, tree).ok());
  EXPECT_EQ(Canon(tree, false),
            Sj("file |---\\r\\ntitle: 議事録\\r\\ntags: [meeting]\\r\\n---\\r\\n\\r\\nOpening words before any heading.\\r\\n\\r\\n\n"
               "Setext title |\\r\\nBody of the setext page.\\r\\nThe fence below holds a \"#\" line.\\r\\n```sh\\r\\n"
               "# a comment in code\\r\\necho hi\\r\\n```\\r\\n\\r\\n- a list item\\r\\n  # a heading inside the list item\\r\\n"
               "- another\\r\\n\\r\\n<div>\\r\\n# inside an HTML block\\r\\n</div>\\r\\n\\r\\n\n"
               ".Second setext |\n"
               "..Skipped level |text\\r\\n\n"
               ".Back to two |last line\\r\\n\n"));

  const struct {
    std::string text;
    std::string dump;
  } cases[] = {
      {"", Sj("無題")},
      {"\n\n  \n", Sj("無題")},
      {"just text\n", "file"},
      {"### a\n### b\n", "a b"},
      {"# A\n### B\n## C\n# D\n", "A .B .C D"},
      {"## x\n# y\n", "x y"},
      {"> # quoted\n# real\n", "file real"},
      {"#\n# #\n#  \n", Sj("無題 無題 無題")},
      {"# t #####\n#\ttab\n   # three spaces\n    # four\n", "t tab three spaces"},
      {"**####### deep**\n**######## deeper**\n# top\n", "deep .deeper top"},
      {"  **####### indented is no page**\n", "file"},
      {"```\n**####### in code**\n```\n", "file"},
      {"\xEF\xBB\xBF# bom\n", "bom"},
      {"a\r\n===\r\nb\rc\r---\r", "a .b c"},
      {"---\nnot closed front matter\n", "file"},
  };
  for (const auto& c : cases) {
    TOutlineTree t;
    ASSERT_TRUE(Read(c.text, t).ok()) << c.text;
    EXPECT_EQ(Dump(t), c.dump) << c.text;
  }
}

TEST(MarkdownTest, ReadsShiftJisWhenTheBytesAreNoUtf8) {
  TOutlineTree tree;
  ASSERT_TRUE(Read(Sj("# 見出し\r\n本文の行\r\n## 表示\r\n"), tree).ok());
  EXPECT_EQ(Canon(tree, false), Sj("見出し |本文の行\\r\\n\n.表示 |\n"));
}

TEST(MarkdownTest, RefusesOrSubstitutesWhatShiftJisCannotHold) {
  const std::string text = "# ok\nline\nan emoji \xF0\x9F\x98\x80 here\n# euro \xE2\x82\xAC\n";
  TOutlineTree refused;
  const TExchangeReadResult r = Read(text, refused);
  EXPECT_EQ(r.status, TExchangeStatus::Unencodable);
  EXPECT_EQ(r.line, 3);
  EXPECT_EQ(r.detail, "\xF0\x9F\x98\x80");
  EXPECT_EQ(refused.Count(), 0);
  TOutlineTree replaced;
  const TExchangeReadResult s = Read(text, replaced, true);
  ASSERT_TRUE(s.ok());
  EXPECT_TRUE(s.substituted);
  EXPECT_EQ(Canon(replaced, false), Sj("ok |line\\r\\nan emoji 〓 here\\r\\n\neuro 〓 |\n"));
}

TEST(MarkdownTest, SurvivesHugeAndDeepInput) {
  const std::string inputs[] = {
      std::string(4 << 20, '#'),
      std::string(1 << 19, '>') + " # x\n",
      std::string(1 << 18, '[') + "\n# a\n",
      std::string(1 << 20, '`'),
      [] {
        std::string s;
        for (int i = 1; i <= 3000; ++i) s += "**" + std::string(static_cast<std::size_t>(6 + i), '#') + " p**\n";
        return s;
      }(),
  };
  for (const std::string& text : inputs) {
    TOutlineTree tree;
    EXPECT_TRUE(Read(text, tree).ok());
    int deepest = 0;
    for (const TTreeNode* n = tree.GetFirstNode(); n; n = n->GetFirstChild()) ++deepest;
    EXPECT_LE(deepest, kMaxExchangeDepth);
  }
}

TEST(MarkdownTest, CmarkRendersHeadingsAtThePageDepths) {
  ASSERT_TRUE(HaveProgram("cmark")) << "cmark is needed";
  TOutlineTree tree;
  BuildRichDocument(tree);
  TTempDir dir;
  ASSERT_TRUE(WriteMarkdown(dir.File("doc.md"), tree).ok);
  const TChildResult r = RunChild({"cmark", dir.File("doc.md")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string expected, rendered;
  for (const TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNext())
    expected += n->Level() < 6 ? "h" + std::to_string(n->Level() + 1) + " " : "deep" + std::to_string(n->Level() + 1) + " ";
  const std::regex heading("<h([1-6])>|<strong>(#{7,}) ");
  for (auto it = std::sregex_iterator(r.out.begin(), r.out.end(), heading); it != std::sregex_iterator(); ++it)
    rendered += (*it)[1].matched ? "h" + (*it)[1].str() + " " : "deep" + std::to_string((*it)[2].length()) + " ";
  EXPECT_EQ(rendered, expected) << r.out;
}

}  // namespace
}  // namespace nuv::test
