// Auto-clipping: with "オートクリッピング" checked, every text put on the
// system clipboard, by any program, becomes a new page whose title edit starts.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "app/ClipWatcher.h"

class QAction;

namespace nuv {

class IWindowServices;
class TPageCommands;

class TAutoClipCommands : public QObject {
  Q_OBJECT
 public:
  TAutoClipCommands(IWindowServices& window, TPageCommands& pages, QObject* parent = nullptr);

  QAction* miEditAutoClip;
  void miEditAutoClipExecute(bool checked);

  // Whether a new page must wait: a dialog or a nested wait runs, the tree's
  // title edit is open, or a check added here answers true (a macro run).
  bool Busy() const;
  void AddBusyCheck(std::function<bool()> busy) { m_busyChecks.push_back(std::move(busy)); }
  bool Listening() const { return m_watcher.Listening(); }

 private:
  void ClipText(const std::string& text);

  IWindowServices& m_window;
  TPageCommands& m_pages;
  TClipWatcher m_watcher;
  std::vector<std::function<bool()>> m_busyChecks;
};

}  // namespace nuv
