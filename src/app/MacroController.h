// The macro command acExecMacro: the window's interpreter pp1 with the host
// routines, registered when the window shows, and the guards that keep a run
// from outliving its document or its window.
#pragma once

#include <QObject>
#include <memory>

#include "app/QtMacroPlatform.h"
#include "editor/HeadlessPageEditor.h"
#include "macro/MacroHost.h"
#include "macro/PoorPascal.h"
#include "macro/PosixProcesses.h"

class QAction;

namespace nuv {

class IWindowServices;

class TMacroCommands : public QObject, private IMacroDialogs, private IMacroMessageLoop {
  Q_OBJECT
 public:
  explicit TMacroCommands(IWindowServices& window, QObject* parent = nullptr);
  ~TMacroCommands() override;

  QAction* acExecMacro;  // "マクロの実行(&M)...", Ctrl+M; disabled while a macro runs

  // Asks for a macro name and runs it on the shown page.
  void acExecMacroExecute();
  bool Running() const { return pp1.IsRunning(); }
  // The close query's part: during a run the macro is aborted and the
  // window closes once the run has unwound; false until then.
  bool MayClose();

  TPoorPascal& Interpreter() { return pp1; }
  // Input and message boxes of the macros; null gives back Qt's (tests script them).
  void SetDialogs(IMacroDialogs* dialogs) { m_scripted = dialogs; }

 signals:
  void RunEnded();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // IMacroDialogs: the scripted dialogs when set, else Qt's.
  TInputBoxResult InputBox(const std::string& caption, const std::string& prompt, std::string& value) override;
  int MessageBox(const std::string& text, const std::string& caption, int flags) override;
  // IMacroMessageLoop: another document opened while the macro waited ends the run.
  void ProcessMessages() override;
  void Wait(int ms) override;
  void CheckDocument();
  // The working copy and the page editor meet whenever events may run:
  // the macro's changes go out as one edit, the user's come in.
  void Flush();
  void Reload();

  IWindowServices& m_window;
  TPoorPascal pp1;
  TQtMacroDialogs m_qtDialogs;
  TQtMacroClipboard m_clipboard;
  TQtMacroMessageLoop m_loop;
  TPosixProcessStarter m_processes;
  TXdgDesktopOpen m_desktop{m_processes};
  // The macro edits a copy of the page without a window, whose lines it
  // reaches in constant time; the widget maps lines to wrapped rows by
  // counting, which made every line routine cost the whole page.
  THeadlessPageEditor m_copy;
  std::string m_synced;  // the text both held when they last met
  bool m_pageTouched = false;  // the page's text or selection changed since they met
  bool m_flushing = false;
  std::unique_ptr<TMacroHost> m_host;
  IMacroDialogs* m_scripted = nullptr;
  uint64_t m_document = 0;  // the document the run started in
  bool m_closeAfterRun = false;
};

}  // namespace nuv
