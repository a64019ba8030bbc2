// The window's edit modes, the settings it applies to its page editor, and
// the editor's keys and focus inside the window.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QSpinBox>
#include <QTest>

#include "app/EditModeController.h"
#include "editor/view/EditorView.h"
#include "support/WindowFixture.h"

namespace nuv::test {
namespace {

class EditModeWindowTest : public WindowTest {
 protected:
  TEditorView& View() { return *static_cast<TEditorView*>(window->PageEditor()); }
};

TEST_F(EditModeWindowTest, NineModesAndTheUserModesNoEntryUntilOneIsChosen) {
  WriteIni("EditMode", "Name2", "Lua");
  WriteIni("EditMode", "Accelerator2", "U");
  WriteIni("EditMode", "File2", "lua.rsv");
  WriteIni("EditMode", "Name4", "SQL");
  Destroy();
  Create();
  home.Write("lua.rsv", "Commenter=--\r\nlocal\r\n");
  Start();
  QComboBox* box = window->EditModeBox();
  ASSERT_EQ(box->count(), 11);
  EXPECT_EQ(box->itemText(7), "Ruby");
  EXPECT_EQ(box->itemText(9), "Lua");
  EXPECT_EQ(box->itemText(10), "SQL");
  EXPECT_EQ(box->currentIndex(), -1);
  EXPECT_TRUE(window->EditModes().ModeAction(0)->isChecked());
  EXPECT_EQ(window->EditModes().ModeAction(9)->text(), QString::fromUtf8("Luaモード(&U)"));
  EXPECT_EQ(View().ActiveFountain(), nullptr);

  window->findChild<QAction*>("acEMPerl")->trigger();
  EXPECT_EQ(View().ActiveFountain(), &View().Fountains().Perl);
  EXPECT_EQ(box->currentIndex(), 6);
  box->activated(9);  // the user mode, from the box
  EXPECT_EQ(View().ActiveFountain(), nullptr);
  EXPECT_TRUE(window->EditModes().ModeAction(9)->isChecked());
  EXPECT_EQ(View().ViewFountain().Commenter(), "--");
  EXPECT_TRUE(View().ViewFountain().ReserveWordList().Contains("local"));
}

TEST_F(EditModeWindowTest, TheSettingsReachTheEditorAndWrapRightLeavesWrapByte) {
  WriteIni("EditView", "WrapByte", "60");
  WriteIni("EditView", "WrapRight", "1");
  WriteIni("EditView", "ShowLineNo", "0");
  WriteIni("Action", "ScrollLine", "4");
  Destroy();
  Create();
  Start();
  EXPECT_FALSE(View().View().Leftbar.Visible());
  EXPECT_FALSE(window->WrapByteBox()->isEnabled());
  window->resize(1200, 700);
  QApplication::processEvents();
  const int wide = View().Editor().WrapOption().WrapByte();
  window->resize(700, 700);
  QApplication::processEvents();
  EXPECT_LT(View().Editor().WrapOption().WrapByte(), wide);
  EXPECT_EQ(window->Config().WrapByte, 60);
}

TEST_F(EditModeWindowTest, TheEditorsKeysWinOverAWindowShortcutOnTheSameKey) {
  Start({QString::fromStdString(docs.Write("doc.txt", ".A\r\nabc\r\n"))});
  QAction grabber(window.get());
  grabber.setShortcut(QKeySequence(Qt::Key_End));
  grabber.setShortcutContext(Qt::WindowShortcut);
  window->addAction(&grabber);
  int fired = 0;
  QObject::connect(&grabber, &QAction::triggered, [&fired] { ++fired; });
  window->activateWindow();
  window->PageEditor()->setFocus();
  QApplication::processEvents();
  QTest::keyClick(window->PageEditor(), Qt::Key_End);
  EXPECT_EQ(fired, 0);
  EXPECT_EQ(window->Editor().CaretCol(), 3);
  QTest::keyClick(window->PageEditor(), Qt::Key_Tab);  // typed, the focus stays
  EXPECT_EQ(window->Editor().Text(), "abc\t\r\n");
  EXPECT_EQ(QApplication::focusWidget(), window->PageEditor());
}

TEST_F(EditModeWindowTest, OpeningAMenuIsNoFocusLossButLeavingTheEditorStoresThePage) {
  Start({QString::fromStdString(docs.Write("doc.txt", ".A\r\nbody\r\n"))});
  TTreeNode* page = window->Tree().GetFirstNode();
  Type("new ");
  QFocusEvent toMenu(QEvent::FocusOut, Qt::PopupFocusReason);
  QApplication::sendEvent(window->PageEditor(), &toMenu);
  EXPECT_EQ(page->Data()->Body(), "body\r\n");
  QFocusEvent toTree(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(window->PageEditor(), &toTree);
  EXPECT_EQ(page->Data()->Body(), "new body\r\n");
}

TEST_F(EditModeWindowTest, TheEditMenusBoxModeItemSwitchesTheEditorAndShowsItsMode) {
  Start();
  QAction* box = window->findChild<QAction*>("acBoxSelMode");
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(box->isChecked());
  box->trigger();
  EXPECT_TRUE(box->isChecked());
  EXPECT_EQ(View().Editor().SelectionMode(), smBox);
  box->trigger();
  EXPECT_EQ(View().Editor().SelectionMode(), smLine);
  // The editor's popup switches the mode too; the menu shows the editor's.
  View().Editor().SetSelectionMode(smBox);
  EXPECT_TRUE(box->isChecked());
  View().Editor().SetSelectionMode(smLine);
  EXPECT_FALSE(box->isChecked());
}
}  // namespace
}  // namespace nuv::test
