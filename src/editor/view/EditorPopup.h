// The editor's popup menu in a QMenu: the core's items, built again each time
// the menu opens, above the items other parts of the program add to it.
#pragma once

#include <QKeySequence>
#include <QObject>
#include <map>
#include <vector>

#include "editor/EditorPopupMenu.h"

class QAction;
class QMenu;

namespace nuv {

class TEditorView;

class TEditorPopup : public QObject {
  Q_OBJECT
 public:
  // Shows `view`'s items at the top of `menu` whenever it opens.
  TEditorPopup(TEditorView& view, QMenu& menu, QObject* parent = nullptr);

  // The key shown beside `command` where the window binds another one than
  // the core's; an empty sequence shows none.
  void SetKey(TEditorCommand command, const QKeySequence& key);
  // Puts the core's items as they stand now at the top of the menu.
  void Rebuild();

 private:
  QString Text(const TEditorPopupItem& item) const;
  void Add(QMenu& menu, QAction* before, const TEditorPopupItem& item);
  void Execute(const TEditorPopupItem& item);

  TEditorView& m_view;
  QMenu& m_menu;
  std::map<TEditorCommand, QKeySequence> m_keys;
  std::vector<QAction*> m_own;  // what Rebuild put into the menu
};

}  // namespace nuv
