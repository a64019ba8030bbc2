// The import and export commands in the real window: text, hierarchical text
// and Palm DOC in; the page, the following pages, the children and a subtree
// out; no temporary file left behind.
#include <gtest/gtest.h>

#include <filesystem>

#include <QAction>
#include <QMenu>

#include "app/DocumentController.h"
#include "app/ExchangeController.h"
#include "app/NuvStatusBar.h"
#include "base/FileIo.h"
#include "base/ProgramFolder.h"
#include "exchange/PalmDocFile.h"
#include "support/OutlineFixtures.h"
#include "support/WindowFixture.h"

namespace nuv::test {
namespace {

class ExchangeWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Start({QString::fromStdString(docs.Write("doc.txt", Sj(".親: 題?\r\n親の本文\r\n..一\r\na\r\nb\r\n..二\r\n..三\r\nc\r\n.B\r\n")))});
  }
  TExchangeCommands& X() { return window->Exchange(); }
  std::string Decoded(const std::string& path, TPalmDocInfo* info = nullptr) {
    std::string text;
    EXPECT_EQ(ReadPalmDocFile(path, TPalmDocOptions{}, text, info), TPalmDocResult::Ok);
    return text;
  }
  bool TempFolderEmpty() { return std::filesystem::is_empty(TempFolder()); }
};

TEST_F(ExchangeWindowTest, InsertsTextAndPalmDocAtTheCaret) {
  window->Editor().SetSelStart(0);
  X().InsertText(docs.Write("plain.txt", "x\ny"));
  EXPECT_EQ(window->Editor().Text().substr(0, 6), "x\r\ny\r\n");
  WritePalmDocFile(docs.File("in.pdb"), Sj("パーム\r\n"), "t", TPalmDocOptions{});
  window->Editor().SetSelStart(0);
  X().InsertDocPrc(docs.File("in.pdb"));
  EXPECT_EQ(window->Editor().Text().substr(0, 8), Sj("パーム\r\n"));
  X().InsertDocPrc(docs.File("plain.txt"));  // not a Palm DOC
  EXPECT_EQ(prompts->errors.back(), Sj("DOCファイルの読み込みに失敗しました。"));
  EXPECT_TRUE(TempFolderEmpty());
}

TEST_F(ExchangeWindowTest, InsertsHierarchicalTextAsPages) {
  window->Document().ClearFlags();
  X().InsertWZText(docs.Write("more.txt", ".X\r\n..Y\r\n"));
  EXPECT_EQ(Dump(window->Tree()), Sj("親: 題? .一 .二 .三 X .Y B"));
  // The imported file heads the text history's menu at once.
  const QList<QAction*> history = window->Documents().miTextHistory->actions();
  ASSERT_FALSE(history.isEmpty());
  EXPECT_EQ(history.front()->text(), QString::fromStdString(docs.File("more.txt")));
  EXPECT_EQ(window->SelectedPage()->Text(), "X");
  EXPECT_TRUE(window->Document().DocModified);
}

TEST_F(ExchangeWindowTest, WritesThePageAsPalmDoc) {
  dialogs->answers.push_back(TFileChoice{QString::fromStdString(docs.File("book")), 2});
  X().acSaveToDoc->trigger();
  TPalmDocInfo info;
  EXPECT_EQ(Decoded(docs.File("book.prc"), &info), Sj("親の本文\r\n"));
  EXPECT_EQ(info.name, Sj("親: 題?"));  // the database name keeps the whole title
  EXPECT_TRUE(dialogs->proposals.back().endsWith(QString::fromUtf8("親 題.prc")));
  const std::string written = Sj("Docファイルを作成しました。");
  EXPECT_EQ(prompts->infos.back().substr(0, written.size()), written);
  EXPECT_TRUE(TempFolderEmpty());
}

TEST_F(ExchangeWindowTest, WritesTheChildrenAndTheFollowingPagesAsMeDoc) {
  X().SaveToMeDoc(docs.File("kids"));
  const std::string kids = Decoded(docs.File("kids.prc"));
  const std::string index = Sj("#!Medoc index 3\r\n5:一\r\n7:二\r\n7:三\r\n");
  EXPECT_EQ(kids.substr(0, index.size()), index);
  X().SaveToNodeMeDoc(docs.File("all.PRC"));
  EXPECT_TRUE(FileExists(docs.File("all.PRC")));
  EXPECT_EQ(Decoded(docs.File("all.PRC")).substr(0, 17), "#!Medoc index 5\r\n");
  EXPECT_EQ(window->Status()->Message(), QString::fromUtf8("ファイルを保存しました"));
  Select(window->Tree().GetLastRootPage());
  X().acSaveToMeDoc->trigger();  // B has no children
  EXPECT_EQ(prompts->infos.back(), Sj("１つ下の階層には、項目がありません。"));
  EXPECT_TRUE(TempFolderEmpty());
}

TEST_F(ExchangeWindowTest, WritesASubtreeAsHierarchicalText) {
  X().SaveToNodeWZText(docs.File("sub"), false);
  EXPECT_EQ(docs.Read("sub.txt"), Sj(".親: 題?\r\n親の本文\r\n..一\r\na\r\nb\r\n..二\r\n..三\r\nc\r\n"));
  X().SaveToNodeWZText(docs.File("bare.TXT"), true);
  EXPECT_EQ(docs.Read("bare.TXT"), Sj(".親の本文\r\n..a\r\nb\r\n..\r\n..c\r\n"));
}

}  // namespace
}  // namespace nuv::test
