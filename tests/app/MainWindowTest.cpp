// The main window driven like a user would: opening, the page switch and its
// flags, the close query, saving in both formats, and refused input.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLineEdit>
#include <QUrl>

#include "app/DocumentController.h"
#include "app/NuvStatusBar.h"
#include "base/FileIo.h"
#include "base/IniFile.h"
#include "outline/BinaryFormat.h"
#include "outline/OutlineTexts.h"
#include "outline/PagePictures.h"
#include "support/OutlineFixtures.h"
#include "support/WindowFixture.h"

namespace nuv::test {

namespace {

const char* kThreePages = ".A\r\nbody A\r\n..B\r\nbody B\r\n.C\r\n";

class MainWindowTest : public WindowTest {
 protected:
  std::string BinaryDoc(const std::string& name) {
    TOutlineTree tree;
    BuildPlanExample(tree);
    const std::string path = docs.File(name);
    WriteBinary(path, tree, nullptr);
    return path;
  }
};

TEST_F(MainWindowTest, OpensTheCommandLineDocumentAndShowsItsFirstPage) {
  const std::string path = docs.Write("three.txt", kThreePages);
  Start({QString::fromStdString(path)});
  EXPECT_EQ(Dump(window->Tree()), "A .B C");
  ASSERT_NE(window->SelectedPage(), nullptr);
  EXPECT_EQ(window->SelectedPage()->Text(), "A");
  EXPECT_EQ(window->Editor().Text(), "body A\r\n");
  EXPECT_EQ(window->TitleBox()->text(), "A");
  EXPECT_EQ(window->windowTitle(), QString::fromStdString(path) + " - nuv");
  EXPECT_EQ(window->Status()->Panel(2), "1 : 1");
  EXPECT_FALSE(window->Document().Modified());
  EXPECT_TRUE(Close());
  EXPECT_TRUE(prompts->questions.empty());  // an untouched document asks nothing
}

TEST_F(MainWindowTest, ThePageSwitchStoresEditedTextAndSetsTheFlags) {
  Start({QString::fromStdString(docs.Write("three.txt", kThreePages))});
  TTreeNode* a = window->Tree().GetNodeAt(0);
  TTreeNode* b = window->Tree().GetNodeAt(1);
  window->Status()->ShowMessage("message");
  Type("more ");
  EXPECT_TRUE(window->Document().DocModified);
  EXPECT_EQ(window->Status()->Panel(0), QString::fromUtf8("変更"));
  EXPECT_FALSE(window->Status()->InMessageMode());
  Select(b);
  EXPECT_EQ(a->Data()->Body(), "more body A\r\n");
  EXPECT_EQ(window->Editor().Text(), "body B\r\n");
  EXPECT_FALSE(window->Editor().Modified());
  Select(a);
  EXPECT_EQ(window->Editor().Text(), "more body A\r\n");
  EXPECT_EQ(window->Editor().SelStart(), 5);  // the caret comes back where it was
}

TEST_F(MainWindowTest, ANewPageTakesItsTitleFromTheFirstLine) {
  Start();
  ASSERT_EQ(window->Tree().Count(), 1);
  EXPECT_EQ(window->TitleBox()->text(), QString::fromUtf8("無題"));
  EXPECT_FALSE(window->Document().Modified());
  Type(QString::fromUtf8("  日本語の見出し  \nbody"));
  dialogs->answers.push_back(TFileChoice{QString::fromStdString(docs.File("new")), 0});
  ASSERT_EQ(window->Documents().Save(), TSaveResult::Saved);
  EXPECT_EQ(window->Tree().GetFirstNode()->Text(), Sj("日本語の見出し"));
  EXPECT_TRUE(dialogs->proposals.front().endsWith(QString::fromUtf8("/日本語の見出し")));
  TOutlineTree back;
  ASSERT_TRUE(ReadBinary(docs.File("new.pk2"), TFormatOptions{}, back).ok);
  EXPECT_EQ(back.GetFirstNode()->Data()->Body(), Sj("  日本語の見出し  \r\nbody\r\n"));
  EXPECT_EQ(window->windowTitle().toStdString(), docs.File("new.pk2") + " - nuv");
  EXPECT_FALSE(window->Document().Modified());
}

TEST_F(MainWindowTest, CloseAsksForAChangedDocument) {
  Start({QString::fromStdString(docs.Write("three.txt", kThreePages))});
  Type("x");
  prompts->answers = {TAnswer::Cancel};
  EXPECT_FALSE(Close());
  EXPECT_EQ(prompts->questions.back(), Sj("ファイルが変更されています。保存しますか？"));
  prompts->answers = {TAnswer::No};
  EXPECT_TRUE(Close());
}

TEST_F(MainWindowTest, AlwaysSaveCountsForBinaryDocumentsOnly) {
  WriteIni("Action", "AlwaysSave", "1");
  Destroy();
  Create();
  Start({QString::fromStdString(BinaryDoc("plan.pk2"))});
  Select(window->Tree().GetNodeAt(1));
  prompts->answers = {TAnswer::No};
  EXPECT_TRUE(Close());
  EXPECT_EQ(prompts->questions.size(), 1u);
  Destroy();
  Create();
  Start({QString::fromStdString(docs.Write("three.txt", kThreePages))});
  Select(window->Tree().GetNodeAt(1));
  EXPECT_TRUE(window->Document().ViewDirty);
  EXPECT_TRUE(Close());
  EXPECT_TRUE(prompts->questions.empty());
}

TEST_F(MainWindowTest, NoAskSaveOnANeverSavedDocumentOpensSaveAs) {
  WriteIni("Action", "NoAskSave", "1");
  Destroy();
  Create();
  Start();
  Type("text");
  EXPECT_FALSE(Close());  // the dialog was cancelled: the window stays
  EXPECT_EQ(dialogs->asked, 1);
  EXPECT_TRUE(prompts->questions.empty());
  dialogs->answers.push_back(TFileChoice{QString::fromStdString(docs.File("kept.txt")), 0});
  EXPECT_TRUE(Close());
  EXPECT_TRUE(FileExists(docs.File("kept.pk2")));
}

TEST_F(MainWindowTest, FurtherCommandLineFilesGoToTheDesktop) {
  const std::string first = docs.Write("one.txt", ".one\r\n");
  const std::string second = docs.Write("two.txt", "2");
  const std::string third = docs.Write("three.pdf", "3");
  Start({QString::fromStdString(first), QString::fromStdString(second), QString::fromStdString(third)});
  EXPECT_EQ(Dump(window->Tree()), "one");
  EXPECT_EQ(launcher->desktop, QStringList({QString::fromStdString(second), QString::fromStdString(third)}));
}

TEST_F(MainWindowTest, CaretPositionCountsFromOneOrFromZero) {
  Start({QString::fromStdString(docs.Write("three.txt", kThreePages))});
  EXPECT_EQ(window->Status()->Panel(2), "1 : 1");
  window->Editor().SetSelStart(3);
  EXPECT_EQ(window->Status()->Panel(2), "1 : 4");
  WriteIni("EditView", "ZeroBase", "1");
  Destroy();
  Create();
  Start({QString::fromStdString(docs.File("three.txt"))});
  EXPECT_EQ(window->Status()->Panel(2), "0 : 0");
}

TEST_F(MainWindowTest, TheTrashPageIsReadOnly) {
  Start({QString::fromStdString(BinaryDoc("plan.pk2"))});
  TTreeNode* trash = window->Tree().GetLastRootPage();
  ASSERT_EQ(trash->ImageIndex(), pic::kTrashEmpty);
  Select(trash);
  EXPECT_FALSE(window->TitleBox()->isEnabled());
  EXPECT_TRUE(window->TreeReadOnly());
  EXPECT_FALSE(window->MarkCommandEnabled());
  Select(window->Tree().GetFirstNode());
  EXPECT_TRUE(window->TitleBox()->isEnabled());
  EXPECT_FALSE(window->TreeReadOnly());
}

TEST_F(MainWindowTest, TheTitleBoxRenamesThePageAndHoldsAt250Bytes) {
  Start({QString::fromStdString(docs.Write("three.txt", kThreePages))});
  window->TitleBox()->setText(QString::fromUtf8("新しい題"));
  EXPECT_EQ(window->Tree().GetFirstNode()->Text(), Sj("新しい題"));
  EXPECT_TRUE(window->Document().DocModified);
  EXPECT_TRUE(window->Document().PageDirty);
  QString longTitle(125, QChar(0x3042));  // 125 hiragana = 250 bytes
  int pos = 0;
  EXPECT_EQ(window->TitleBox()->validator()->validate(longTitle, pos), QValidator::Acceptable);
  QString tooLong = longTitle + "x";
  EXPECT_EQ(window->TitleBox()->validator()->validate(tooLong, pos), QValidator::Invalid);
  QString emoji = QString::fromUtf8("\xf0\x9f\x98\x80");
  EXPECT_EQ(window->TitleBox()->validator()->validate(emoji, pos), QValidator::Invalid);
}

TEST_F(MainWindowTest, TextShiftJisCannotHoldIsRefused) {
  Start({QString::fromStdString(docs.Write("three.txt", kThreePages))});
  window->PageEditor()->setFocus();
  QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("\xf0\x9f\x98\x80"));
  QApplication::sendEvent(window->PageEditor(), &key);
  QApplication::clipboard()->setText(QString::fromUtf8("caf\xc3\xa9"));
  window->Editor().PasteFromClipboard();
  EXPECT_EQ(window->Editor().Text(), "body A\r\n");
  EXPECT_EQ(prompts->errors.size(), 2u);
  EXPECT_EQ(prompts->errors.front(), Sj("Shift JIS で表せない文字は入力できません。"));
  QApplication::clipboard()->setText(QString::fromUtf8("～表"));
  window->Editor().PasteFromClipboard();
  EXPECT_EQ(window->Editor().Text(), Sj("～表body A\r\n"));
}

TEST_F(MainWindowTest, AFailedReadLeavesTheOpenDocument) {
  const std::string path = docs.Write("three.txt", kThreePages);
  Start({QString::fromStdString(path)});
  EXPECT_FALSE(window->Documents().OpenBinary(docs.Write("bad.pk2", "\x05\x00\x00\x00ab")));
  EXPECT_EQ(prompts->errors.back(), Sj("ファイルの読込時にエラーが発生しました。"));
  EXPECT_TRUE(prompts->reasons.empty());  // a damaged file is no system failure
  EXPECT_EQ(Dump(window->Tree()), "A .B C");
  EXPECT_EQ(window->Document().path, path);
}

TEST_F(MainWindowTest, SaveWritesEitherFormat) {
  const std::string pk2 = BinaryDoc("plan.pk2");
  Start({QString::fromStdString(pk2)});
  Type("typed ");
  ASSERT_EQ(window->Documents().Save(), TSaveResult::Saved);
  EXPECT_EQ(window->Status()->Message(), QString::fromUtf8("ファイルを保存しました"));
  EXPECT_EQ(window->Status()->Panel(0), "");
  TOutlineTree back;
  ASSERT_TRUE(ReadBinary(pk2, TFormatOptions{}, back).ok);
  EXPECT_EQ(back.GetFirstNode()->Data()->Body(), "typed \r\n");
  // Save as hierarchical text with TextSave off writes the file but keeps the document's name.
  dialogs->answers.push_back(TFileChoice{QString::fromStdString(docs.File("copy")), 1});
  Type("more");
  ASSERT_EQ(window->Documents().SaveAs(), TSaveResult::Saved);
  EXPECT_TRUE(FileExists(docs.File("copy.txt")));
  EXPECT_EQ(window->Document().path, pk2);
  EXPECT_TRUE(window->Document().DocModified);
  // A failed write keeps the old file and says so.
  testhooks::FailWritesAfter(5);
  EXPECT_EQ(window->Documents().Save(), TSaveResult::Failed);
  testhooks::FailWritesAfter(-1);
  EXPECT_EQ(prompts->errors.back(), Sj("ファイルの書込時にエラーが発生しました。"));
  ASSERT_EQ(prompts->reasons.size(), 1u);  // with the system's reason beside it
  EXPECT_EQ(prompts->reasons.back(), std::strerror(ENOSPC));
  TOutlineTree intact;
  ASSERT_TRUE(ReadBinary(pk2, TFormatOptions{}, intact).ok);
  EXPECT_EQ(intact.GetFirstNode()->Data()->Body(), "typed \r\n");
}

TEST_F(MainWindowTest, WithoutArgumentsTheLastDocumentOpensAgain) {
  const std::string path = docs.Write("three.txt", kThreePages);
  Start({QString::fromStdString(path)});
  ASSERT_TRUE(Close());
  Destroy();
  Create();
  Start();
  EXPECT_EQ(window->Document().path, path);
  EXPECT_EQ(Dump(window->Tree()), "A .B C");
  WriteIni("Action", "OpenLastFile", "0");
  Destroy();
  Create();
  Start();
  EXPECT_EQ(window->Tree().Count(), 1);
  EXPECT_EQ(window->Tree().GetFirstNode()->Text(), Sj("無題"));
}

TEST_F(MainWindowTest, AMissingBinaryDocumentStartsANewDocumentUnderItsName) {
  const std::string path = docs.File("future.pk2");
  Start({QString::fromStdString(path)});
  EXPECT_EQ(window->Tree().Count(), 1);
  EXPECT_EQ(window->Document().path, path);
  Type("x");
  ASSERT_EQ(window->Documents().Save(), TSaveResult::Saved);
  EXPECT_TRUE(FileExists(path));
}

}  // namespace
}  // namespace nuv::test
