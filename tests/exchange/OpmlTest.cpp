// OPML: nuv's documents round trip; files in the shapes other outliners
// write read as their authors meant; nothing outside the file is read;
// xmllint accepts what nuv writes.
#include <gtest/gtest.h>

#include "base/FileIo.h"
#include "exchange/ExchangeSample.h"
#include "exchange/MarkupText.h"
#include "exchange/Opml.h"
#include "support/ChildProcess.h"
#include "support/OutlineFixtures.h"

namespace nuv::test {
namespace {

std::string Opml(const TOutlineTree& tree, TExchangeWriteResult* result = nullptr) {
  std::string text;
  TStringSink sink(text);
  const TExchangeWriteResult r = BuildOpml(tree, "doc", sink);
  if (result) *result = r;
  return text;
}

TExchangeReadResult Read(std::string_view bytes, TOutlineTree& out, bool substitute = false) {
  TExchangeReadOptions options;
  options.substitute = substitute;
  return ReadOpmlBytes(bytes, options, out);
}

std::string ReadFixture(const std::string& name, TOutlineTree& out) {
  std::string bytes;
  EXPECT_EQ(ReadWholeFile(std::string(NUV_TEST_DATA) + "/" + name, bytes), TReadResult::Ok);
  const TExchangeReadResult r = Read(bytes, out);
  EXPECT_TRUE(r.ok()) << r.detail << " at line " << r.line;
  return Canon(out, true);
}

TEST(OpmlTest, RoundTripKeepsTreeTitlesBodiesMarksLabelsAndExpansion) {
  TOutlineTree small, rich;
  BuildPlanExample(small);
  small.Expand(small.GetFirstNode());
  BuildRichDocument(rich);
  for (const TOutlineTree* tree : {&small, &rich}) {
    TOutlineTree back;
    const std::string text = Opml(*tree);
    ASSERT_TRUE(Read(text, back).ok()) << text;
    EXPECT_EQ(Canon(back, true), Canon(*tree, true)) << text;
  }
}

TEST(OpmlTest, WritesTheHeadAndTheConventions) {
  TOutlineTree tree;
  BuildRichDocument(tree);
  const std::string text = Opml(tree);
  EXPECT_NE(text.find("<title>doc</title>"), std::string::npos);
  // Shown lines: the first page (0), its children (1, 2), C (3) and its chain.
  EXPECT_NE(text.find("<expansionState>0,1,3,4,5,6,7,8,9,10</expansionState>"), std::string::npos) << text;
  EXPECT_NE(text.find("text=\"expanded under a collapsed parent\" _note=\"x\" nuv:mark=\"0\" nuv:label=\"10\" nuv:expanded=\"1\""),
            std::string::npos);
  EXPECT_NE(text.find("text=\"" + ToUtf8(Sj("表示・ソース")) + " &amp; &lt;tag&gt; &quot;q&quot; 'a' ]]&gt;\""), std::string::npos);
  EXPECT_NE(text.find("_note=\"" + ToUtf8(Sj("本文")) + " ]]&gt; &amp; &lt;b&gt;x&lt;/b&gt;&#10;&#10;  "), std::string::npos);
  EXPECT_NE(text.find("<outline text=\"no record\" nuv:mark=\"0\" nuv:label=\"-1\"/>"), std::string::npos);
}

TEST(OpmlTest, ReadsWhatOtherOutlinersWrite) {
  TOutlineTree tree;
  EXPECT_EQ(ReadFixture("outliner-notes.opml", tree),
            Sj("準備 |持ち物を確認する\\r\\n切符 <往復>\\r\\n| 5,-1+\n"
               ".パスポート & 財布 || 5,-1\n"
               ".着替え |三日分\\r\\n| 5,-1\n"
               "行程 || 5,-1+\n"
               ".一日目 ああ |京都 → 奈良\\r\\n夜は宿\\r\\n| 5,-1\n"
               "無題 |題のない項目\\r\\n| 5,-1\n"
               "無題 |text のない項目\\r\\n| 5,-1\n"));
  TOutlineTree deep;
  ReadFixture("deep-plain.opml", deep);
  EXPECT_EQ(Dump(deep), "1 .2 ..3 ...4 ....5 .....6 ......7 .......8 ........9 .........10 after");
}

TEST(OpmlTest, NeverResolvesEntitiesOutsideTheFile) {
  TOutlineTree tree;
  // The internal entity is the document's own text. The external ones are
  // never fetched: the list that "expansion.txt" holds would expand the page.
  EXPECT_EQ(ReadFixture("external-entities.opml", tree), Sj("こんにちは |こんにちは\\r\\n| 5,-1\n.child || 5,-1\n"));
}

TEST(OpmlTest, LongTitlesAreCutWithoutATrailingBlank) {
  TOutlineTree tree;
  ASSERT_TRUE(Read("<opml><body><outline text=\"" + std::string(249, 'a') + "  b\"/></body></opml>", tree).ok());
  EXPECT_EQ(tree.GetFirstNode()->Text(), std::string(249, 'a'));
}

TEST(OpmlTest, RefusesWhatIsNoOpmlDocument) {
  const struct {
    const char* text;
    TExchangeStatus status;
    int line;
  } cases[] = {
      {"", TExchangeStatus::Malformed, 1},
      {"<html><body/></html>", TExchangeStatus::Malformed, 1},
      {"<opml><body><outline text=\"a\">\n</body></opml>", TExchangeStatus::Malformed, 2},
      {"<opml><body><outline text=\"&nope;\"/></body></opml>", TExchangeStatus::Malformed, 1},
      {"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><opml/>", TExchangeStatus::Malformed, 1},
      {"<opml>\xff</opml>", TExchangeStatus::Malformed, 1},
  };
  for (const auto& c : cases) {
    TOutlineTree tree;
    const TExchangeReadResult r = Read(c.text, tree);
    EXPECT_EQ(r.status, c.status) << c.text;
    EXPECT_EQ(r.line, c.line) << c.text;
  }
  TOutlineTree empty;
  ASSERT_TRUE(Read("<opml version=\"2.0\"><head/><body/></opml>", empty).ok());
  EXPECT_EQ(Canon(empty, true), Sj("無題 || 5,-1\n"));
}

TEST(OpmlTest, RefusesOrSubstitutesWhatShiftJisCannotHold) {
  const std::string text = "<opml><body>\n<outline text=\"ok\"/>\n<outline text=\"a\xF0\x9F\x98\x80" "b\" _note=\"\xE2\x82\xAC\"/>\n</body></opml>";
  TOutlineTree refused;
  const TExchangeReadResult r = Read(text, refused);
  EXPECT_EQ(r.status, TExchangeStatus::Unencodable);
  EXPECT_EQ(r.line, 3);
  EXPECT_EQ(r.detail, "\xF0\x9F\x98\x80");
  TOutlineTree replaced;
  const TExchangeReadResult s = Read(text, replaced, true);
  ASSERT_TRUE(s.ok());
  EXPECT_TRUE(s.substituted);
  EXPECT_EQ(s.line, 3);
  EXPECT_EQ(Canon(replaced, false), Sj("ok |\na〓b |〓\\r\\n\n"));
}

TEST(OpmlTest, LeavesOutControlBytesAndNamesTheFirstPage) {
  TOutlineTree tree;
  AddPage(tree, nullptr, "clean", "text\r\n");
  TTreeNode* bad = AddPage(tree, nullptr, "bell", std::string("a\x07z\x00y\r\n", 7));
  AddPage(tree, nullptr, std::string("title\x1b", 6), "");
  TExchangeWriteResult result;
  const std::string text = Opml(tree, &result);
  EXPECT_EQ(result.controlPage, bad);
  EXPECT_NE(text.find("_note=\"azy\""), std::string::npos);
  TOutlineTree back;
  EXPECT_TRUE(Read(text, back).ok());
}

TEST(OpmlTest, SurvivesDeepNestingAndHugeAttributes) {
  std::string text = "<opml><body>";
  for (int i = 0; i < 200000; ++i) text += "<outline text=\"x\">";
  for (int i = 0; i < 200000; ++i) text += "</outline>";
  text += "<outline text=\"" + std::string(8 << 20, 'a') + "\" _note=\"";
  for (int i = 0; i < (1 << 20); ++i) text += "&#10;";
  text += "\"/></body></opml>";
  TOutlineTree tree;
  ASSERT_TRUE(Read(text, tree).ok());
  EXPECT_EQ(tree.Count(), 200001);
  EXPECT_EQ(tree.LastPage()->Text().size(), 250u);
  EXPECT_EQ(tree.LastPage()->Data()->Body().size(), (2u << 20) + 2);
  int deepest = 0;
  for (const TTreeNode* n = tree.GetFirstNode(); n; n = n->GetFirstChild()) ++deepest;
  EXPECT_EQ(deepest, kMaxExchangeDepth);
}

TEST(OpmlTest, XmllintAcceptsEveryFileNuvWrites) {
  ASSERT_TRUE(HaveProgram("xmllint")) << "xmllint (libxml2-utils) is needed";
  TTempDir dir;
  TOutlineTree rich, plan, controls;
  BuildRichDocument(rich);
  BuildPlanExample(plan);
  AddPage(controls, nullptr, std::string("t\x01\x1f", 3), std::string("\x0b\x0c\x7f\r\x00", 5));
  int n = 0;
  for (const TOutlineTree* tree : {&rich, &plan, &controls}) {
    const std::string path = dir.File("f" + std::to_string(n++) + ".opml");
    ASSERT_TRUE(WriteOpml(path, *tree).ok);
    const TChildResult r = RunChild({"xmllint", "--noout", path});
    EXPECT_EQ(r.exitCode, 0) << r.err;
  }
}

}  // namespace
}  // namespace nuv::test
