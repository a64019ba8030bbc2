// The core's popup items as menu actions that run the core's commands.
#include "editor/view/EditorPopup.h"

#include <QAction>
#include <QMenu>

#include "base/Codec.h"
#include "editor/view/EditorView.h"

namespace nuv {

namespace {

QString FromSjis(const std::string& sjis) { return QString::fromStdU16String(DecodeCp932(sjis)); }

}  // namespace

TEditorPopup::TEditorPopup(TEditorView& view, QMenu& menu, QObject* parent) : QObject(parent), m_view(view), m_menu(menu) {
  connect(&m_menu, &QMenu::aboutToShow, this, &TEditorPopup::Rebuild);
}

void TEditorPopup::SetKey(TEditorCommand command, const QKeySequence& key) { m_keys[command] = key; }

QString TEditorPopup::Text(const TEditorPopupItem& item) const {
  // The key is only shown (after a tab, as menus do): the window's own
  // shortcuts are what really runs the commands.
  QString key = QString::fromStdString(item.ShortCut);
  if (const auto own = m_keys.find(item.Command); own != m_keys.end()) key = own->second.toString(QKeySequence::NativeText);
  const QString caption = FromSjis(item.Caption);
  return key.isEmpty() ? caption : caption + QLatin1Char('\t') + key;
}

void TEditorPopup::Add(QMenu& menu, QAction* before, const TEditorPopupItem& item) {
  QAction* action = nullptr;
  if (item.Separator) {
    action = new QAction(&menu);
    action->setSeparator(true);
  } else if (!item.Items.empty()) {
    auto* sub = new QMenu(FromSjis(item.Caption), &menu);
    for (const TEditorPopupItem& child : item.Items) Add(*sub, nullptr, child);
    action = sub->menuAction();
  } else {
    action = new QAction(Text(item), &menu);
    action->setCheckable(item.Checked);
    action->setChecked(item.Checked);
    connect(action, &QAction::triggered, this, [this, item] { Execute(item); });
  }
  action->setEnabled(item.Enabled);
  menu.insertAction(before, action);
  if (&menu == &m_menu) m_own.push_back(action);
}

void TEditorPopup::Rebuild() {
  for (QAction* action : m_own) {
    m_menu.removeAction(action);
    // A submenu's action belongs to the submenu.
    if (QMenu* sub = action->menu()) {
      sub->deleteLater();
    } else {
      action->deleteLater();
    }
  }
  m_own.clear();
  const QList<QAction*> others = m_menu.actions();
  QAction* before = others.isEmpty() ? nullptr : others.front();
  for (const TEditorPopupItem& item : TEditorPopupMenu::Items(m_view.Editor())) Add(m_menu, before, item);
  if (before && !before->isSeparator()) {
    TEditorPopupItem separator;
    separator.Separator = true;
    Add(m_menu, before, separator);
  }
}

void TEditorPopup::Execute(const TEditorPopupItem& item) {
  TEditorEx& editor = m_view.Editor();
  editor.CaretBeginUpdate();
  TEditorPopupMenu::Execute(editor, item);
  editor.ScrollCaret();
  editor.CaretEndUpdate();
  m_view.viewport()->update();
}

}  // namespace nuv
