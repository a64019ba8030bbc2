// External tools and the external editor in the real window, with real
// child processes: stand-in tools written as shell scripts record the
// argument vector they got and change the file they were handed.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <cctype>
#include <functional>

#include "app/DocumentController.h"
#include "app/PageCommandsController.h"
#include "app/ToolController.h"
#include "app/ToolDialog.h"
#include "base/FileIo.h"
#include "outline/OutlineTree.h"
#include "outline/PageEditor.h"
#include "support/WindowFixture.h"

namespace nuv::test {
namespace {

namespace fs = std::filesystem;

class ToolsWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Start({QString::fromStdString(docs.Write("doc.txt", ".A\r\nabc\r\ndef\r\n.B\r\nbody B\r\n"))});
    QApplication::setActiveWindow(window.get());
    tools = window->findChild<TToolCommands*>();
    ASSERT_NE(tools, nullptr);
    runEnded = QObject::connect(tools, &TToolCommands::RunEnded, [this](bool readBack) {
      ++runs;
      lastReadBack = readBack;
    });
  }
  void TearDown() override {
    // A stand-in still waiting for its go file may end now.
    WriteFileAtomic(gate, "");
    QObject::disconnect(runEnded);
    WindowTest::TearDown();
  }

  // A stand-in program: records its arguments one per line as [arg], waits
  // for the go file when `gated`, then runs `body` with $last the last argument.
  std::string Script(const std::string& name, const std::string& body, bool gated = false) {
    const std::string path = scripts.File(name);
    // The stand-in lets go of the test's output at once: a test that gives up
    // waiting for it must not leave a process holding ctest's pipe open.
    std::string text = "#!/bin/sh\nexec >/dev/null 2>&1 </dev/null\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > '" +
                       scripts.File("args") + "'\nfor last; do :; done\n";
    // It also ends when the test's folder is gone, or after a minute, so none outlives its test.
    if (gated)
      text += "n=0\nwhile [ ! -e '" + gate + "' ] && [ -d '" + scripts.Path() +
              "' ] && [ $n -lt 3000 ]; do sleep 0.02; n=$((n+1)); done\n";
    WriteFileAtomic(path, text + body + "\n");
    ::chmod(path.c_str(), 0755);
    return path;
  }
  static std::string Upcase() { return "tr a-z A-Z < \"$last\" > \"$last.x\" && cat \"$last.x\" > \"$last\" && rm \"$last.x\""; }
  void SetTools(std::vector<TnuvTool> list) {
    window->Config().Tools = std::move(list);
    tools->SettingsChanged();
  }
  bool WaitRuns(int count) {
    return QTest::qWaitFor([&] { return runs >= count; }, 10000);
  }
  // Runs `during` once the program is being waited for, then lets the stand-in go.
  void DuringWait(std::function<void()> during) {
    QTimer::singleShot(0, [this, during] {
      ASSERT_TRUE(QTest::qWaitFor([&] { return tools->Waiting(); }, 5000));
      during();
      WriteFileAtomic(gate, "");
    });
  }
  std::string EditorText() { return window->Editor().Text(); }
  std::vector<fs::path> TempFiles() {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(home.File("__temp__"), ec)) files.push_back(e.path());
    return files;
  }

  TTempDir scripts;
  std::string gate = scripts.File("go");
  TToolCommands* tools = nullptr;
  QMetaObject::Connection runEnded;
  int runs = 0;
  bool lastReadBack = false;
};

TEST_F(ToolsWindowTest, AToolGetsItsVectorUnexpandedAndItsResultIsOneUndoStep) {
  const std::string marker = scripts.File("marker");
  const std::string tool = Script("stand in", Upcase());
  EXPECT_FALSE(tools->miTools->isEnabled());  // no tools yet
  SetTools({{"Up", "\"" + tool + "\"", "-r \"two words\" $(touch " + marker + ") `touch " + marker + "` ;rm", "csv"}});
  ASSERT_TRUE(tools->miTools->isEnabled());
  ASSERT_EQ(tools->miTools->actions().size(), 1);
  EXPECT_EQ(tools->miTools->actions()[0]->text(), QStringLiteral("Up"));

  Select(window->Tree().GetFirstNode());
  tools->miTools->actions()[0]->trigger();
  ASSERT_TRUE(WaitRuns(1));
  EXPECT_TRUE(lastReadBack);
  const std::string args = scripts.Read("args");
  const std::string file = args.substr(args.rfind('[') + 1, args.size() - args.rfind('[') - 3);
  EXPECT_EQ(args, "[-r]\n[two words]\n[$(touch]\n[" + marker + ")]\n[`touch]\n[" + marker + "`]\n[;rm]\n[" + file + "]\n");
  EXPECT_EQ(fs::path(file).parent_path(), fs::path(home.File("__temp__")));
  EXPECT_EQ(fs::path(file).extension(), ".csv");
  EXPECT_FALSE(fs::exists(file));
  EXPECT_FALSE(fs::exists(marker));
  EXPECT_EQ(EditorText(), "ABC\r\nDEF\r\n");
  EXPECT_TRUE(window->Document().DocModified);
  window->Editor().Undo();
  EXPECT_EQ(EditorText(), "abc\r\ndef\r\n");
}

TEST_F(ToolsWindowTest, TheMenuFollowsTheSettingsAndIsOffDuringARun) {
  SetTools({{"One", Script("t", Upcase(), true), "", ".txt"}, {"Two", "true", "", ".txt"}});
  ASSERT_EQ(tools->miTools->actions().size(), 2);
  bool offDuringRun = false;
  DuringWait([&] {
    offDuringRun = !tools->miTools->isEnabled();
    // Settings applied during the wait rebuild the menu but keep it off.
    SetTools({{"Three", "true", "", ".txt"}});
    offDuringRun = offDuringRun && !tools->miTools->isEnabled();
  });
  EXPECT_TRUE(tools->RunTool(0));
  EXPECT_TRUE(offDuringRun);
  EXPECT_TRUE(tools->miTools->isEnabled());
  ASSERT_EQ(tools->miTools->actions().size(), 1);
  EXPECT_EQ(tools->miTools->actions()[0]->text(), QStringLiteral("Three"));
  SetTools({});
  EXPECT_FALSE(tools->miTools->isEnabled());
}

TEST_F(ToolsWindowTest, StartErrorsNameTheReasonAndChangeNothing) {
  const struct {
    TnuvTool tool;
    const char* editor;  // a run of the editor instead when set
    const char* message;
  } cases[] = {
      {{"x", "/nonexistent/tool", "", ".txt"}, nullptr, "ツールが起動できません。\n\n No such file or directory"},
      {{"x", "", "-a", ".txt"}, nullptr, "ツールが起動できません。\n\n プログラムが指定されていません"},
      {{"x", "true", "", "/../x"}, nullptr, "ツールが起動できません。\n\n 拡張子に使えない文字があります"},
      {{}, "/nonexistent/editor --flag", "エディタが起動できません。\n\n No such file or directory"},
      {{}, "  ", "エディタが起動できません。\n\n プログラムが指定されていません"},
  };
  for (const auto& c : cases) {
    prompts->errors.clear();
    if (c.editor) {
      window->Config().Path.Editor = c.editor;
      window->Editor().SetModified(false);
      tools->acExecEditor->trigger();
    } else {
      SetTools({c.tool});
      EXPECT_FALSE(tools->RunTool(0));
    }
    ASSERT_EQ(prompts->errors.size(), 1u) << c.message;
    EXPECT_EQ(prompts->errors[0], Sj(c.message));
    EXPECT_EQ(EditorText(), "abc\r\ndef\r\n");
    EXPECT_TRUE(TempFiles().empty());
    EXPECT_TRUE(tools->acExecEditor->isEnabled());
  }
}

TEST_F(ToolsWindowTest, CtrlEEditsThePageAndADirectLinkInPlace) {
  window->Config().Path.Editor = "\"" + Script("ed", "printf 'added\\r\\n' >> \"$last\"") + "\" --wait";
  QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
  ASSERT_TRUE(WaitRuns(1));
  EXPECT_EQ(EditorText(), "abc\r\ndef\r\nadded\r\n");
  const std::string args = scripts.Read("args");
  EXPECT_EQ(args.substr(0, 9), "[--wait]\n");
  EXPECT_TRUE(TempFiles().empty());

  // A page whose text links a file directly: the file itself is edited and stays.
  const std::string linked = docs.Write("linked.txt", "linked\r\n");
  TTreeNode* b = window->Tree().GetFirstNode()->GetNextSibling();
  window->Tree().EnsureData(b).SetBody("<DirectLink:linked.txt>\r\n");
  Select(b);
  ASSERT_EQ(EditorText(), "linked\r\n");
  QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
  ASSERT_TRUE(WaitRuns(2));
  EXPECT_EQ(scripts.Read("args"), "[--wait]\n[" + linked + "]\n");
  EXPECT_EQ(docs.Read("linked.txt"), "linked\r\nadded\r\n");
  EXPECT_EQ(EditorText(), "linked\r\nadded\r\n");
}

TEST_F(ToolsWindowTest, APageChangedDuringTheWaitIsReplacedOnlyWithTheUsersWord) {
  SetTools({{"Up", Script("t", Upcase(), true), "", ".txt"}});
  for (const TAnswer answer : {TAnswer::No, TAnswer::Yes}) {
    prompts->questions.clear();
    prompts->answers = {answer};
    fs::remove(gate);
    window->Editor().SetText("abc\r\n");
    DuringWait([&] { window->Editor().InsertAtCaret("typed "); });
    EXPECT_EQ(tools->RunTool(0), answer == TAnswer::Yes);
    ASSERT_EQ(prompts->questions.size(), 1u);
    EXPECT_EQ(EditorText(), answer == TAnswer::Yes ? "ABC\r\n" : "typed abc\r\n");
  }
}

TEST_F(ToolsWindowTest, TheResultFindsItsPageWhileAnotherIsShown) {
  SetTools({{"Up", Script("t", Upcase(), true), "", ".txt"}});
  TTreeNode* a = window->Tree().GetFirstNode();
  TTreeNode* b = a->GetNextSibling();
  DuringWait([&] { Select(b); });
  EXPECT_TRUE(tools->RunTool(0));
  EXPECT_EQ(window->SelectedPage(), b);
  EXPECT_EQ(EditorText(), "body B\r\n");
  EXPECT_EQ(a->Data()->Body(), "ABC\r\nDEF\r\n");
}

TEST_F(ToolsWindowTest, ARemovedPageOrAnotherDocumentGetsNothingAndTheResultIsKept) {
  SetTools({{"Up", Script("t", Upcase(), true), "", ".txt"}});
  const std::string other = docs.Write("other.txt", ".X\r\nx\r\n");
  const std::vector<std::function<void()>> during = {
      [&] {
        window->Config().UseTrash = false;
        window->Pages().acDelNode->trigger();
      },
      [&] { window->Documents().OpenDocument(other); },
  };
  for (const auto& act : during) {
    prompts->infos.clear();
    fs::remove(gate);
    Select(window->Tree().GetFirstNode());
    std::string upper = EditorText();
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    DuringWait(act);
    EXPECT_FALSE(tools->RunTool(0));
    ASSERT_EQ(prompts->infos.size(), 1u);
    const std::vector<fs::path> kept = TempFiles();
    ASSERT_EQ(kept.size(), 1u);
    std::string text;
    ReadWholeFile(kept[0].string(), text);
    EXPECT_EQ(text, upper);  // the tool's result on the page as it was at the start
    fs::remove(kept[0]);
    EXPECT_NE(EditorText(), upper);
  }
  EXPECT_EQ(window->Tree().GetFirstNode()->Text(), "X");
}

TEST_F(ToolsWindowTest, ClosingDuringAWaitAsksAndClosesOnceTheWaitUnwound) {
  SetTools({{"Up", Script("t", Upcase(), true), "", ".txt"}});
  window->Editor().SetModified(false);
  window->Document().ClearFlags();
  bool refused = false;
  QTimer::singleShot(0, [&] {
    ASSERT_TRUE(QTest::qWaitFor([&] { return tools->Waiting(); }, 5000));
    prompts->answers = {TAnswer::No};
    refused = !Close() && window->isVisible();  // "No": keep waiting
    prompts->answers = {TAnswer::Yes};
    Close();  // "Yes": stop waiting, then close
  });
  EXPECT_FALSE(tools->RunTool(0));
  EXPECT_TRUE(refused);
  EXPECT_EQ(prompts->questions.size(), 2u);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 5000));
  EXPECT_EQ(EditorText(), "abc\r\ndef\r\n");
  EXPECT_TRUE(TempFiles().empty());
}

TEST_F(ToolsWindowTest, TheToolDialogNormalisesTheExtensionAndRefusesAPath) {
  TfmTool dialog(window.get());
  dialog.SetTool({"T", "prog", "-a", ""});
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Tool().Ext, ".txt");
  const struct {
    const char* typed;
    const char* stored;  // null: refused
  } cases[] = {{"csv", ".csv"}, {".md", ".md"}, {"../x", nullptr}, {"a/b", nullptr}};
  for (const auto& c : cases) {
    TfmTool d(window.get());
    d.SetTool({"T", "prog", "", c.typed});
    QTimer::singleShot(0, [] {
      if (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
    d.accept();
    if (c.stored) {
      EXPECT_EQ(d.result(), QDialog::Accepted) << c.typed;
      EXPECT_EQ(d.Tool().Ext, c.stored);
    } else {
      EXPECT_NE(d.result(), QDialog::Accepted) << c.typed;
    }
  }
}

}  // namespace
}  // namespace nuv::test
