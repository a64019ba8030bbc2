// The editor's popup menu in a QMenu: the core's items with the window's
// keys, the items other parts add kept below them, and the commands run.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include "base/Codec.h"
#include "editor/EditorTexts.h"
#include "editor/view/EditorPopup.h"
#include "editor/view/EditorView.h"

namespace nuv::test {
namespace {

QString Caption(const std::string& sjis) { return QString::fromStdU16String(DecodeCp932(sjis)); }

QAction* Find(const QMenu& menu, const std::string& caption) {
  for (QAction* a : menu.actions())
    if (a->text().section(QLatin1Char('\t'), 0, 0) == Caption(caption)) return a;
  return nullptr;
}

TEST(EditorPopupTest, TheCoreItemsStandAboveOtherItemsWithTheWindowsKeys) {
  TEditorView view;
  view.Editor().Lines().SetTextStr("abc\r\ndef\r\n");
  QMenu menu;
  QAction* divide = menu.addAction(QStringLiteral("divide"));  // a controller's item
  TEditorPopup popup(view, menu);
  popup.SetKey(TEditorCommand::Redo, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  popup.SetKey(TEditorCommand::BoxMode, QKeySequence());
  emit menu.aboutToShow();
  emit menu.aboutToShow();  // built again, not twice

  const QList<QAction*> actions = menu.actions();
  ASSERT_GE(actions.size(), 3);
  EXPECT_EQ(actions.back(), divide);
  EXPECT_TRUE(actions[actions.size() - 2]->isSeparator());
  EXPECT_EQ(actions.front()->text(), Caption(texts::EditorUndo()) + QStringLiteral("\tCtrl+Z"));
  int undoItems = 0;
  for (QAction* a : actions) undoItems += a->text() == actions.front()->text() ? 1 : 0;
  EXPECT_EQ(undoItems, 1);

  QAction* redo = Find(menu, texts::EditorRedo());
  ASSERT_TRUE(redo);
  EXPECT_EQ(redo->text().section(QLatin1Char('\t'), 1), QStringLiteral("Ctrl+Shift+Z"));
  QAction* box = Find(menu, texts::EditorBoxMode());
  ASSERT_TRUE(box);
  EXPECT_FALSE(box->text().contains(QLatin1Char('\t')));
  EXPECT_FALSE(box->isChecked());
  // Nothing is selected: no cutting; the mark submenus follow.
  EXPECT_FALSE(Find(menu, texts::EditorCut())->isEnabled());
  QAction* marks = Find(menu, texts::EditorMarkSet());
  ASSERT_TRUE(marks && marks->menu());
  EXPECT_EQ(marks->menu()->actions().size(), 10);
}

TEST(EditorPopupTest, ItemsRunTheCoreCommandsAndShowTheNewStateNextTime) {
  TEditorView view;
  view.Editor().Lines().SetTextStr("abc\r\ndef\r\n");
  QMenu menu;
  TEditorPopup popup(view, menu);
  emit menu.aboutToShow();
  Find(menu, texts::EditorSelectAll())->trigger();
  EXPECT_EQ(view.Editor().SelText(), "abc\r\ndef\r\n");
  emit menu.aboutToShow();
  EXPECT_TRUE(Find(menu, texts::EditorCut())->isEnabled());
  Find(menu, texts::EditorDelete())->trigger();
  EXPECT_EQ(view.Editor().Lines().GetTextStr(), "");
  emit menu.aboutToShow();
  Find(menu, texts::EditorUndo())->trigger();
  EXPECT_EQ(view.Editor().Lines().GetTextStr(), "abc\r\ndef\r\n");
  emit menu.aboutToShow();
  Find(menu, texts::EditorBoxMode())->trigger();
  EXPECT_EQ(view.Editor().SelectionMode(), smBox);
  emit menu.aboutToShow();
  EXPECT_TRUE(Find(menu, texts::EditorBoxMode())->isChecked());
  // A row mark set from the submenu is ticked in both submenus next time.
  view.Editor().SetRowCol(1, 0);
  Find(menu, texts::EditorMarkSet())->menu()->actions().at(3)->trigger();
  EXPECT_TRUE(view.Editor().GetListRowMarks(1).Has(static_cast<TRowMark>(3)));
  emit menu.aboutToShow();
  EXPECT_TRUE(Find(menu, texts::EditorMarkJump())->menu()->actions().at(3)->isChecked());
}

}  // namespace
}  // namespace nuv::test
