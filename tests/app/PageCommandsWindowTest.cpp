// The page commands in the real window: the same Ctrl+C in the tree, the
// title box and the text pane, renaming in place with the clipboard keys set
// aside, drops on a title, a row and empty space, marks and labels, the
// children list.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDrag>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>

#include "app/ClipboardController.h"
#include "app/DocumentController.h"
#include "app/DateBar.h"
#include "app/MarkController.h"
#include "app/PageCommandsController.h"
#include "outline/BinaryFormat.h"
#include "outline/NodeClipboard.h"
#include "outline/PageCommands.h"
#include "outline/PagePictures.h"
#include "outline/TextFormat.h"
#include "support/OutlineFixtures.h"
#include "support/WindowFixture.h"

namespace nuv::test {
namespace {

const char* kDoc = ".A\r\nbody A\r\n..A1\r\n..A2\r\n.B\r\nbody B\r\n.C\r\n";

// Calls a function for every event an object receives while it lives.
class TEventWatch : public QObject {
 public:
  TEventWatch(QObject* target, std::function<void(QEvent*)> seen) : m_seen(std::move(seen)) {
    target->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    m_seen(event);
    return false;
  }

 private:
  std::function<void(QEvent*)> m_seen;
};

class PageCommandsWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Start({QString::fromStdString(docs.Write("doc.txt", kDoc))});
    QApplication::setActiveWindow(window.get());
  }
  TTreeNode* Page(const std::string& title) {
    for (TTreeNode* n = window->Tree().GetFirstNode(); n; n = n->GetNext())
      if (n->Text() == title) return n;
    return nullptr;
  }
  QMimeData const* Clip() { return QApplication::clipboard()->mimeData(); }
  QPoint RowPoint(TTreeNode* page, int x) {
    const QRect r = window->TreeView()->visualRect(window->Model().IndexOf(page));
    return QPoint(r.left() + x, r.center().y());
  }
};

TEST_F(PageCommandsWindowTest, CtrlCCopiesWhatTheFocusedControlHolds) {
  Select(Page("A"));
  window->TreeView()->setFocus();
  QTest::keyClick(window->TreeView(), Qt::Key_C, Qt::ControlModifier);
  ASSERT_TRUE(Clip()->hasFormat(kNodeDataMime));
  const QByteArray block = Clip()->data(kNodeDataMime);
  const auto entries = DecodeNodeBlock(std::string_view(block.constData(), static_cast<std::size_t>(block.size())));
  ASSERT_TRUE(entries);
  EXPECT_EQ(entries->size(), 3u);  // A with its two children

  window->TitleBox()->setFocus();
  window->TitleBox()->selectAll();
  QTest::keyClick(window->TitleBox(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "A");

  window->PageEditor()->setFocus();
  window->Editor().SetSelection(0, 4);
  QTest::keyClick(window->PageEditor(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "body");
  EXPECT_FALSE(Clip()->hasFormat(kNodeDataMime));
}

TEST_F(PageCommandsWindowTest, CutAndPasteMovesPagesCopyDuplicates) {
  Select(Page("B"));
  window->TreeView()->setFocus();
  QTest::keyClick(window->TreeView(), Qt::Key_X, Qt::ControlModifier);
  EXPECT_TRUE(Page("B")->Cut());
  Select(Page("A"));
  window->TreeView()->setFocus();
  QTest::keyClick(window->TreeView(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Dump(window->Tree()), "B A .A1 .A2 C");
  EXPECT_EQ(Page("B")->Data()->Body(), "body B\r\n");
  EXPECT_TRUE(window->Document().DocModified);
  QTest::keyClick(window->TreeView(), Qt::Key_C, Qt::ControlModifier);  // copy of A
  Select(Page("C"));
  window->TreeView()->setFocus();
  QTest::keyClick(window->TreeView(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Dump(window->Tree()), "B A .A1 .A2 A .A1 .A2 C");
}

TEST_F(PageCommandsWindowTest, RenamingInPlaceSetsTheClipboardKeysAside) {
  Select(Page("B"));
  window->TreeView()->setFocus();
  QTest::keyClick(window->TreeView(), Qt::Key_F2);
  ASSERT_TRUE(window->TreeView()->IsEditing());
  EXPECT_TRUE(window->Clipboard().acCopy->shortcut().isEmpty());
  EXPECT_TRUE(window->Pages().ClipboardShortcutsReleased());
  QWidget* editor = window->TreeView()->indexWidget(window->TreeView()->currentIndex());
  ASSERT_NE(editor, nullptr);
  auto* box = qobject_cast<QLineEdit*>(editor);
  ASSERT_NE(box, nullptr);
  box->setText(QString::fromUtf8("新しい名前"));
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();  // the edit box commits after the key
  EXPECT_FALSE(window->TreeView()->IsEditing());
  EXPECT_EQ(Page(Sj("新しい名前")), window->SelectedPage());
  EXPECT_EQ(window->TitleBox()->text(), QString::fromUtf8("新しい名前"));
  EXPECT_EQ(window->Clipboard().acCopy->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
  EXPECT_TRUE(window->Document().DocModified);
  // An edit left without a new title gets its keys back from the timer.
  QTest::keyClick(window->TreeView(), Qt::Key_F2);
  QTest::keyClick(window->TreeView()->indexWidget(window->TreeView()->currentIndex()), Qt::Key_Escape);
  EXPECT_TRUE(window->Clipboard().acCopy->shortcut().isEmpty());
  QTest::qWait(250);
  EXPECT_FALSE(window->Clipboard().acCopy->shortcut().isEmpty());
}

TEST_F(PageCommandsWindowTest, DropsOnATitleARowAndEmptySpace) {
  TOutlineView* view = window->TreeView();
  view->resize(300, 400);
  QApplication::processEvents();
  Select(Page("C"));
  view->DropAt(RowPoint(Page("B"), 30));  // on B's title: C becomes B's child
  EXPECT_EQ(Dump(window->Tree()), "A .A1 .A2 B .C");
  Select(Page("B"));
  view->DropAt(RowPoint(Page("A"), view->visualRect(window->Model().IndexOf(Page("A"))).width() - 2));  // on the row
  EXPECT_EQ(Dump(window->Tree()), "B .C A .A1 .A2");
  Select(Page("C"));
  view->DropAt(QPoint(10, view->viewport()->height() - 3));  // below the last row
  EXPECT_EQ(Dump(window->Tree()), "B A .A1 .A2 C");
  EXPECT_TRUE(window->Document().DocModified);
}

TEST_F(PageCommandsWindowTest, KeysOfTheTree) {
  Select(Page("A"));
  window->TreeView()->setFocus();
  QTest::keyClick(window->TreeView(), Qt::Key_Space);
  EXPECT_EQ(window->SelectedPage(), Page("A1"));
  QTest::keyClick(window->TreeView(), Qt::Key_Return);  // adds below, and the title edit starts
  EXPECT_EQ(Dump(window->Tree()), "A .A1 ." + Sj("無題") + " .A2 B C");
  EXPECT_TRUE(window->TreeView()->IsEditing());
  QTest::keyClick(window->TreeView()->indexWidget(window->TreeView()->currentIndex()), Qt::Key_Escape);
  window->TreeView()->setFocus();
  QTest::keyClick(window->TreeView(), Qt::Key_Delete);  // the delete runs on release
  EXPECT_EQ(Dump(window->Tree()), "A .A1 .A2 B C " + Sj("ごみ箱") + " ." + Sj("無題"));
}

TEST_F(PageCommandsWindowTest, MarkAndLabelMenusAndButtons) {
  Select(Page("B"));
  TMarkCommands& marks = window->Marks();
  marks.markItems[pic::kMemo]->trigger();
  EXPECT_EQ(Page("B")->ImageIndex(), pic::kMemo);
  EXPECT_EQ(marks.pmNoteMark->actions().indexOf(marks.markItems[pic::kMemo]), 7);
  EXPECT_TRUE(marks.markItems[pic::kMemo]->isChecked());
  marks.markItems[pic::kFolder]->trigger();
  EXPECT_EQ(marks.pmNoteMark->actions().indexOf(marks.markItems[pic::kFolder]), 8);
  marks.acImageChange->trigger();  // from folder back to not started
  EXPECT_EQ(Page("B")->ImageIndex(), pic::kNotStarted);
  EXPECT_EQ(Page("B")->Data()->Mark(), pic::kNotStarted);
  marks.labelItems[7]->trigger();  // label 8
  EXPECT_EQ(Page("B")->StateIndex(), 14);
  marks.acSImageChange->trigger();  // wraps to label 2
  EXPECT_EQ(Page("B")->StateIndex(), 8);
  marks.labelItems[0]->trigger();  // label 1 with labels hidden: no picture, but recorded
  EXPECT_EQ(Page("B")->StateIndex(), 0);
  EXPECT_EQ(Page("B")->Data()->Label(), 7);
  EXPECT_TRUE(marks.labelItems[0]->isChecked());
  EXPECT_EQ(marks.labelItems[1]->text(), QString::fromUtf8("重要"));
  // Ctrl+click on another page's icon steps its mark and makes a record.
  TTreeNode* a1 = Page("A1");
  ASSERT_EQ(a1->Data()->Body(), "");
  const int before = a1->ImageIndex();
  marks.IconCtrlClicked(a1, true);
  EXPECT_EQ(a1->ImageIndex(), CycledMark(before));
  EXPECT_EQ(a1->Data()->Mark(), CycledMark(before));
}

TEST_F(PageCommandsWindowTest, ALabelChosenOnANewPageSurvivesABinarySave) {
  Select(Page("C"));
  TTreeNode* page = window->AddPageAbove();
  window->Marks().labelItems[3]->trigger();  // label 4, while the page has no record
  Select(Page("A"));  // the page switch stores the new page
  const std::string path = docs.File("saved.pk2");
  ASSERT_EQ(window->Documents().SaveBinary(path), TSaveResult::Saved);
  TOutlineTree back;
  ASSERT_TRUE(ReadBinary(path, TFormatOptions{}, back).ok);
  const TTreeNode* saved = back.GetNodeAt(window->Tree().AbsoluteIndexOf(page));
  ASSERT_NE(saved->Data(), nullptr);
  EXPECT_EQ(saved->Text(), Sj("無題"));
  EXPECT_EQ(saved->Data()->Label(), 10);
  EXPECT_EQ(saved->StateIndex(), 10);
}

TEST_F(PageCommandsWindowTest, CtrlClickStepsTheMarkOnlyOnTheMarkPicture) {
  TTreeNode* b = Page("B");
  Select(b);
  window->Marks().labelItems[2]->trigger();  // label 3: its picture stands left of the mark
  Select(Page("A"));
  QWidget* viewport = window->TreeView()->viewport();
  const QRect row = window->TreeView()->visualRect(window->Model().IndexOf(b));
  const int before = b->ImageIndex();
  QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, QPoint(row.left() + 8, row.center().y()));
  EXPECT_EQ(b->ImageIndex(), before);
  QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, QPoint(row.left() + 26, row.center().y()));
  EXPECT_EQ(b->ImageIndex(), CycledMark(before));
}

TEST_F(PageCommandsWindowTest, PagesStillMoveInCompatibilityMode) {
  window->findChild<QAction*>("miPirkaCompatible")->trigger();
  ASSERT_TRUE(window->TreeReadOnly());
  TOutlineView* view = window->TreeView();
  view->resize(300, 400);
  Select(Page("C"));
  EXPECT_FALSE(view->EditCurrent());  // titles stay read-only
  // A drag shows as the QDrag the view makes; it is cancelled at once.
  bool dragStarted = false;
  TEventWatch watch(view, [&](QEvent* e) {
    if (e->type() != QEvent::ChildAdded || dragStarted) return;
    dragStarted = true;
    QTimer::singleShot(0, [] { QDrag::cancel(); });
  });
  const QPoint from = RowPoint(Page("C"), 30);
  QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
  // Moves with the button held, as the pointer sends them: the first arms the drag, the next starts it.
  const QPoint to = from + QPoint(0, -40);
  for (const QPoint& at : {from + QPoint(0, -2), to}) {
    QMouseEvent move(QEvent::MouseMove, at, view->viewport()->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);
  }
  QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, to);
  EXPECT_TRUE(dragStarted);
}

TEST_F(PageCommandsWindowTest, TheChildrenListFollowsTheLevel) {
  Select(Page("A1"));
  window->findChild<QAction*>("acViewList")->setChecked(true);
  QTreeWidget* list = window->ChildrenList();
  ASSERT_EQ(list->topLevelItemCount(), 2);
  EXPECT_EQ(list->topLevelItem(0)->text(0), "A1");
  Select(Page("B"));  // another level: filled again
  EXPECT_EQ(list->topLevelItemCount(), 3);
  // Deleting from the list works on its selected pages.
  list->setFocus();
  list->clearSelection();
  list->topLevelItem(2)->setSelected(true);  // C
  window->Pages().acDelNode->trigger();
  EXPECT_EQ(Page("C")->Parent(), window->Tree().GetLastRootPage());
}

TEST_F(PageCommandsWindowTest, DateFieldsTakeADateWithOrWithoutTime) {
  TfmDateTime dialog(window.get());
  dialog.SetFromField(TDateBar::kEmpty);
  EXPECT_FALSE(dialog.WithTime()->isChecked());
  dialog.Calendar()->setSelectedDate(QDate(2026, 12, 10));
  EXPECT_EQ(dialog.FieldText(), "2026/12/10 **:**:**");
  dialog.SetFromField("2025/03/04 **:**:**");
  EXPECT_EQ(dialog.Calendar()->selectedDate(), QDate(2025, 3, 4));
  EXPECT_FALSE(dialog.WithTime()->isChecked());
  dialog.SetFromField("2025/03/04 05:06:07");
  EXPECT_TRUE(dialog.WithTime()->isChecked());
  EXPECT_EQ(dialog.FieldText(), "2025/03/04 05:06:07");
}

}  // namespace
}  // namespace nuv::test
