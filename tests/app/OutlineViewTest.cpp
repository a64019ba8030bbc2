// The page tree's view in the real window: its rows against the pages shown
// after each kind of change, the keys and clicks of the tree, renaming in
// place, what it tells assistive technology and what it paints.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionViewItem>
#include <QTest>
#include <functional>

#include "outline/ShownRows.h"
#include "support/OutlineFixtures.h"
#include "support/WindowFixture.h"

namespace nuv::test {
namespace {

// A, its children A1 and A2 (A2 with x), B with B1, C.
const char* kDoc = ".A\r\n..A1\r\n..A2\r\n...x\r\n.B\r\n..B1\r\n.C\r\n";

class OutlineViewTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Start({QString::fromStdString(docs.Write("doc.txt", kDoc))});
    QApplication::setActiveWindow(window.get());
    view = window->TreeView();
    view->resize(300, 400);
    view->setFocus();
    QApplication::processEvents();
  }
  TTreeNode* Page(const std::string& title) { return FindPage(window->Tree(), title); }
  QModelIndex IndexOf(const std::string& title) { return window->Model().IndexOf(Page(title)); }
  std::string Current() {
    const TTreeNode* page = window->Model().NodeOf(view->currentIndex());
    return page ? page->Text() : "";
  }
  // Expands exactly the pages named.
  void ExpandOnly(std::initializer_list<const char*> titles) {
    window->Tree().FullCollapse();
    for (const char* t : titles) window->Tree().Expand(Page(t));
    QApplication::processEvents();
  }
  // The titles of the rows as the view finds them by point, from the top.
  std::string RowsByPoint() {
    view->verticalScrollBar()->setValue(0);
    std::string out;
    const int height = view->RowHeight();
    for (int y = height / 2; y < view->viewport()->height(); y += height) {
      const TTreeNode* page = window->Model().NodeOf(view->indexAt(QPoint(3, y)));
      if (!page) break;
      if (!out.empty()) out += ' ';
      out += std::string(static_cast<std::size_t>(page->Level()), '.') + page->Text();
    }
    return out;
  }
  // The middle of a page's title, where the view's hit test finds it.
  QPoint TitlePoint(const std::string& title) {
    const QRect r = view->visualRect(IndexOf(title));
    int left = r.left();
    while (left < r.right() && !view->HitTest(QPoint(left, r.center().y())).onTitle) ++left;
    int right = left;
    while (right < r.right() && view->HitTest(QPoint(right, r.center().y())).onTitle) ++right;
    return QPoint((left + right) / 2, r.center().y());
  }
  QPoint ExpanderPoint(const std::string& title) {
    const QRect r = view->visualRect(IndexOf(title));
    return QPoint(r.left() - view->Indentation() / 2, r.center().y());
  }

  TOutlineView* view = nullptr;
};

TEST_F(OutlineViewTest, RowsFollowExpansionInsertRemoveAndMove) {
  TOutlineTree& tree = window->Tree();
  const struct {
    const char* name;
    std::function<void()> change;
    const char* rows;
  } steps[] = {
      {"all collapsed", [&] { ExpandOnly({}); }, "A B C"},
      {"A expanded by the view", [&] { view->setExpanded(IndexOf("A"), true); }, "A .A1 .A2 B C"},
      {"A2 expanded by the tree", [&] { tree.Expand(Page("A2")); }, "A .A1 .A2 ..x B C"},
      {"A collapsed hides its grandchild", [&] { view->collapse(IndexOf("A")); }, "A B C"},
      {"A expanded again shows it", [&] { view->expand(IndexOf("A")); }, "A .A1 .A2 ..x B C"},
      {"a page inserted", [&] { tree.InsertAfter(Page("A1"), "N"); }, "A .A1 .N .A2 ..x B C"},
      {"a page under collapsed B", [&] { tree.AddChild(Page("B"), "B2"); }, "A .A1 .N .A2 ..x B C"},
      {"a subtree removed", [&] { tree.Delete(Page("A2")); }, "A .A1 .N B C"},
      {"a subtree moved", [&] { tree.MoveTo(Page("B"), Page("A1"), TNodeAttachMode::naInsert); }, "A .B .A1 .N C"},
      {"moved subtree expanded", [&] { view->expand(IndexOf("B")); }, "A .B ..B1 ..B2 .A1 .N C"},
      {"children sorted",
       [&] { tree.SortChildren(Page("A"), [](const std::string& a, const std::string& b) { return b.compare(a); }); },
       "A .N .B ..B1 ..B2 .A1 C"},
  };
  for (const auto& step : steps) {
    step.change();
    QApplication::processEvents();
    SCOPED_TRACE(step.name);
    EXPECT_EQ(RowsByPoint(), step.rows);
    // Each row's rectangle lies on its row and starts after its level's indentation.
    for (int row = 0; row < view->RowCount(); ++row) {
      const TTreeNode* page = view->PageAt(row);
      const QRect r = view->visualRect(window->Model().IndexOf(page));
      EXPECT_EQ(r.top(), row * view->RowHeight()) << page->Text();
      EXPECT_EQ(r.left(), (page->Level() + 1) * view->Indentation()) << page->Text();
      EXPECT_EQ(view->RowOf(page), row);
    }
    EXPECT_EQ(view->isExpanded(IndexOf("A")), Page("A")->Expanded());
  }
}

TEST_F(OutlineViewTest, ScrollingCountsRowsAndShowsTheCurrentPage) {
  TOutlineTree& tree = window->Tree();
  for (int i = 0; i < 200; ++i) tree.AddChild(Page("C"), "c" + std::to_string(i));
  ExpandOnly({});
  EXPECT_EQ(view->verticalScrollBar()->maximum(), 0);  // A, B and C fit
  // Selecting a page under a collapsed parent expands it and scrolls to it.
  window->SelectPage(Page("c150"));
  QApplication::processEvents();
  EXPECT_TRUE(Page("C")->Expanded());
  EXPECT_EQ(view->verticalScrollBar()->maximum(), 203 - view->viewport()->height() / view->RowHeight());
  const QRect r = view->visualRect(IndexOf("c150"));
  EXPECT_TRUE(view->viewport()->rect().contains(r.center()));
  EXPECT_EQ(window->Model().NodeOf(view->indexAt(r.center())), Page("c150"));
  EXPECT_EQ(window->SelectedPage(), Page("c150"));
}

TEST_F(OutlineViewTest, ADeepExpandedChainShowsItsLastPage) {
  // Each row walks its ancestors once; branch cells right of the viewport are not drawn.
  constexpr int kDepth = 100000;
  TOutlineTree& tree = window->Tree();
  tree.BeginUpdate();
  TTreeNode* page = Page("C");
  for (int i = 0; i < kDepth; ++i) page = tree.AddChild(page, "d");
  tree.EndUpdate();
  tree.FullExpand();
  window->SelectPage(page);
  QApplication::processEvents();
  const int row = 7 + kDepth - 1;  // below A, A1, A2, x, B, B1 and C
  EXPECT_EQ(view->RowCount(), 7 + kDepth);
  EXPECT_EQ(view->RowOf(page), row);
  EXPECT_EQ(view->PageAt(row), page);
  const QRect r = view->visualRect(window->Model().IndexOf(page));
  EXPECT_EQ(r.left(), (kDepth + 1) * view->Indentation());
  EXPECT_TRUE(r.top() >= 0 && r.bottom() < view->viewport()->height());
  EXPECT_FALSE(view->viewport()->grab().isNull());
}

TEST_F(OutlineViewTest, KeysMoveExpandAndCollapseAsATree) {
  const struct {
    std::initializer_list<const char*> expanded;
    const char* from;
    Qt::Key key;
    const char* to;
    const char* expandedAfter;  // the pages expanded afterwards, in tree order
  } cases[] = {
      {{"A"}, "A", Qt::Key_Down, "A1", "A"},
      {{"A"}, "A2", Qt::Key_Down, "B", "A"},          // over A2's hidden child
      {{"A", "A2"}, "B", Qt::Key_Up, "x", "A A2"},    // into the last shown row above
      {{}, "A", Qt::Key_Right, "A", "A"},             // expands
      {{"A"}, "A", Qt::Key_Right, "A1", "A"},         // then goes to the first child
      {{}, "C", Qt::Key_Right, "C", ""},              // a page without children stays
      {{"A"}, "A", Qt::Key_Left, "A", ""},            // collapses
      {{"A"}, "A1", Qt::Key_Left, "A", "A"},          // then goes to the parent
      {{}, "B", Qt::Key_Home, "A", ""},
      {{"A", "B"}, "A", Qt::Key_End, "C", "A B"},
      {{"A", "A2", "B"}, "B1", Qt::Key_PageDown, "C", "A A2 B"},  // stops at the last row
      {{"A", "A2", "B"}, "A1", Qt::Key_PageUp, "A", "A A2 B"},    // and at the first
      {{}, "A", Qt::Key_Plus, "A", "A"},
      {{"A"}, "A", Qt::Key_Minus, "A", ""},
      {{}, "A", Qt::Key_Asterisk, "A", "A A2"},   // the whole subtree
      {{}, "A", Qt::Key_C, "C", ""},              // type-ahead among the rows shown
      {{"B"}, "A", Qt::Key_B, "B", "B"},
      {{"A"}, "A", Qt::Key_A, "A1", "A"},         // the same letter again: the next page with it
  };
  for (const auto& c : cases) {
    ExpandOnly(c.expanded);
    Select(Page(c.from));
    view->setFocus();
    if (c.key >= Qt::Key_A && c.key <= Qt::Key_Z)
      QTest::qWait(QApplication::keyboardInputInterval() + 10);  // type-ahead starts afresh
    SCOPED_TRACE(std::string(c.from) + " key " + std::to_string(c.key));
    QTest::keyClick(view, c.key, Qt::NoModifier);
    EXPECT_EQ(Current(), c.to);
    std::string expanded;
    for (TTreeNode* n = window->Tree().GetFirstNode(); n; n = n->GetNext())
      if (n->Expanded() && n->HasChildren()) expanded += (expanded.empty() ? "" : " ") + n->Text();
    EXPECT_EQ(expanded, c.expandedAfter);
  }
}

TEST_F(OutlineViewTest, PageKeysMoveByTheRowsThatFit) {
  for (int i = 0; i < 100; ++i) window->Tree().AddChild(Page("C"), "c" + std::to_string(i));
  ExpandOnly({"C"});
  Select(view->PageAt(1));
  const int perPage = view->viewport()->height() / view->RowHeight();
  ASSERT_GT(perPage, 2);
  QTest::keyClick(view, Qt::Key_PageDown);
  EXPECT_EQ(window->SelectedPage(), view->PageAt(1 + perPage));
  QTest::keyClick(view, Qt::Key_PageDown);
  EXPECT_EQ(window->SelectedPage(), view->PageAt(1 + 2 * perPage));
  // The page moved to is on screen.
  EXPECT_TRUE(view->viewport()->rect().contains(view->visualRect(view->currentIndex()).center()));
  QTest::keyClick(view, Qt::Key_PageUp);
  EXPECT_EQ(window->SelectedPage(), view->PageAt(1 + perPage));
  QTest::keyClick(view, Qt::Key_End);
  EXPECT_EQ(window->SelectedPage(), Page("c99"));
  EXPECT_EQ(view->verticalScrollBar()->value(), view->verticalScrollBar()->maximum());
  QTest::keyClick(view, Qt::Key_Home);
  EXPECT_EQ(window->SelectedPage(), Page("A"));
  EXPECT_EQ(view->verticalScrollBar()->value(), 0);
}

TEST_F(OutlineViewTest, TheExpanderTogglesWithoutSelectingADoubleClickToggles) {
  ExpandOnly({});
  Select(Page("C"));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, ExpanderPoint("A"));
  EXPECT_TRUE(Page("A")->Expanded());
  EXPECT_EQ(RowsByPoint(), "A .A1 .A2 B C");
  EXPECT_EQ(Current(), "C");
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, ExpanderPoint("A"));
  EXPECT_FALSE(Page("A")->Expanded());
  EXPECT_EQ(Current(), "C");
  // A click beside a page without children only selects it.
  Select(Page("A"));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, ExpanderPoint("C"));
  EXPECT_EQ(RowsByPoint(), "A B C");
  EXPECT_EQ(Current(), "C");
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, TitlePoint("B"));
  EXPECT_TRUE(Page("B")->Expanded());
  EXPECT_EQ(Current(), "B");
  EXPECT_FALSE(view->IsEditing());
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, TitlePoint("B"));
  EXPECT_FALSE(Page("B")->Expanded());
  // A double click on the selected title does not rename it.
  QTest::qWait(QApplication::doubleClickInterval() + 50);
  EXPECT_FALSE(view->IsEditing());
}

TEST_F(OutlineViewTest, AClickOnTheSelectedTitleRenamesInPlace) {
  ExpandOnly({"A"});
  Select(Page("A1"));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, TitlePoint("A1"));
  // The edit waits out the double-click time, so a double click does not start it.
  QTest::qWait(QApplication::doubleClickInterval() + 50);
  ASSERT_TRUE(view->IsEditing());
  auto* box = qobject_cast<QLineEdit*>(view->indexWidget(view->currentIndex()));
  ASSERT_NE(box, nullptr);
  // The box lies on the page's row.
  EXPECT_TRUE(view->visualRect(IndexOf("A1")).intersects(box->geometry()));
  box->selectAll();
  QTest::keyClicks(box, "renamed");
  QTest::keyClick(box, Qt::Key_Return);
  QApplication::processEvents();  // the edit box commits after the key
  EXPECT_FALSE(view->IsEditing());
  EXPECT_EQ(Page("A1"), nullptr);
  EXPECT_EQ(Dump(window->Tree()), "A .renamed .A2 ..x B .B1 C");
  // Read-only refuses the same click.
  view->SetReadOnly(true);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, TitlePoint("renamed"));
  QTest::qWait(QApplication::doubleClickInterval() + 50);
  EXPECT_FALSE(view->IsEditing());
}

TEST_F(OutlineViewTest, ADraggedPageHighlightsItsDropScrollsAndDrops) {
  for (int i = 0; i < 100; ++i) window->Tree().AddChild(Page("C"), "c" + std::to_string(i));
  ExpandOnly({"C"});
  Select(Page("B"));
  QMimeData data;
  data.setData(kPageDragMime, QByteArray::number(static_cast<qulonglong>(Page("B")->Id())));
  auto send = [&](QEvent::Type type, const QPoint& at) {
    QDragMoveEvent event(at, Qt::MoveAction | Qt::LinkAction | Qt::CopyAction, &data, Qt::LeftButton, {}, type);
    QApplication::sendEvent(view->viewport(), &event);
    return std::make_pair(event.isAccepted(), event.dropAction());
  };
  const QPoint onTitle = TitlePoint("A");
  EXPECT_TRUE(send(QEvent::DragEnter, onTitle).first);
  const struct {
    const char* name;
    QPoint at;
    bool accepted;
    Qt::DropAction action;
    const char* highlight;  // empty: none
  } moves[] = {
      {"on a title: into that page", TitlePoint("A"), true, Qt::LinkAction, "A"},
      {"on a row: before that page", QPoint(view->viewport()->width() - 30, TitlePoint("C").y()), true, Qt::MoveAction, "C"},
      {"on the dragged page itself", TitlePoint("B"), false, Qt::MoveAction, ""},
  };
  for (const auto& m : moves) {
    SCOPED_TRACE(m.name);
    const auto [accepted, action] = send(QEvent::DragMove, m.at);
    EXPECT_EQ(accepted, m.accepted);
    if (accepted) {
      EXPECT_EQ(action, m.action);
    }
    const TTreeNode* highlighted = window->Model().NodeOf(view->DropHighlight());
    EXPECT_EQ(highlighted ? highlighted->Text() : "", m.highlight);
  }
  // Near the bottom the tree scrolls down a row at a time while the drag waits.
  const int bottomRow = view->viewport()->height() / view->RowHeight() - 1;
  send(QEvent::DragMove, QPoint(60, bottomRow * view->RowHeight() + 2));
  EXPECT_EQ(view->AutoScroll(), TScrollDirection::Down);
  EXPECT_TRUE(view->AutoScrollTick());
  EXPECT_EQ(view->verticalScrollBar()->value(), 1);
  view->verticalScrollBar()->setValue(0);
  // The drop on A's title makes B A's last child.
  QDropEvent drop(QPointF(TitlePoint("A")), Qt::MoveAction | Qt::LinkAction, &data, Qt::LeftButton, {});
  QApplication::sendEvent(view->viewport(), &drop);
  EXPECT_EQ(view->DropHighlight(), QModelIndex());
  EXPECT_EQ(Page("B")->Parent(), Page("A"));
  EXPECT_EQ(Page("B")->GetNextSibling(), nullptr);
}

TEST_F(OutlineViewTest, AssistiveTechnologySeesTheRowsByName) {
  ExpandOnly({"A"});
  Select(Page("A2"));
  view->setFocus();
  QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(view);
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->role(), QAccessible::Tree);
  ASSERT_EQ(tree->childCount(), 5);
  const char* names[] = {"A", "A1", "A2", "B", "C"};
  for (int i = 0; i < 5; ++i) {
    QAccessibleInterface* row = tree->child(i);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->text(QAccessible::Name), names[i]);
    EXPECT_EQ(row->role(), QAccessible::TreeItem);
    EXPECT_EQ(tree->indexOfChild(row), i);
    EXPECT_EQ(row->parent(), tree);
    EXPECT_EQ(tree->child(i), row);  // the same interface while the rows stand
  }
  EXPECT_TRUE(tree->child(0)->state().expanded);
  EXPECT_TRUE(tree->child(2)->state().collapsed);
  EXPECT_FALSE(tree->child(1)->state().expandable);
  EXPECT_TRUE(tree->child(2)->state().selected);
  EXPECT_EQ(tree->focusChild(), tree->child(2));
  const QRect onScreen = tree->child(3)->rect();
  EXPECT_EQ(tree->childAt(onScreen.center().x(), onScreen.center().y()), tree->child(3));
  view->collapse(IndexOf("A"));
  EXPECT_EQ(tree->childCount(), 3);
  EXPECT_EQ(tree->child(1)->text(QAccessible::Name), "B");
}

TEST_F(OutlineViewTest, PaintsBranchesPagesAndTheSelection) {
  ExpandOnly({"A"});
  Select(Page("A2"));
  view->setFocus();
  QApplication::processEvents();
  const QImage shot = view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const int height = view->RowHeight();
  const int indent = view->Indentation();
  const QColor base = view->palette().color(QPalette::Base);
  auto cell = [&](int row, int level) { return shot.copy(level * indent, row * height, indent, height); };
  auto plain = [&](const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, y) != base) return false;
    return true;
  };
  // The expander of A is the style's open branch with children, the one of
  // B a closed one, a page without children has none.
  auto branch = [&](QStyle::State state) {
    QImage image(indent, height, QImage::Format_RGB32);
    image.fill(base);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.rect = QRect(0, 0, indent, height);
    option.state = (option.state & (QStyle::State_Enabled | QStyle::State_Active)) | state;
    view->style()->drawPrimitive(QStyle::PE_IndicatorBranch, &option, &painter, view);
    return image;
  };
  const QStyle::State sibling = QStyle::State_Item | QStyle::State_Sibling;
  EXPECT_EQ(cell(0, 0), branch(sibling | QStyle::State_Children | QStyle::State_Open));
  EXPECT_EQ(cell(3, 0), branch(sibling | QStyle::State_Children));
  EXPECT_NE(cell(0, 0), cell(3, 0));
  EXPECT_EQ(cell(4, 0), branch(QStyle::State_Item));  // C: the last root page, no children
  EXPECT_EQ(cell(1, 0), branch(QStyle::State_Sibling));  // A's line passes A1
  // Each page's title is drawn on its row; nothing is drawn below the last row.
  for (int row = 0; row < 5; ++row)
    EXPECT_FALSE(plain(shot.copy(view->visualRect(window->Model().IndexOf(view->PageAt(row))).adjusted(0, 0, -150, 0))))
        << row;
  EXPECT_TRUE(plain(shot.copy(0, 5 * height, shot.width(), shot.height() - 5 * height)));
  // The selected page's row shows the selection colour.
  auto highlighted = [&](const char* title) {
    const QColor active = view->palette().color(QPalette::Active, QPalette::Highlight);
    const QColor inactive = view->palette().color(QPalette::Inactive, QPalette::Highlight);
    const QRect r = view->visualRect(IndexOf(title));
    int count = 0;
    for (int x = r.left(); x < r.right(); ++x) {
      const QColor pixel = shot.pixelColor(x, r.top() + 1);
      count += pixel == active || pixel == inactive ? 1 : 0;
    }
    return count;
  };
  EXPECT_GE(highlighted("A2"), view->fontMetrics().horizontalAdvance("A2"));
  EXPECT_EQ(highlighted("A1"), 0);
}

}  // namespace
}  // namespace nuv::test
