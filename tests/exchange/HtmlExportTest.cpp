// HTML export: one self-contained page with a linked table of contents and a
// section per page; bodies escaped with their line breaks and spaces kept, or
// rendered as CommonMark without passing raw HTML; Python's parser finds
// every tag closed and every link's target.
#include <gtest/gtest.h>

#include "base/FileIo.h"
#include "exchange/ExchangeSample.h"
#include "exchange/HtmlExport.h"
#include "exchange/MarkupText.h"
#include "support/ChildProcess.h"

namespace nuv::test {
namespace {

std::string Html(const TOutlineTree& tree, bool markdown, TExchangeWriteResult* result = nullptr) {
  std::string text;
  TStringSink sink(text);
  THtmlOptions options;
  options.title = "Doc <1> & more";
  options.markdownBodies = markdown;
  const TExchangeWriteResult r = BuildHtml(tree, options, sink);
  if (result) *result = r;
  return text;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t i = text.find(what); i != std::string::npos; i = text.find(what, i + 1)) ++n;
  return n;
}

TEST(HtmlExportTest, WritesTheTableOfContentsAndOneSectionPerPage) {
  TOutlineTree tree;
  BuildRichDocument(tree);
  const std::string html = Html(tree, false);
  EXPECT_TRUE(html.starts_with("<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"));
  EXPECT_NE(html.find("<title>Doc &lt;1&gt; &amp; more</title>"), std::string::npos);
  EXPECT_NE(html.find("@media (prefers-color-scheme: dark)"), std::string::npos);
  const std::size_t pages = static_cast<std::size_t>(tree.Count());
  EXPECT_EQ(Count(html, "<section class=\"page\" id=\"p"), pages);
  EXPECT_EQ(Count(html, "<li><a href=\"#p"), pages);
  EXPECT_EQ(Count(html, "<ul>"), Count(html, "</ul>"));
  EXPECT_NE(html.find("<h6 aria-level=\"9\">level 9</h6>"), std::string::npos);
  const std::string firstTitle = ToUtf8(Sj("表示・ソース")) + " &amp; &lt;tag&gt; \"q\" 'a' ]]&gt;";
  EXPECT_NE(html.find("<li><a href=\"#p1\">" + firstTitle + "</a>\n<ul>\n<li><a href=\"#p2\">"), std::string::npos);
  EXPECT_NE(html.find("<h1>" + firstTitle + "</h1>\n<div class=\"body\">" + ToUtf8(Sj("本文")) +
                          " ]]&gt; &amp; &lt;b&gt;x&lt;/b&gt;\n\n  " + ToUtf8(Sj("二つの空白")) + "  " + ToUtf8(Sj("と")) +
                          "\t" + ToUtf8(Sj("タブ")) + "</div>"),
            std::string::npos)
      << html;
}

TEST(HtmlExportTest, MarkdownBodiesNeverPassRawHtml) {
  TOutlineTree tree;
  AddPage(tree, nullptr, "md",
          "<script>alert(1)</script>\r\n\r\n*em* and <b onclick=\"x()\">bold</b> [link](javascript:alert(2))\r\n\r\n"
          "<!-- comment -->\r\n\r\n```\r\n<i>code</i>\r\n```\r\n");
  const std::string html = Html(tree, true);
  const std::string body = html.substr(html.find("<div class=\"markdown\">"));
  EXPECT_EQ(body.find("<script"), std::string::npos) << body;
  EXPECT_EQ(body.find("<b "), std::string::npos);
  EXPECT_EQ(body.find("<!--"), std::string::npos);
  EXPECT_EQ(body.find("javascript:"), std::string::npos);
  EXPECT_NE(body.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
  EXPECT_NE(body.find("<em>em</em> and &lt;b onclick=&quot;x()&quot;&gt;bold&lt;/b&gt;"), std::string::npos);
  EXPECT_NE(body.find("<pre><code>&lt;i&gt;code&lt;/i&gt;\n</code></pre>"), std::string::npos);
}

TEST(HtmlExportTest, LeavesOutControlBytesAndNamesTheFirstPage) {
  TOutlineTree tree;
  AddPage(tree, nullptr, "clean", "a\r\n");
  TTreeNode* bad = AddPage(tree, nullptr, "second", std::string("x\x01y\r\n"));
  for (const bool markdown : {false, true}) {
    TExchangeWriteResult result;
    const std::string html = Html(tree, markdown, &result);
    EXPECT_EQ(result.controlPage, bad);
    EXPECT_EQ(html.find('\x01'), std::string::npos);
  }
}

TEST(HtmlExportTest, PythonFindsEveryTagClosedAndEveryLinksTarget) {
  ASSERT_TRUE(HaveProgram("python3")) << "python3 is needed";
  TOutlineTree tree;
  BuildRichDocument(tree);
  AddPage(tree, nullptr, "markdown", "# h\r\n\r\n- a\r\n- <b>b\r\n\r\n> q\r\n\r\n---\r\n\r\n`x` ![i](y.png)\r\n");
  TTempDir dir;
  for (const bool markdown : {false, true}) {
    const std::string path = dir.File(markdown ? "md.html" : "plain.html");
    ASSERT_TRUE(WriteHtml(path, tree, markdown).ok);
    const TChildResult r = RunChild({"python3", std::string(NUV_TEST_DATA) + "/check_html.py", path});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_EQ(r.out, "ok " + std::to_string(tree.Count()) + " " + std::to_string(tree.Count()) + "\n");
  }
}

}  // namespace
}  // namespace nuv::test
