// Creating the window's actions with the names the commands are known by.
#pragma once

#include <QAction>
#include <QKeySequence>

namespace nuv {

inline QAction* MakeAction(QObject* parent, const char* name, const QString& caption,
                           const QKeySequence& shortcut = QKeySequence(), bool checkable = false) {
  auto* action = new QAction(caption, parent);
  action->setObjectName(name);
  action->setShortcut(shortcut);
  action->setCheckable(checkable);
  return action;
}

}  // namespace nuv
