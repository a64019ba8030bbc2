// Links: reading every form, writing them so they read back, and what
// following one decides.
#include <gtest/gtest.h>

#include "base/TextEncoding.h"
#include "outline/LinkOpen.h"
#include "outline/Links.h"
#include "outline/OutlineTree.h"
#include "outline/UrlText.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Sj;

const char* KindName(TLinkKind kind) {
  switch (kind) {
    case TLinkKind::None: return "none";
    case TLinkKind::Page: return "page";
    case TLinkKind::Line: return "line";
    case TLinkKind::File: return "file";
    case TLinkKind::FileUrl: return "fileurl";
    case TLinkKind::Url: return "url";
    case TLinkKind::Mail: return "mail";
    case TLinkKind::DirectLink: return "direct";
  }
  return "?";
}

// kind|title|line|target, with title and line only where they apply.
std::string Dump(const TLink& link) {
  std::string out = KindName(link.kind);
  if (link.kind == TLinkKind::Page || link.kind == TLinkKind::Line)
    out += "|" + (link.hasTitle ? link.title : std::string("-"));
  if (link.kind == TLinkKind::Line) out += "|" + link.lineText;
  if (!link.target.empty()) out += "|" + link.target;
  return out;
}

TEST(LinksTest, ReadsEveryForm) {
  const struct {
    std::string token, expected;
  } cases[] = {
      {"<node:Plan>", "page|Plan"},
      {"<node@Plan>", "page|Plan"},
      {"<node:>", "page|"},
      {"<line:Step 1>", "line|-|Step 1"},
      {"<line:Step 1/node:Plan>", "line|Plan|Step 1"},
      {"<line:a/node:b/node:c>", "line|b/node:c|a"},  // the first separator splits
      {"<line:/node:Plan>", "line|Plan|"},
      {"<file@./doc/a b.txt>", "file|./doc/a b.txt"},
      {"<file@..\\x\\y.txt>", "file|..\\x\\y.txt"},
      {"<DirectLink:notes.txt>", "direct|notes.txt"},
      {"file:///home/u/a%20b.txt", "fileurl|/home/u/a b.txt"},
      {"FILE://localhost/tmp/x", "fileurl|/tmp/x"},
      {"file://", "none"},
      {"file:///a%00b", "none"},  // a NUL cannot be part of a path
      {"http://example.org/a?b=c", "url|http://example.org/a?b=c"},
      {"https://example.org", "url|https://example.org"},
      {"ftp://example.org", "url|ftp://example.org"},
      {"www.example.org", "url|www.example.org"},
      {"http:", "none"},
      {"someone@example.org", "mail|someone@example.org"},
      {"mailto:someone@example.org", "mail|mailto:someone@example.org"},
      {"@example.org", "none"},
      {"<other:x>", "none"},
      {"<NODE:Plan>", "none"},  // prefixes are case-sensitive
      {"plain", "none"},
      {"", "none"},
  };
  for (const auto& c : cases) EXPECT_EQ(Dump(ParseLink(c.token)), c.expected) << c.token;
  EXPECT_TRUE(IsFollowableLink("<file@x>"));
  EXPECT_TRUE(IsFollowableLink("a@b.org"));
  EXPECT_FALSE(IsFollowableLink("<DirectLink:x>"));
  EXPECT_FALSE(IsFollowableLink("<other:x>"));
}

TEST(LinksTest, BrokenFormsNeverCutATrailByte) {
  const struct {
    std::string token, expected;
  } cases[] = {
      // "表" and "ソ" end in 5C; a token cut before its ">" keeps them whole.
      {Sj("<node:表"), Sj("page|表")},
      {Sj("<node:ソ>"), Sj("page|ソ")},
      {Sj("<file@C:\\表\\ソ"), Sj("file|C:\\表\\ソ")},
      {Sj("<line:能/node:予"), Sj("line|予|能")},
      // A lead byte before ">" (3E, never a trail byte) stands alone; the bracket still ends there.
      {"<node:\x83>", "page|\x83"},
      {"<node:\x83", "page|\x83"},
      {"<node:a>tail", "page|a"},
      // "/node:" is looked for at character boundaries only.
      {"<line:\x83/node:P>", "line|P|\x83"},
      {"<line:", "line|-|"},
  };
  for (const auto& c : cases) EXPECT_EQ(Dump(ParseLink(c.token)), c.expected) << c.token;
}

TEST(LinksTest, WrittenLinksReadBackOrAreRefused) {
  EXPECT_EQ(MakePageLink("Plan", false), "<node:Plan>");
  EXPECT_EQ(MakePageLink("Plan", true), "<node@Plan>");
  EXPECT_EQ(MakePageLink(Sj("表ソ"), false), Sj("<node:表ソ>"));
  EXPECT_EQ(MakeLineLink("Step 1", std::nullopt), "<line:Step 1>");
  EXPECT_EQ(MakeLineLink("Step 1", "Plan"), "<line:Step 1/node:Plan>");
  EXPECT_EQ(MakeLineLink("x", "a/node:b"), "<line:x/node:a/node:b>");
  // Names that would make the link point elsewhere.
  for (const char* bad : {"a>b", "a\rb", "a\nb", ">"}) {
    EXPECT_FALSE(MakePageLink(bad, false)) << bad;
    EXPECT_FALSE(MakeLineLink(bad, std::nullopt)) << bad;
    EXPECT_FALSE(MakeLineLink("ok", std::string_view(bad))) << bad;
  }
  EXPECT_FALSE(MakeLineLink("see /node:Other", std::nullopt));
  EXPECT_FALSE(MakeLineLink("see /node:Other", "Plan"));

  for (const std::string& title : {std::string("Plan"), Sj("表"), Sj("ソ"), std::string("\x83"), std::string("a b")}) {
    for (bool compat : {false, true}) {
      const TLink link = ParseLink(*MakePageLink(title, compat));
      EXPECT_EQ(link.kind, TLinkKind::Page);
      EXPECT_EQ(link.title, title);
    }
    const TLink line = ParseLink(*MakeLineLink(title, title));
    EXPECT_EQ(line.lineText, title);
    EXPECT_EQ(line.title, title);
  }
}

TEST(LinksTest, FileLinksAndFileUrls) {
  EXPECT_EQ(MakeFileLink("/home/u/a b.txt"), "<file@/home/u/a b.txt>");
  EXPECT_EQ(MakeFileLink("/home/u/\xE8\xA1\xA8.txt"), Sj("<file@/home/u/表.txt>"));
  EXPECT_FALSE(MakeFileLink("/home/u/a>b"));
  EXPECT_FALSE(MakeFileLink("/home/u/a\nb"));
  EXPECT_FALSE(MakeFileLink("/home/u/\xF0\x9F\x98\x80"));  // Shift JIS cannot hold it
  EXPECT_EQ(MakeDirectLink("notes.txt"), "<DirectLink:notes.txt>");
  EXPECT_EQ(MakeFileUrl("/home/u/a b;$(x).txt"), "file:///home/u/a%20b%3B%24%28x%29.txt");
  EXPECT_EQ(MakeFileUrl("/t/\xE8\xA1\xA8"), "file:///t/%E8%A1%A8");
  const TLink back = ParseLink(MakeFileUrl("/home/u/a b;$(x) \xE8\xA1\xA8%.txt"));
  EXPECT_EQ(back.kind, TLinkKind::FileUrl);
  EXPECT_EQ(back.target, "/home/u/a b;$(x) \xE8\xA1\xA8%.txt");
  // An old URL holding Shift JIS bytes reads as Shift JIS.
  EXPECT_EQ(ParseLink(Sj("file:///t/表")).target, "/t/\xE8\xA1\xA8");
}

TEST(LinksTest, LinkPathsAreAbsoluteOrRelativeToTheDocument) {
  const struct {
    std::string target, document;
    bool relative;
    std::string expected;
  } cases[] = {
      {"/home/u/docs/a.txt", "/home/u/docs/outline.pk2", true, "./a.txt"},
      {"/home/u/docs/sub/a.txt", "/home/u/docs/outline.pk2", true, "./sub/a.txt"},
      {"/home/u/other/a.txt", "/home/u/docs/outline.pk2", true, "../other/a.txt"},
      {"/home/u/docs/a.txt", "/home/u/docs/outline.pk2", false, "/home/u/docs/a.txt"},
      {"/home/u/docs/a.txt", "", true, "/home/u/docs/a.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(LinkPathFor(c.target, c.document, c.relative), c.expected) << c.target;
}

TEST(LinksTest, TitlesFromFileNamesGoThroughTheCodec) {
  EXPECT_EQ(TitleFromFileName("/x/y/report.txt"), "report.txt");
  EXPECT_EQ(TitleFromFileName("/x/\xE8\xA1\xA8.txt"), Sj("表.txt"));
  EXPECT_EQ(TitleFromFileName("/x/" + std::string(300, 'a')), std::string(250, 'a'));
  EXPECT_FALSE(TitleFromFileName("/x/\xF0\x9F\x98\x80.txt"));
  EXPECT_FALSE(TitleFromFileName("/x/   "));
}

TEST(LinksTest, BackslashesBecomeSlashesByCharacters) {
  EXPECT_EQ(BackslashesToSlashes(Sj("..\\表\\ソ\\a")), Sj("../表/ソ/a"));
  EXPECT_EQ(BackslashesToSlashes("\x83\\"), "\x83\\");  // 83 5C is "ソ"
  EXPECT_EQ(BackslashesToSlashes("\x83\r\\"), "\x83\r/");  // a lone lead byte takes no backslash
}

TEST(LinkOpenTest, PagesAndLines) {
  TOutlineTree tree;
  TTreeNode* a = tree.Add(nullptr, "A");
  TTreeNode* b1 = tree.AddChild(a, "B");
  tree.Add(nullptr, "B");  // the same title later in tree order
  const auto open = [&](std::string_view token) { return DecideLinkOpen(ParseLink(token), tree, "/d/doc.pk2"); };

  EXPECT_EQ(open("<node:B>").action, TLinkAction::SelectPage);
  EXPECT_EQ(open("<node:B>").page, b1);
  EXPECT_EQ(open("<node@A>").page, a);
  EXPECT_EQ(open("<node:Z>").action, TLinkAction::Nothing);
  EXPECT_EQ(open("<line:x/node:B>").action, TLinkAction::SelectLine);
  EXPECT_EQ(open("<line:x/node:B>").page, b1);
  EXPECT_EQ(open("<line:x/node:B>").lineText, "x");
  // A missing page leaves the shown page, whose lines are searched.
  EXPECT_EQ(open("<line:x/node:Z>").action, TLinkAction::SelectLine);
  EXPECT_EQ(open("<line:x/node:Z>").page, nullptr);
  EXPECT_EQ(open("<line:x>").page, nullptr);
}

TEST(LinkOpenTest, FindsTheFirstLineThatBeginsWithTheText) {
  const std::string text = "alpha\r\nbeta one\r\nbeta two\ngamma\rbeta\r\n";
  const struct {
    std::string lineText;
    std::optional<TTextRange> expected;
  } cases[] = {
      {"alpha", TTextRange{0, 5}},
      {"beta", TTextRange{7, 4}},
      {"beta t", TTextRange{17, 6}},
      {"gamma", TTextRange{26, 5}},
      {"beta\r", std::nullopt},
      {"delta", std::nullopt},
      {"", TTextRange{0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(FindLinkLine(text, c.lineText), c.expected) << c.lineText;
  EXPECT_EQ(FindLinkLine("", "a"), std::nullopt);
}

TEST(LinkOpenTest, FilesOpenAsOneAbsolutePath) {
  TOutlineTree tree;
  const struct {
    std::string token, document;
    TLinkAction action;
    std::string path;
  } cases[] = {
      {"<file@a b;$(touch x).txt>", "/d/doc.pk2", TLinkAction::OpenPath, "/d/a b;$(touch x).txt"},
      {"<file@..\\up\\x.txt>", "/d/e/doc.pk2", TLinkAction::OpenPath, "/d/up/x.txt"},
      {"<file@./x.txt>", "/d/doc.pk2", TLinkAction::OpenPath, "/d/x.txt"},
      {"<file@/abs/x>", "", TLinkAction::OpenPath, "/abs/x"},
      {"<file@\\\\server\\share\\x>", "/d/doc.pk2", TLinkAction::OpenPath, "/server/share/x"},
      {"<file@-rf>", "/d/doc.pk2", TLinkAction::OpenPath, "/d/-rf"},
      {Sj("<file@表\\ソ.txt>"), "/d/doc.pk2", TLinkAction::OpenPath, "/d/\xE8\xA1\xA8/\xE3\x82\xBD.txt"},
      {"<file@x.txt>", "", TLinkAction::Nothing, ""},  // relative, and no document folder
      {"<file@C:\\x.txt>", "/d/doc.pk2", TLinkAction::Nothing, ""},
      {"<file@>", "/d/doc.pk2", TLinkAction::Nothing, ""},
      {"file:///tmp/a%20b", "/d/doc.pk2", TLinkAction::OpenPath, "/tmp/a b"},
      {"file://../x", "/d/e/doc.pk2", TLinkAction::OpenPath, "/d/x"},
      {"<DirectLink:x.txt>", "/d/doc.pk2", TLinkAction::Nothing, ""},
      {"<calc.exe>", "/d/doc.pk2", TLinkAction::Nothing, ""},
  };
  for (const auto& c : cases) {
    const TLinkOpen open = DecideLinkOpen(ParseLink(c.token), tree, c.document);
    EXPECT_EQ(open.action, c.action) << c.token;
    EXPECT_EQ(open.path, c.path) << c.token;
  }
}

TEST(LinkOpenTest, UrlsOnlyForKnownSchemesAndMailEncoded) {
  TOutlineTree tree;
  const struct {
    std::string token;
    TLinkAction action;
    std::string url;
  } cases[] = {
      {"http://example.org/a?b=c&d#e", TLinkAction::OpenUrl, "http://example.org/a?b=c&d#e"},
      {"www.example.org", TLinkAction::OpenUrl, "http://www.example.org"},
      {"http://x/a\"b<c> d", TLinkAction::OpenUrl, "http://x/a%22b%3Cc%3E%20d"},
      {"someone@example.org", TLinkAction::OpenUrl, "mailto:someone@example.org"},
      {"mailto:someone@example.org", TLinkAction::OpenUrl, "mailto:someone@example.org"},
      {"MAILTO:a+b@example.org", TLinkAction::OpenUrl, "mailto:a+b@example.org"},
      // Parameters and headers cannot ride along.
      {"a@b.org?attach=/etc/passwd&x", TLinkAction::OpenUrl, "mailto:a@b.org%3Fattach%3D%2Fetc%2Fpasswd%26x"},
      {"mailto:", TLinkAction::Nothing, ""},
      {"javascript:alert(1)", TLinkAction::Nothing, ""},
      {"smb://host/share", TLinkAction::Nothing, ""},
  };
  for (const auto& c : cases) {
    const TLinkOpen open = DecideLinkOpen(ParseLink(c.token), tree, "/d/doc.pk2");
    EXPECT_EQ(open.action, c.action) << c.token;
    EXPECT_EQ(open.url, c.url) << c.token;
  }
}

TEST(UrlTextTest, PercentCodingAndUtf8) {
  EXPECT_EQ(PercentEncode("a b/%~", "/"), "a%20b/%25~");
  EXPECT_EQ(PercentDecode("a%20b%2"), "a b%2");
  EXPECT_EQ(PercentDecode("%zz%41"), "%zzA");
  EXPECT_TRUE(IsValidUtf8("a\xE8\xA1\xA8"));
  for (const char* bad : {"\xE8\xA1", "\xC0\xAF", "\xED\xA0\x80", "\xF5\x80\x80\x80", "\x95\x5C"})
    EXPECT_FALSE(IsValidUtf8(bad));
}

TEST(LinksTest, HugeInputs) {
  const std::string title(4 << 20, '\x83');  // four megabytes of one lead byte: two million "ャ"
  const TLink link = ParseLink("<node:" + title);
  EXPECT_EQ(link.title, title);
  EXPECT_EQ(ParseLink(*MakePageLink(title, false)).title, title);
  EXPECT_EQ(BackslashesToSlashes(std::string(1 << 20, '\\')), std::string(1 << 20, '/'));
  EXPECT_EQ(FindLinkLine(std::string(1 << 20, '\n'), "x"), std::nullopt);
  TOutlineTree tree;
  const TLinkOpen open = DecideLinkOpen(ParseLink("<file@" + std::string(1 << 20, 'a') + ">"), tree, "/d/x.pk2");
  EXPECT_EQ(open.path.size(), (1u << 20) + 3);
}

}  // namespace
}  // namespace nuv
