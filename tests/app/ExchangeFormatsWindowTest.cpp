// OPML, Markdown and HTML in the real window: save as each, open and drop
// them back, the questions and warnings; the saved HTML loaded by headless
// Chromium.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "app/DocumentController.h"
#include "app/ExchangeController.h"
#include "config/NuvConfig.h"
#include "outline/DocumentState.h"
#include "support/ChildProcess.h"
#include "support/OutlineFixtures.h"
#include "support/WindowFixture.h"

namespace nuv::test {
namespace {

class ExchangeFormatsWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Start({QString::fromStdString(WriteSample("doc.txt", ".親 & <子>\r\n本文\r\n..一\r\na\r\n..二\r\n.B\r\n"))});
  }
  TDocumentController& D() { return window->Documents(); }
  void SaveAs(const std::string& name, int filter) {
    dialogs->answers.push_back(TFileChoice{QString::fromStdString(docs.File(name)), filter});
    D().SaveAs();
  }
  static std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t i = text.find(what); i != std::string::npos; i = text.find(what, i + 1)) ++n;
    return n;
  }
};

TEST_F(ExchangeFormatsWindowTest, SavesAsOpmlAndMarkdownAndOpensThemAgain) {
  window->Config().TextSave = true;
  window->Tree().Expand(window->Tree().GetFirstNode());
  const std::string before = Dump(window->Tree());
  const struct {
    const char* name;
    int filter;
    TDocumentFormat format;
  } cases[] = {{"out.opml", 3, TDocumentFormat::Opml}, {"out.md", 4, TDocumentFormat::Markdown}};
  for (const auto& c : cases) {
    SaveAs(c.name, c.filter);
    EXPECT_TRUE(FileExists(docs.File(c.name)));
    EXPECT_EQ(window->Document().path, docs.File(c.name));
    EXPECT_EQ(window->Document().format, c.format);
    D().New();
    D().OpenDocument(docs.File(c.name));
    EXPECT_EQ(Dump(window->Tree()), before) << c.name;
    EXPECT_EQ(window->Document().format, c.format);
    EXPECT_EQ(window->Session().TextHistory.front(), docs.File(c.name));
    EXPECT_TRUE(window->Tree().GetFirstNode()->Expanded());
    // Save writes the file's own format back.
    window->Tree().SetText(window->Tree().LastPage(), "B2");
    window->Document().DocModified = true;
    EXPECT_EQ(D().Save(), TSaveResult::Saved);
    D().OpenDocument(docs.File(c.name));
    EXPECT_EQ(window->Tree().LastPage()->Text(), "B2");
    window->Tree().SetText(window->Tree().LastPage(), "B");
  }
  EXPECT_TRUE(prompts->errors.empty());
}

TEST_F(ExchangeFormatsWindowTest, NeverWritesAnotherFormatOverAPk2WithoutTheSaveAsQuestion) {
  window->Config().TextSave = true;
  const std::string pk2 = docs.File("doc.pk2");
  D().SaveBinary(pk2);
  const std::string image = docs.Read("doc.pk2");
  window->Document().format = TDocumentFormat::Opml;  // as if read from OPML under that name
  const int asked = dialogs->asked;
  EXPECT_EQ(D().Save(), TSaveResult::Cancelled);
  EXPECT_EQ(dialogs->asked, asked + 1);
  EXPECT_EQ(docs.Read("doc.pk2"), image);
}

TEST_F(ExchangeFormatsWindowTest, AsksBeforeReplacingWhatShiftJisCannotHold) {
  const std::string path = docs.Write("emoji.md", "# ok\nline\n\xF0\x9F\x98\x80\n");
  const std::string before = Dump(window->Tree());
  prompts->answers.push_back(TAnswer::No);
  EXPECT_FALSE(D().OpenText(path));
  EXPECT_EQ(prompts->questions.back(), Sj("3 行目に Shift JIS で表せない文字があります。「〓」に置き換えて読み込みますか？"));
  EXPECT_EQ(Dump(window->Tree()), before);
  prompts->answers.push_back(TAnswer::Yes);
  EXPECT_TRUE(D().OpenText(path));
  EXPECT_EQ(window->Tree().GetFirstNode()->Data()->Body(), Sj("line\r\n〓\r\n"));
  D().OpenText(docs.Write("bad.opml", "<opml><body>\n<outline text='x'>\n</body></opml>"));
  EXPECT_EQ(prompts->errors.back(), Sj("OPML ファイルとして読めません。（3 行目）"));
}

TEST_F(ExchangeFormatsWindowTest, DropAndImportPutPagesAfterTheSelectedPage) {
  Select(window->Tree().GetFirstNode());
  D().FilesDropped({QString::fromStdString(docs.Write("more.md", "# X\nx\n## Y\n"))});
  D().DropInsert();
  EXPECT_EQ(Dump(window->Tree()), Sj("親 & <子> .一 .二 X .Y B"));
  EXPECT_EQ(window->SelectedPage()->Text(), "X");
  EXPECT_TRUE(window->Document().DocModified);
  window->Exchange().InsertWZText(docs.Write("more.opml", "<opml><body><outline text='O'/></body></opml>"));
  EXPECT_EQ(Dump(window->Tree()), Sj("親 & <子> .一 .二 X .Y O B"));
}

TEST_F(ExchangeFormatsWindowTest, WarnsOfControlBytesLeftOutOfXml) {
  window->Tree().GetFirstNode()->GetFirstChild()->Data()->SetBody(std::string("a\x01" "b\r\n"));
  SaveAs("ctl.opml", 3);
  EXPECT_EQ(prompts->infos.back(), Sj("XML で表せない制御文字を省いて保存しました。\n\n最初のページ：一"));
  EXPECT_EQ(docs.Read("ctl.opml").find('\x01'), std::string::npos);
}

TEST_F(ExchangeFormatsWindowTest, HeadlessChromiumLoadsTheSavedHtml) {
  ASSERT_TRUE(HaveProgram("chromium")) << "Debian's chromium package is needed";
  SaveAs("page", 5);
  const std::string html = docs.File("page.html");
  ASSERT_TRUE(FileExists(html));
  EXPECT_EQ(window->Document().path, docs.File("doc.txt"));  // an export: the document keeps its file
  const std::string url = "file://" + html;
  auto run = [&](const std::string& action) {
    TTempDir profile;
    return RunChild({"timeout", "120", "chromium", "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--window-size=1000,1300", "--user-data-dir=" + profile.Path(), action, url});
  };
  const TChildResult dom = run("--dump-dom");
  ASSERT_EQ(dom.exitCode, 0) << dom.err;
  EXPECT_NE(dom.out.find("<title>page</title>"), std::string::npos) << dom.out;
  EXPECT_EQ(Count(dom.out, "<section class=\"page\""), static_cast<std::size_t>(window->Tree().Count()));
  for (int i = 1; i <= window->Tree().Count(); ++i) {
    const std::string id = "p" + std::to_string(i);
    EXPECT_NE(dom.out.find("<a href=\"#" + id + "\">"), std::string::npos) << id;
    EXPECT_NE(dom.out.find("id=\"" + id + "\""), std::string::npos) << id;
  }
  EXPECT_NE(dom.out.find("<h1>" + std::string("\xE8\xA6\xAA") + " &amp; &lt;" + "\xE5\xAD\x90" + "&gt;</h1>"), std::string::npos);
  // A picture for a person to look at: kept where NUV_E2E_SHOTS points, as the
  // end-to-end cases keep theirs, and otherwise only in the temporary folder.
  const char* shots = std::getenv("NUV_E2E_SHOTS");
  const std::string shot = shots != nullptr && *shots != '\0'
                               ? (std::filesystem::path(shots) / "exchange-html.png").string()
                               : docs.File("exchange-html.png");
  const TChildResult png = run("--screenshot=" + shot);
  EXPECT_EQ(png.exitCode, 0) << png.err;
  EXPECT_GT(std::filesystem::file_size(shot), 1000u);
}

}  // namespace
}  // namespace nuv::test
