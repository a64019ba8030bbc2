// The document lifecycle in the real window: saving by format and TextSave,
// save as, backups, histories, dropped files, the document-folder menu,
// per-document settings and dialog placement.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QGuiApplication>
#include <QMenu>

#include "app/DialogPlacement.h"
#include "app/DocumentController.h"
#include "app/OutlineModel.h"
#include "base/FileIo.h"
#include "base/IniFile.h"
#include "outline/BinaryFormat.h"
#include "outline/TextFormat.h"
#include "support/OutlineFixtures.h"
#include "support/WindowFixture.h"

namespace nuv::test {
namespace {

const char* kDoc = ".A\r\nbody A\r\n.B\r\n";

class LifecycleTest : public WindowTest {
 protected:
  void Restart(const QStringList& args = {}) {
    Destroy();
    Create();
    Start(args);
  }
  TDocumentController& Docs() { return window->Documents(); }
  TFileChoice Choice(const std::string& path, int filter, bool noTitles = false) {
    return TFileChoice{QString::fromStdString(path), filter, noTitles};
  }
};

TEST_F(LifecycleTest, TheHourglassShowsWhileADocumentIsReadOrWritten) {
  Start();
  std::vector<bool> waiting;
  const auto record = [&] {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    waiting.push_back(cursor && cursor->shape() == Qt::WaitCursor);
  };
  // Every read replaces the tree, and every write under a new name changes the caption.
  QObject::connect(&window->Model(), &QAbstractItemModel::modelReset, record);
  QObject::connect(window.get(), &QWidget::windowTitleChanged, record);
  const auto allWaited = [&] {
    const bool all = !waiting.empty() && std::count(waiting.begin(), waiting.end(), false) == 0;
    waiting.clear();
    return all && QGuiApplication::overrideCursor() == nullptr;
  };
  ASSERT_TRUE(Docs().OpenText(docs.Write("doc.txt", kDoc)));
  EXPECT_TRUE(allWaited());
  const std::string pk2 = docs.File("doc.pk2");
  ASSERT_EQ(Docs().SaveBinary(pk2), TSaveResult::Saved);
  EXPECT_TRUE(allWaited());
  window->Config().TextSave = true;
  ASSERT_EQ(Docs().SaveText(docs.File("again.txt"), false), TSaveResult::Saved);
  EXPECT_TRUE(allWaited());
  Docs().New();
  waiting.clear();
  ASSERT_TRUE(Docs().OpenBinary(pk2));
  EXPECT_TRUE(allWaited());
}

TEST_F(LifecycleTest, SaveOfATextDocumentFollowsTextSave) {
  const std::string path = docs.Write("doc.txt", kDoc);
  Start({QString::fromStdString(path)});
  Type("x");
  EXPECT_EQ(Docs().Save(), TSaveResult::Cancelled);  // TextSave off: save as, cancelled here
  EXPECT_EQ(dialogs->asked, 1);
  WriteIni("Action", "TextSave", "1");
  Restart({QString::fromStdString(path)});
  Type("y");
  EXPECT_EQ(Docs().Save(), TSaveResult::Saved);
  EXPECT_EQ(dialogs->asked, 0);
  EXPECT_EQ(docs.Read("doc.txt"), ".A\r\nybody A\r\n.B\r\n");
  EXPECT_FALSE(window->Document().Modified());
}

TEST_F(LifecycleTest, SaveAsTextWithoutTextSaveKeepsTheDocumentsName) {
  const std::string pk2 = docs.File("doc.pk2");
  Start({QString::fromStdString(docs.Write("doc.txt", kDoc))});
  dialogs->answers.push_back(Choice(pk2, 0));
  ASSERT_EQ(Docs().SaveAs(), TSaveResult::Saved);
  Type("z");
  dialogs->answers.push_back(Choice(docs.File("export"), 1, true));
  ASSERT_EQ(Docs().SaveAs(), TSaveResult::Saved);
  EXPECT_EQ(docs.Read("export.txt"), ".zbody A\r\n.\r\n");  // titles left out
  EXPECT_EQ(window->Document().path, pk2);
  EXPECT_EQ(window->windowTitle().toStdString(), pk2 + " - nuv");
  EXPECT_TRUE(window->Document().DocModified);
}

TEST_F(LifecycleTest, SaveAsAsksAboutTheFileItWillWrite) {
  Start({QString::fromStdString(docs.Write("doc.txt", kDoc))});
  docs.Write("name.txt", "other");
  dialogs->answers.push_back(Choice(docs.File("name.txt"), 0));
  ASSERT_EQ(Docs().SaveAs(), TSaveResult::Saved);  // name.pk2 does not exist: no question
  EXPECT_TRUE(prompts->questions.empty());
  EXPECT_EQ(docs.Read("name.txt"), "other");
  prompts->answers = {TAnswer::No};
  dialogs->answers.push_back(Choice(docs.File("name.txt"), 0));
  EXPECT_EQ(Docs().SaveAs(), TSaveResult::Cancelled);  // now name.pk2 exists
  EXPECT_EQ(prompts->questions.back(), Sj("ファイルが存在します。上書きしますか？"));
}

TEST_F(LifecycleTest, TheProposedNameDropsSeparatorsAndTheExtension) {
  TOutlineTree tree;
  tree.EnsureData(tree.Add(nullptr, Sj("2026/12 会議:議事録,版*?.txt"))).SetBody("x\r\n");
  WriteBinary(docs.File("t.pk2"), tree, nullptr);
  Start({QString::fromStdString(docs.File("t.pk2"))});
  EXPECT_EQ(Docs().ProposedFileName(), "202612 会議議事録版");
  TOutlineTree trail;
  trail.Add(nullptr, Sj("表示\\ソース.bak"));  // a backslash that is a trail byte stays
  WriteBinary(docs.File("u.pk2"), trail, nullptr);
  Docs().OpenBinary(docs.File("u.pk2"));
  EXPECT_EQ(Docs().ProposedFileName(), "表示ソース");
}

TEST_F(LifecycleTest, ABinaryDocumentIsSavedBinaryWhateverItsName) {
  TOutlineTree tree;
  test::BuildPlanExample(tree);
  WriteBinary(docs.File("plan.nuv"), tree, nullptr);
  WriteIni("Action", "TextSave", "1");
  Restart();
  ASSERT_TRUE(Docs().OpenBinary(docs.File("plan.nuv")));
  Type("edit");
  ASSERT_EQ(Docs().Save(), TSaveResult::Saved);
  TOutlineTree back;
  EXPECT_TRUE(ReadBinary(docs.File("plan.nuv"), TFormatOptions{}, back).ok);
}

TEST_F(LifecycleTest, ACancelledSaveNeverDiscardsTheDocument) {
  Start({QString::fromStdString(docs.Write("doc.txt", kDoc))});
  Type("keep me ");
  prompts->answers = {TAnswer::Yes};
  Docs().New();  // Yes, then the save-as dialog is cancelled
  EXPECT_EQ(Dump(window->Tree()), "A B");
  EXPECT_TRUE(window->Document().DocModified);
  prompts->answers = {TAnswer::Yes};
  EXPECT_FALSE(Docs().AskSave());
  prompts->answers = {TAnswer::No};
  Docs().New();
  EXPECT_EQ(Dump(window->Tree()), Sj("無題"));
  EXPECT_EQ(window->windowTitle(), "nuv");
  EXPECT_FALSE(window->Document().Modified());
  EXPECT_EQ(window->Document().path, docs.Path());  // the new document starts in the old folder
}

TEST_F(LifecycleTest, BackupsBesideTheDocumentOrInTheBackupFolder) {
  TOutlineTree tree;
  test::BuildPlanExample(tree);
  WriteBinary(docs.File("plan.pk2"), tree, nullptr);
  const std::string original = docs.Read("plan.pk2");
  WriteIni("Action", "Backup", "1");
  Restart({QString::fromStdString(docs.File("plan.pk2"))});
  Type("a");
  ASSERT_EQ(Docs().Save(), TSaveResult::Saved);
  EXPECT_EQ(docs.Read("plan.bak"), original);
  WriteIni("Path", "Backup", docs.File("backups/deep"));
  Restart({QString::fromStdString(docs.File("plan.pk2"))});
  Type("b");
  ASSERT_EQ(Docs().Save(), TSaveResult::Saved);
  EXPECT_TRUE(FileExists(docs.File("backups/deep/plan.bak")));
  // A folder that cannot be made: the message, and the save still happens.
  docs.Write("blocked", "a file in the way");
  WriteIni("Path", "Backup", docs.File("blocked/inner"));
  Restart({QString::fromStdString(docs.File("plan.pk2"))});
  Type("c");
  EXPECT_EQ(Docs().Save(), TSaveResult::Saved);
  EXPECT_EQ(prompts->errors.back(), Sj("バックアップファイルの作成に失敗しました。"));
}

TEST_F(LifecycleTest, HistoriesHoldTwelveEntriesNewestFirst) {
  Start();
  for (int i = 0; i < 14; ++i) {
    const std::string path = docs.Write("d" + std::to_string(i) + ".txt", ".p\r\n");
    ASSERT_TRUE(Docs().OpenText(path));
  }
  const auto& history = window->Session().TextHistory;
  ASSERT_EQ(history.size(), 12u);
  EXPECT_EQ(history.front(), docs.File("d13.txt"));
  EXPECT_EQ(Docs().miTextHistory->actions().size(), 12);
  Docs().OpenText(docs.File("d5.txt"));
  EXPECT_EQ(history.front(), docs.File("d5.txt"));
  EXPECT_EQ(history.size(), 12u);
  // A missing file's entry shows the message and stays.
  std::filesystem::remove(docs.File("d13.txt"));
  for (QAction* item : Docs().miTextHistory->actions())
    if (item->text().toStdString() == docs.File("d13.txt")) item->trigger();
  EXPECT_EQ(prompts->errors.back(), Sj("ファイルが見つかりません。"));
}

TEST_F(LifecycleTest, DroppedFilesOpenHereOrInNewWindows) {
  Start();
  const std::string a = docs.Write("a.txt", ".a\r\n");
  const std::string b = docs.Write("b.txt", ".b\r\n");
  Docs().FilesDropped({QString::fromStdString(a), QString::fromStdString(b)});
  Docs().DropOpen();
  EXPECT_EQ(Dump(window->Tree()), "a");
  EXPECT_EQ(launcher->newWindows, QStringList{QString::fromStdString(b)});
  Type("changed");
  launcher->newWindows.clear();
  Docs().DropOpen();
  EXPECT_EQ(launcher->newWindows, QStringList({QString::fromStdString(a), QString::fromStdString(b)}));
  window->Editor().SetSelStart(0);
  Docs().DropInsert();
  EXPECT_EQ(window->Editor().Text().substr(0, 8), ".a\r\n.b\r\n");
}

TEST_F(LifecycleTest, TheFolderMenuListsDocumentsWithTheirFullPaths) {
  TOutlineTree tree;
  test::BuildPlanExample(tree);
  WriteBinary(docs.File("one.pk2"), tree, nullptr);
  WriteBinary(docs.File("two.pk2"), tree, nullptr);
  docs.Write("note.txt", "x");
  Start({QString::fromStdString(docs.File("one.pk2"))});
  QStringList items;
  for (QAction* a : Docs().pmFolder->actions()) items.append(a->text());
  items.sort();
  EXPECT_EQ(items, QStringList({"one.pk2", "two.pk2"}));
  // Another document elsewhere does not redirect the items.
  TTempDir other;
  Docs().OpenText(other.Write("x.txt", ".x\r\n"));
  for (QAction* a : Docs().pmFolder->actions())
    if (a->text() == "two.pk2") a->trigger();
  EXPECT_EQ(window->Document().path, docs.File("two.pk2"));
}

TEST_F(LifecycleTest, ADocumentsOwnSettingsFileIsLoadedAndKeepsItsChanges) {
  TOutlineTree tree;
  test::BuildPlanExample(tree);
  WriteBinary(docs.File("plan.pk2"), tree, nullptr);
  docs.Write("plan.ini", "; mine\r\n[Label]\r\nShowLabel1=1\r\n[Foreign]\r\nkeep=yes\r\n");
  WriteIni("Window", "WinWidth", "700");
  Start({QString::fromStdString(docs.File("plan.pk2"))});
  EXPECT_TRUE(window->Config().ShowLabel1);
  EXPECT_EQ(window->Config().CurrentFile(), docs.File("plan.ini"));
  EXPECT_EQ(window->Tree().GetFirstNode()->StateIndex(), 7);  // read with the document's label settings
  window->Config().UseTrash = false;
  ASSERT_TRUE(Close());
  TIniFile own(docs.File("plan.ini"));
  EXPECT_FALSE(own.ReadBool("Action", "UseTrash", true));
  EXPECT_EQ(own.ReadString("Foreign", "keep", ""), "yes");
  EXPECT_EQ(docs.Read("plan.ini").rfind("; mine\r\n", 0), 0u);
  TIniFile main(home.File("nuv.ini"));
  EXPECT_TRUE(main.ValueExists("Window", "WinWidth"));  // the window's sections stay in nuv.ini
}

TEST_F(LifecycleTest, NamedSettingsFilesAreListed) {
  docs.Write("unused", "");
  TIniFile(home.File("work.ini")).SaveAs(home.File("work.ini"));
  WriteIni("Action", "UseTrash", "1");
  Restart();
  QStringList captions;
  for (QAction* a : Docs().miSettingsFiles->actions()) captions.append(a->text() + (a->isChecked() ? "*" : ""));
  EXPECT_EQ(captions, QStringList({"nuv.ini*", "work.ini"}));
}

TEST_F(LifecycleTest, PalmDocFilesAreSavedAsMeDocAndOpenAsPages) {
  const std::string path = docs.Write("doc.txt", ".A\r\nbody A\r\n..A1\r\nchild\r\n.B\r\n");
  Start({QString::fromStdString(path)});
  dialogs->answers.push_back(Choice(docs.File("book"), 2));
  ASSERT_EQ(Docs().SaveAs(), TSaveResult::Saved);
  EXPECT_TRUE(FileExists(docs.File("book.prc")));
  EXPECT_EQ(window->Document().path, path);  // the document keeps its name
  ASSERT_TRUE(Docs().OpenPalmDoc(docs.File("book.prc")));
  EXPECT_EQ(Dump(window->Tree()), "A .A1 B");
  EXPECT_EQ(window->Tree().GetFirstNode()->Data()->Body(), "body A\r\n");
  EXPECT_EQ(window->windowTitle(), "nuv");
  EXPECT_TRUE(window->Document().DocModified);
  EXPECT_FALSE(Docs().OpenPalmDoc(path));  // a text file is no Palm DOC
  EXPECT_EQ(prompts->errors.back(), Sj("DOCファイルの読み込みに失敗しました。"));
  EXPECT_EQ(Dump(window->Tree()), "A .A1 B");
}

TEST(DialogPlacementTest, CentredInsideTheWorkArea) {
  const QRect work(0, 0, 1000, 800);
  EXPECT_EQ(CenteredPosition(QRect(100, 100, 400, 300), QSize(201, 101), work), QPoint(199, 199));
  EXPECT_EQ(CenteredPosition(QRect(900, 700, 400, 300), QSize(300, 200), work), QPoint(700, 600));
  EXPECT_EQ(CenteredPosition(QRect(-500, -400, 100, 100), QSize(300, 200), work), QPoint(0, 0));
}

}  // namespace
}  // namespace nuv::test
