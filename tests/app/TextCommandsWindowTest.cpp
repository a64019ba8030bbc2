// The text commands, auto-clipping and the conversions in the real window:
// what each command leaves in the page, with the keys a user presses.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QMimeData>
#include <cstdio>
#include <regex>

#include "app/AutoClipController.h"
#include "app/ConversionController.h"
#include "app/NuvStatusBar.h"
#include "app/QtText.h"
#include "app/TextCommandsController.h"
#include "base/FileIo.h"
#include "config/NuvConfig.h"
#include "editor/view/PageEditorView.h"
#include "outline/PageEditor.h"
#include "support/ChildProcess.h"
#include "support/WindowFixture.h"

namespace nuv::test {
namespace {

class TextCommandsWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Start({QString::fromStdString(docs.Write("doc.txt", ".A\r\nbody A\r\n.B\r\nbody B\r\n"))});
    QApplication::setActiveWindow(window.get());
  }
  TTreeNode* Page(const std::string& title) {
    for (TTreeNode* n = window->Tree().GetFirstNode(); n; n = n->GetNext())
      if (n->Text() == title) return n;
    return nullptr;
  }
  IPageEditor& Editor() { return window->Editor(); }
  TTextCommands& Commands() { return window->TextCommands(); }
  // Shows a text in the editor of page A, with the editor focused.
  void Show(const std::string& text) {
    Select(Page("A"));
    Editor().SetText(text);
    window->PageEditor()->setFocus();
  }
  void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), mods);
    QApplication::processEvents();
  }
};

TEST_F(TextCommandsWindowTest, MarkBoxComesFromMarkDatAndInsertsWhereTheFocusIs) {
  Destroy();
  home.Write("mark.dat", Sj("★\r\n※\r\n"));
  Create();
  Start({QString::fromStdString(docs.Write("doc2.txt", ".A\r\nabc\r\n"))});
  QApplication::setActiveWindow(window.get());
  QComboBox* marks = Commands().cbMark;
  ASSERT_EQ(marks->count(), 2);
  EXPECT_EQ(marks->currentText(), QString::fromUtf8("★"));
  Editor().SetSelStart(1);
  window->PageEditor()->setFocus();
  Key(Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Editor().Text(), Sj("a★bc\r\n"));
  window->TitleBox()->setFocus();
  window->TitleBox()->setCursorPosition(0);
  marks->setCurrentIndex(1);
  Commands().acInsMark->trigger();
  EXPECT_EQ(window->TitleBox()->text(), QString::fromUtf8("※A"));
}

TEST_F(TextCommandsWindowTest, NoMarkDatLeavesTheBoxEmpty) {
  EXPECT_EQ(Commands().cbMark->count(), 0);
  Show("abc\r\n");
  Commands().acInsMark->trigger();
  EXPECT_EQ(Editor().Text(), "abc\r\n");
}

TEST_F(TextCommandsWindowTest, SelectionToTitleAppliesTheTitleRule) {
  std::string kanji;
  for (int i = 0; i < 200; ++i) kanji += Sj("表");
  struct Case {
    std::string selected;
    std::string title;
  } cases[] = {
      {"  \t ", ""},                                  // only blanks: an empty title
      {"  first line \r\nsecond\r\n", "first line"},  // trimmed, the first line only
      {"\r\n\r\n  later\r\n", "later"},               // leading line breaks are blanks
      {kanji, kanji.substr(0, 250)},                  // 250 bytes, no character split
      {std::string(249, 'a') + Sj("表"), std::string(249, 'a')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    Show(c.selected + "\r\ntail\r\n");
    Editor().SetSelection(0, static_cast<int>(c.selected.size()));
    Commands().Update();
    ASSERT_TRUE(Commands().acSelToTitle->isEnabled());
    Commands().acSelToTitle->trigger();
    EXPECT_EQ(ToSjisOrEmpty(window->TitleBox()->text()), c.title);
    EXPECT_EQ(Page(c.title), window->SelectedPage());
  }
  Editor().SetSelStart(0);
  Commands().Update();
  EXPECT_FALSE(Commands().acSelToTitle->isEnabled());
}

TEST_F(TextCommandsWindowTest, BracketsWrapTheSelectionOrMeetAtTheCaret) {
  const struct {
    int key;
    const char* withSelection;
    const char* empty;
  } cases[] = {
      {Qt::Key_F1, "a/*bc*/d", "a/**/bcd"},
      {Qt::Key_F2, "a{*bc*}d", "a{**}bcd"},
      {Qt::Key_F3, "a{!bc!}d", "a{!!}bcd"},
      {Qt::Key_F4, "a「bc」d", "a「」bcd"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.withSelection);
    Show("abcd\r\n");
    Editor().SetSelection(1, 2);
    Key(c.key, Qt::ControlModifier);
    EXPECT_EQ(Editor().Text(), Sj(c.withSelection) + "\r\n");
    // The caret ends after the inserted text.
    EXPECT_EQ(Editor().SelStart(), static_cast<int>(Sj(c.withSelection).size()) - 1);
    Show("abcd\r\n");
    Editor().SetSelStart(1);
    Key(c.key, Qt::ControlModifier);
    EXPECT_EQ(Editor().Text(), Sj(c.empty) + "\r\n");
  }
}

TEST_F(TextCommandsWindowTest, DeleteKeysReachTheWindowCommandsFromTheEditor) {
  // Shift+Delete deletes the line; with DelViewLine only the display row.
  const std::string x30(30, 'x');
  for (bool viewLine : {false, true}) {
    SCOPED_TRACE(viewLine);
    window->Config().DelViewLine = viewLine;
    Show("one\r\n" + x30 + "\r\nthree\r\n");
    auto* view = static_cast<TPageEditorView*>(window->PageEditor());
    view->Editor().SetWordWrap(true);
    view->Editor().WrapOption().SetWrapByte(20);
    Editor().SetSelStart(7);
    Key(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(Editor().Text(), viewLine ? "one\r\n" + std::string(10, 'x') + "\r\nthree\r\n" : "one\r\nthree\r\n");
  }
  window->Config().DelViewLine = false;
  Show("one\r\ntwo\r\nthree\r\n");
  Editor().SetSelStart(6);
  Key(Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_EQ(Editor().Text(), "one\r\nthree\r\n");
  // Ctrl+Delete deletes to the line end and keeps the line.
  Show("one\r\ntwo\r\nthree\r\n");
  Editor().SetSelStart(5);
  Key(Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(Editor().Text(), "one\r\n\r\nthree\r\n");
  // Plain Delete is still the editor's.
  Key(Qt::Key_Delete);
  EXPECT_EQ(Editor().Text(), "one\r\nthree\r\n");
}

TEST_F(TextCommandsWindowTest, DatePatternsAreScannedByCharacters) {
  // "ハ" is 83 6E: its trail byte must not be read as the minutes letter "n".
  window->Config().Date = Sj("ハyyyy");
  window->Config().Time = Sj("'hh'hh");
  window->Config().DateAndTime = Sj("yyyy/mm/dd hh:nn");
  Show("");
  Commands().miInsDate->trigger();
  const std::string date = Editor().Text();
  EXPECT_TRUE(std::regex_match(date, std::regex(Sj("ハ") + "20[0-9][0-9]\r\n"))) << date;
  Show("");
  Commands().miInsTime->trigger();
  EXPECT_TRUE(std::regex_match(Editor().Text(), std::regex("hh[0-9][0-9]\r\n"))) << Editor().Text();
  // The insertion replaces the selection.
  Show("<sel>\r\n");
  Editor().SetSelection(0, 5);
  Commands().miInsNow->trigger();
  EXPECT_TRUE(std::regex_match(Editor().Text(), std::regex("20[0-9]{2}/[01][0-9]/[0-3][0-9] [0-2][0-9]:[0-5][0-9]\r\n")))
      << Editor().Text();
}

TEST_F(TextCommandsWindowTest, TopAndBottomFocusTheEditorAndBottomIsTheTrueEnd) {
  const struct {
    const char* text;
    int end;
  } cases[] = {{"abc\r\ndef", 8}, {"", 0}, {"x\r\n", 3}, {"abc\r\n\r\n", 7}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Show(c.text);
    Editor().SetSelStart(1);
    window->TreeView()->setFocus();
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), window->PageEditor());
    EXPECT_EQ(Editor().SelStart(), c.end);
    window->TreeView()->setFocus();
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), window->PageEditor());
    EXPECT_EQ(Editor().SelStart(), 0);
  }
  // Typing at the end adds after the last character.
  Show("abc\r\ndef");
  Key(Qt::Key_End, Qt::ControlModifier);
  Editor().InsertAtCaret("!");
  EXPECT_EQ(Editor().Text(), "abc\r\ndef!\r\n");
}

TEST_F(TextCommandsWindowTest, OverwriteShowsInStatusPanelOne) {
  Show("abc\r\n");
  window->TreeView()->setFocus();
  Key(Qt::Key_Insert);
  EXPECT_TRUE(Editor().Overwrite());
  EXPECT_EQ(window->Status()->Panel(1), QString::fromUtf8("上書"));
  Commands().acOverWrite->trigger();
  EXPECT_FALSE(Editor().Overwrite());
  EXPECT_EQ(window->Status()->Panel(1), QString::fromUtf8("挿入"));
}

TEST_F(TextCommandsWindowTest, CountsGoToTheInformationBox) {
  Show(Sj("表a\r\n\r\nxy"));
  Commands().miToolCharCnt->trigger();
  Commands().miToolPageCnt->trigger();
  ASSERT_EQ(prompts->infos.size(), 2u);
  // Lines "表a", "", "xy": 5 bytes, 4 characters, size 5 + 2 per line.
  EXPECT_EQ(prompts->infos[0], Sj("サイズ　　：         11\n\nバイト数 ：          5\n文字数　：          4"));
  EXPECT_EQ(prompts->infos[1], Sj("ページ数： 2ページ"));
}

int PdfPages(const std::string& pdf, std::string* title = nullptr) {
  const TChildResult info = RunChild({"pdfinfo", pdf});
  std::smatch m;
  if (title && std::regex_search(info.out, m, std::regex("Title:\\s+(.*)\n"))) *title = m[1];
  if (info.exitCode != 0 || !std::regex_search(info.out, m, std::regex("Pages:\\s+(\\d+)"))) return -1;
  return std::stoi(m[1]);
}

TEST_F(TextCommandsWindowTest, PrintingThePageGoesThroughThePrinterSetup) {
  std::string text;
  for (int i = 1; i <= 100; ++i) text += "line " + std::to_string(i) + "\r\n";
  const std::string pdf = docs.File("page.pdf");
  bool asked = false;
  Commands().SetPrinterSetup([&](QPrinter& printer) {
    asked = true;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    return true;
  });
  Show(text);
  window->Config().FontSize = 10;
  Commands().acPrintCurNode->trigger();
  ASSERT_TRUE(asked);
  std::string title;
  const int sheets = PdfPages(pdf, &title);
  EXPECT_GE(sheets, 2);
  EXPECT_EQ(title, "nuv:A");
  // Every line once, in order, over the sheets.
  int next = 1;
  for (int s = 1; s <= sheets; ++s) {
    const std::string n = std::to_string(s);
    const std::string sheet = RunChild({"pdftotext", "-layout", "-f", n, "-l", n, pdf, "-"}).out;
    for (std::size_t at = 0;; ++next) {
      const std::size_t found = sheet.find("line " + std::to_string(next) + "\n", at);
      if (found == std::string::npos) break;
      at = found;
    }
  }
  EXPECT_EQ(next, 101);
  // A font taller than the sheet still prints one line on each.
  window->Config().FontSize = 2000;
  Commands().acPrintCurNode->trigger();
  EXPECT_EQ(PdfPages(pdf), 100);
  // A cancelled dialog prints nothing.
  ASSERT_EQ(std::remove(pdf.c_str()), 0);
  Commands().SetPrinterSetup([](QPrinter&) { return false; });
  Commands().acPrintCurNode->trigger();
  EXPECT_FALSE(FileExists(pdf));
  EXPECT_TRUE(prompts->errors.empty());
}

TEST_F(TextCommandsWindowTest, AutoClipAddsOnePagePerNewTextAndWaitsForTheTitleEdit) {
  QClipboard* clip = QApplication::clipboard();
  clip->setText(QStringLiteral("already there"));
  QApplication::processEvents();
  Select(Page("A"));
  const int pages = window->Tree().Count();
  window->AutoClip().miEditAutoClip->trigger();
  ASSERT_TRUE(window->AutoClip().Listening());
  QTest::qWait(50);
  EXPECT_EQ(window->Tree().Count(), pages);  // switching on adds nothing

  clip->setText(QString::fromUtf8("切り抜き\nsecond line"));
  QApplication::processEvents();
  ASSERT_EQ(window->Tree().Count(), pages + 1);
  TTreeNode* added = window->SelectedPage();
  EXPECT_EQ(added->Text(), Sj("切り抜き"));
  EXPECT_EQ(added->Parent(), Page("A")->Parent());
  EXPECT_EQ(Page("A")->GetNextSibling(), added);
  EXPECT_EQ(Editor().Text(), Sj("切り抜き\r\nsecond line\r\n"));
  ASSERT_TRUE(window->TreeView()->IsEditing());

  // A copy during the title edit waits; what is typed stays.
  auto* box = qobject_cast<QLineEdit*>(window->TreeView()->indexWidget(window->TreeView()->currentIndex()));
  ASSERT_NE(box, nullptr);
  box->setText(QStringLiteral("typed"));
  clip->setText(QStringLiteral("later"));
  QTest::qWait(300);
  EXPECT_EQ(window->Tree().Count(), pages + 1);
  QTest::keyClick(box, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(added->Text(), "typed");
  QTest::qWait(400);
  EXPECT_EQ(window->Tree().Count(), pages + 2);
  EXPECT_EQ(window->SelectedPage()->Text(), "later");

  // The same text again within a second, and pages copied (no text), add nothing.
  QTest::keyClick(window->TreeView()->indexWidget(window->TreeView()->currentIndex()), Qt::Key_Escape);
  clip->setText(QStringLiteral("later"));
  QApplication::processEvents();
  auto* data = new QMimeData;
  data->setData("application/x-nuv-node-data", QByteArray("x"));
  clip->setMimeData(data);
  QApplication::processEvents();
  EXPECT_EQ(window->Tree().Count(), pages + 2);

  // Off: nothing more.
  window->AutoClip().miEditAutoClip->trigger();
  EXPECT_FALSE(window->AutoClip().Listening());
  clip->setText(QStringLiteral("not a page"));
  QApplication::processEvents();
  EXPECT_EQ(window->Tree().Count(), pages + 2);
}

TEST_F(TextCommandsWindowTest, AutoClipWaitsWhileADialogIsOpen) {
  Select(Page("B"));
  window->AutoClip().miEditAutoClip->trigger();
  const int pages = window->Tree().Count();
  int duringDialog = -1;
  QTimer::singleShot(0, [&] {
    QApplication::clipboard()->setText(QStringLiteral("copied meanwhile"));
    QTest::qWait(300);
    duringDialog = window->Tree().Count();
    window->Conversions().Dialog()->reject();
  });
  window->Conversions().miConvHanZen->trigger();
  EXPECT_EQ(duringDialog, pages);
  QTest::qWait(400);
  ASSERT_EQ(window->Tree().Count(), pages + 1);
  EXPECT_EQ(window->SelectedPage()->Text(), "copied meanwhile");
  EXPECT_EQ(Page("B")->GetNextSibling(), window->SelectedPage());
}

TEST_F(TextCommandsWindowTest, ConvertingTheSelectionOrThePageIsOneUndoStep) {
  Show(Sj("abc ｶﾞｷﾞ 123\r\nxyz\r\n"));
  const std::string before = Editor().Text();
  TConvChoice widths;  // half to full, every table
  window->Conversions().Convert(widths);
  EXPECT_EQ(Editor().Text(), Sj("ａｂｃ ガギ １２３\r\nｘｙｚ\r\n"));
  EXPECT_TRUE(window->Document().DocModified);
  Editor().Undo();
  EXPECT_EQ(Editor().Text(), before);
  // Only the selection, and the case page.
  Editor().SetSelection(0, 3);
  TConvChoice upper;
  upper.page = TConvPage::KoOo;
  window->Conversions().Convert(upper);
  EXPECT_EQ(Editor().Text(), Sj("ABC ｶﾞｷﾞ 123\r\nxyz\r\n"));
  EXPECT_EQ(Editor().SelText(), "ABC");
}

TEST_F(TextCommandsWindowTest, DialogOpensOnTheChosenPageAndOkConverts) {
  Show("abc\r\n");
  bool shown = false;
  QTimer::singleShot(0, [&] {
    TfmConv* dialog = window->Conversions().Dialog();
    shown = dialog->isVisible() && dialog->pcConv->currentIndex() == 1;
    shown = shown && dialog->rbKoToOo->isChecked();
    dialog->accept();
  });
  window->Conversions().miConvKoOo->trigger();
  EXPECT_TRUE(shown);
  EXPECT_EQ(Editor().Text(), "ABC\r\n");
  // Cancel changes nothing; the width page is in front for its command.
  QTimer::singleShot(0, [&] {
    TfmConv* dialog = window->Conversions().Dialog();
    shown = dialog->pcConv->currentIndex() == 0 && dialog->windowTitle() == QString::fromUtf8("文字列変換");
    dialog->reject();
  });
  window->Conversions().miConvHanZen->trigger();
  EXPECT_TRUE(shown);
  EXPECT_EQ(Editor().Text(), "ABC\r\n");
}

}  // namespace
}  // namespace nuv::test
