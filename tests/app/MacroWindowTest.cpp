// The macro command in the real window: Ctrl+M runs a macro file of the
// program folder on the shown page; a second Ctrl+M, a close or another
// document during a run are handled without re-entering or outliving it.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <functional>

#include "app/AutoClipController.h"
#include "app/DocumentController.h"
#include "app/MacroController.h"
#include "macro/MacroPlatform.h"
#include "outline/OutlineTree.h"
#include "outline/PageEditor.h"
#include "support/WindowFixture.h"

namespace nuv::test {
namespace {

// Answers the macro's input boxes in order; the rest are "unavailable".
class TMacroAnswers : public IMacroDialogs {
 public:
  TInputBoxResult InputBox(const std::string& caption, const std::string&, std::string& value) override {
    asked.push_back(caption);
    if (answers.empty()) return TInputBoxResult::Unavailable;
    value = answers.front();
    answers.pop_front();
    return TInputBoxResult::Ok;
  }
  int MessageBox(const std::string&, const std::string&, int) override { return kIdOk; }
  std::deque<std::string> answers;
  std::vector<std::string> asked;
};

class MacroWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Start({QString::fromStdString(docs.Write("doc.txt", ".A\r\none\r\ntwo\r\n.B\r\nbody B\r\n"))});
    QApplication::setActiveWindow(window.get());
    macros = window->findChild<TMacroCommands*>();
    ASSERT_NE(macros, nullptr);
    macros->SetDialogs(&answers);
    std::filesystem::create_directories(home.File("macro"));
  }
  void WriteMacro(const std::string& name, const std::string& utf8) { home.Write("macro/" + name, Sj(utf8)); }
  void PressCtrlM() { QTest::keyClick(window.get(), Qt::Key_M, Qt::ControlModifier); }
  // Runs `during` from the event loop while the macro runs.
  void DuringRun(std::function<void()> during) {
    QTimer::singleShot(50, [this, during] {
      ASSERT_TRUE(macros->Running());
      during();
    });
  }
  std::string Errors() const {
    std::string all;
    for (const std::string& e : prompts->errors) all += Cp932ToUtf8(e) + "\n";
    return all;
  }

  TMacroCommands* macros = nullptr;
  TMacroAnswers answers;
};

TEST_F(MacroWindowTest, CtrlMQuotesThePageAndEveryChangeIsUndoable) {
  WriteMacro("quote.p2s", "var i: integer;\r\nbegin\r\n  for i := 0 to LineCount - 1 do SetLineStr(i, '> ' + GetLineStr(i));\r\n"
                          "  InsLineStr(0, '引用:');\r\nend.\r\n");
  answers.answers = {"quote.txt"};  // the extension becomes .p2s
  PressCtrlM();
  EXPECT_EQ(Errors(), "");
  EXPECT_EQ(window->Editor().Text(), Sj("引用:\r\n> one\r\n> two\r\n"));
  EXPECT_TRUE(window->Document().DocModified);
  while (window->Editor().CanUndo()) window->Editor().Undo();
  EXPECT_EQ(window->Editor().Text(), "one\r\ntwo\r\n");
}

TEST_F(MacroWindowTest, CtrlMDuringARunIsRefused) {
  WriteMacro("slow.p2s", "begin\r\n  Sleep(300);\r\n  SetLineStr(0, 'done');\r\nend.\r\n");
  answers.answers = {"slow", "slow"};
  bool disabled = false;
  DuringRun([&] {
    disabled = !macros->acExecMacro->isEnabled();
    PressCtrlM();
    macros->acExecMacroExecute();
  });
  PressCtrlM();
  EXPECT_TRUE(disabled);
  EXPECT_EQ(answers.asked.size(), 1u);  // the name was asked once
  EXPECT_EQ(window->Editor().Text(), "done\r\ntwo\r\n");
  EXPECT_TRUE(macros->acExecMacro->isEnabled());
}

TEST_F(MacroWindowTest, AbortsShowTheMessageAndStopBeforeTheNextStatement) {
  WriteMacro("pause.p2s", "begin\r\n  Pause;\r\n  SetLineStr(0, 'after');\r\nend.\r\n");
  answers.answers = {"pause", "!exit"};
  PressCtrlM();
  EXPECT_EQ(Errors(), "実行を中断しました\n");
  EXPECT_EQ(window->Editor().Text(), "one\r\ntwo\r\n");

  // Another document opened during the run: the macro never touches it.
  WriteMacro("slow.p2s", "begin\r\n  Sleep(300);\r\n  SetLineStr(0, 'after');\r\nend.\r\n");
  prompts->errors.clear();
  answers.answers = {"slow"};
  const std::string other = docs.Write("other.txt", ".X\r\nx\r\n");
  DuringRun([&] { window->Documents().OpenDocument(other); });
  PressCtrlM();
  EXPECT_EQ(Errors(), "実行を中断しました\n");
  EXPECT_EQ(window->Tree().GetFirstNode()->Text(), "X");
  EXPECT_EQ(window->Editor().Text(), "x\r\n");
}

TEST_F(MacroWindowTest, ClosingDuringARunAbortsItFirstThenCloses) {
  WriteMacro("slow.p2s", "begin\r\n  Sleep(300);\r\n  SetLineStr(0, 'after');\r\nend.\r\n");
  answers.answers = {"slow"};
  window->Document().ClearFlags();
  bool stayedOpen = false;
  DuringRun([&] { stayedOpen = !Close() && window->isVisible(); });
  PressCtrlM();
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(Errors(), "実行を中断しました\n");
  EXPECT_EQ(window->Editor().Text(), "one\r\ntwo\r\n");
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 5000));
}

TEST_F(MacroWindowTest, ATextCopiedDuringARunBecomesItsPageAfterTheRun) {
  // A busy macro, not one that sleeps: between statements it only lets events
  // through, so nothing but the macro's own state tells that the window is busy.
  WriteMacro("busy.p2s", "var i, x: integer;\r\nbegin\r\n  for i := 1 to 60000000 do x := x + 1;\r\nend.\r\n");
  answers.answers = {"busy"};
  window->AutoClip().miEditAutoClip->trigger();
  const int pages = window->Tree().Count();
  int duringRun = -1;
  DuringRun([&] {
    QApplication::clipboard()->setText(QStringLiteral("copied meanwhile"));
    QTest::qWait(100);
    duringRun = window->Tree().Count();
  });
  PressCtrlM();
  EXPECT_EQ(duringRun, pages);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->Tree().Count() == pages + 1; }, 2000));
  EXPECT_EQ(window->SelectedPage()->Text(), "copied meanwhile");
}

TEST_F(MacroWindowTest, AMissingFileIsNamed) {
  answers.answers = {"nosuch"};
  PressCtrlM();
  EXPECT_EQ(Errors(), "マクロファイルが存在しません。\n\n  nosuch.p2s\n");
}

}  // namespace
}  // namespace nuv::test
