// A main window for tests: a fresh program folder, scripted dialogs and
// prompts, and helpers to act like a user.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>
#include <QTreeView>
#include <deque>
#include <memory>

#include "app/FileDialogs.h"
#include "app/MainWindow.h"
#include "app/ProgramLauncher.h"
#include "base/IniFile.h"
#include "app/OutlineModel.h"
#include "app/OutlineView.h"
#include "support/FakePageEditor.h"
#include "support/TempDir.h"

namespace nuv::test {

class TScriptedDialogs : public IFileDialogs {
 public:
  std::optional<TFileChoice> OpenFile(QWidget*, const QString&, const QStringList&, int) override { return Next(); }
  QStringList OpenFiles(QWidget*, const QString&, const QStringList&) override { return NextList(); }
  QString ChooseFolder(QWidget*, const QString&, const QString&) override {
    const QStringList chosen = NextList();
    return chosen.isEmpty() ? QString() : chosen.front();
  }
  std::optional<TFileChoice> SaveFile(QWidget*, const QString& proposed, const QStringList&, bool, int,
                                      TTextEncoding initialEncoding) override {
    proposals.push_back(proposed);
    offeredEncodings.push_back(initialEncoding);
    return Next();
  }
  // Answers in order; a choice with an empty path is a cancelled dialog.
  std::deque<TFileChoice> answers;
  // Answers of the several-files and the folder dialogs; an empty list is a cancelled dialog.
  std::deque<QStringList> fileLists;
  QStringList proposals;
  std::vector<TTextEncoding> offeredEncodings;  // the encoding each save dialog showed first
  int asked = 0;

 private:
  std::optional<TFileChoice> Next() {
    ++asked;
    if (answers.empty()) return std::nullopt;
    const TFileChoice a = answers.front();
    answers.pop_front();
    if (a.path.isEmpty()) return std::nullopt;
    return a;
  }
  QStringList NextList() {
    ++asked;
    if (fileLists.empty()) return {};
    const QStringList chosen = fileLists.front();
    fileLists.pop_front();
    return chosen;
  }
};

class TRecordingLauncher : public IProgramLauncher {
 public:
  void StartNewWindow(const QString& path) override { newWindows.append(path); }
  void OpenWithDesktop(const QString& path) override { desktop.append(path); }
  void OpenUrl(const QString& url) override { urls.append(url); }
  QStringList newWindows, desktop, urls;
};

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("NUV_HOME", home.Path().c_str(), 1);
    // Recovery copies go to a folder of the test's own.
    setenv("XDG_STATE_HOME", home.File("state").c_str(), 1);
    Create();
  }
  void TearDown() override { Destroy(); }

  void Create() {
    auto d = std::make_unique<TScriptedDialogs>();
    auto p = std::make_unique<TScriptedPrompts>();
    auto l = std::make_unique<TRecordingLauncher>();
    dialogs = d.get();
    prompts = p.get();
    launcher = l.get();
    window = std::make_unique<Tfmnuv>(std::move(d), std::move(p), std::move(l));
  }
  // Closes the window as the user would; true when it closed.
  bool Close() { return window->close(); }
  void Destroy() {
    if (window) {
      window->setAttribute(Qt::WA_DeleteOnClose, false);
      window.reset();
    }
  }
  void Start(const QStringList& args = {}) {
    window->ShowFromSession();
    window->FormShow(args);
    QApplication::processEvents();
  }
  void Select(TTreeNode* page) {
    window->TreeView()->setCurrentIndex(window->Model().IndexOf(page));
    QApplication::processEvents();
  }
  // Types as an input method would: each line committed as one string, a
  // line break as the Return key.
  void Type(const QString& text) {
    QWidget* editor = window->PageEditor();
    editor->setFocus();
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
      if (i > 0) QTest::keyClick(editor, Qt::Key_Return);
      if (lines[i].isEmpty()) continue;
      QInputMethodEvent commit;
      commit.setCommitString(lines[i]);
      QApplication::sendEvent(editor, &commit);
    }
  }
  // Sets a key of the program folder's nuv.ini, for the next window created.
  void WriteIni(const std::string& section, const std::string& key, const std::string& value) {
    TIniFile ini(home.File("nuv.ini"));
    ini.WriteString(section, key, value);
    ini.Save();
  }
  std::string WriteSample(const std::string& name, const std::string& utf8) {
    return docs.Write(name, Sj(utf8));
  }

  TTempDir home;
  TTempDir docs;
  std::unique_ptr<Tfmnuv> window;
  TScriptedDialogs* dialogs = nullptr;
  TScriptedPrompts* prompts = nullptr;
  TRecordingLauncher* launcher = nullptr;
};

}  // namespace nuv::test
