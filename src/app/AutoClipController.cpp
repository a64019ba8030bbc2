// Auto-clipping in the window: the clipboard watcher's texts become pages.
#include "app/AutoClipController.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QThread>

#include "app/Actions.h"
#include "app/OutlineView.h"
#include "app/PageCommandsController.h"
#include "app/WindowServices.h"

namespace nuv {

TAutoClipCommands::TAutoClipCommands(IWindowServices& window, TPageCommands& pages, QObject* parent)
    : QObject(parent), m_window(window), m_pages(pages), m_watcher([this] { return Busy(); }) {
  miEditAutoClip = MakeAction(this, "miEditAutoClip", QStringLiteral("オートクリッピング(&C)"), QKeySequence(), true);
  connect(miEditAutoClip, &QAction::toggled, this, &TAutoClipCommands::miEditAutoClipExecute);
  connect(&m_watcher, &TClipWatcher::ClipText, this, &TAutoClipCommands::ClipText);
  QMenu* edit = window.Menu(TMenuSlot::Edit);
  edit->addSeparator();
  edit->addAction(miEditAutoClip);
}

void TAutoClipCommands::miEditAutoClipExecute(bool checked) { m_watcher.SetListening(checked); }

bool TAutoClipCommands::Busy() const {
  // A modal dialog or message box, a menu, or a nested event loop (a tool's
  // wait) is running: the page would appear under the user's hands.
  if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) return true;
  if (QThread::currentThread()->loopLevel() > 1) return true;
  // The tree's title edit would be closed by the new page, and what was typed lost.
  if (m_window.TreeView()->IsEditing()) return true;
  for (const auto& busy : m_busyChecks)
    if (busy()) return true;
  return false;
}

void TAutoClipCommands::ClipText(const std::string& text) {
  // The add-from-clipboard command's rule: only text makes a page.
  if (text.empty()) return;
  m_pages.AddPageFromText(text);
  m_window.TreeView()->setFocus();
  m_window.TreeView()->EditCurrent();
  m_window.UpdateActions();
}

}  // namespace nuv
