// The external editor (acExecEditor) and the external tools menu: a page's
// text goes out through a temporary file, the program runs while the window
// keeps answering, and what it leaves in the file comes back into the page.
#pragma once

#include <QObject>
#include <optional>
#include <string>
#include <vector>

#include "config/ExternalTools.h"

class QAction;
class QMenu;

namespace nuv {

class IWindowServices;
class TToolProcess;

class TToolCommands : public QObject {
  Q_OBJECT
 public:
  explicit TToolCommands(IWindowServices& window, QObject* parent = nullptr);
  ~TToolCommands() override;

  QAction* acExecEditor;  // "外部エディタで編集(&E)", Ctrl+E
  QMenu* miTools;         // "外部ツール(&X)": one item per tool

  // Rebuilds the tools menu from the settings; disabled when there is no tool.
  void SettingsChanged();
  // Runs tool `index` of the settings on the shown page; true when its
  // result was read back into the page.
  bool RunTool(int index);
  void acExecEditorExecute();

  // Whether a tool or the editor is being waited for.
  bool Waiting() const { return !m_waits.empty(); }
  // The close query's part: true when the window may close now. During a
  // wait it asks whether to stop waiting; then the window closes once the
  // waits have unwound.
  bool MayClose();

 signals:
  // A tool or editor run ended (read back or not); for tests.
  void RunEnded(bool readBack);

 private:
  // Starts `argv`, waits, and reads the file back; the start error is shown
  // with `startError` ("%s": the reason).
  bool Execute(const std::vector<std::string>& argv, TToolRun& run, const std::string& startError);
  bool ReadBack(TToolRun& run);
  // The file's text as the editor holds it; none when it is missing or unreadable.
  std::optional<std::string> FileText(const std::string& path);
  void ReplacePageText(const TToolRun& run, const std::string& text);
  void ShowStartError(const std::string& startError, const std::string& reason);
  void UpdateToolMenu();
  void FinishWait();

  IWindowServices& m_window;
  std::vector<QAction*> m_toolActions;
  std::vector<TToolProcess*> m_waits;  // the processes waited for, innermost last
  bool m_toolRunning = false;
  bool m_closeAfterWait = false;
};

}  // namespace nuv
