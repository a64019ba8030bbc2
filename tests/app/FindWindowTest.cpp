// Find and replace in the real window, driven as a user would: the find
// dialog over all pages, F3 through every hit of the listed pages, the
// query-replace dialog answered key by key, and 元に戻す after a replace
// across pages.
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <deque>
#include <functional>

#include "app/ClipboardController.h"
#include "app/FindController.h"
#include "app/FindDialogs.h"
#include "app/NuvStatusBar.h"
#include "outline/NodeData.h"
#include "support/WindowFixture.h"

namespace nuv::test {
namespace {

const char* kDoc = ".A\r\nx one x\r\n.B\r\nnothing\r\n.C x\r\nthree x\r\n";

class FindWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Start({QString::fromStdString(docs.Write("doc.txt", kDoc))});
    QApplication::setActiveWindow(window.get());
  }
  // Runs `act` on the next modal dialog of type D as soon as it shows.
  template <typename D>
  void OnDialog(std::function<void(D*)> act) {
    QTimer::singleShot(0, window.get(), [act] {
      if (auto* d = qobject_cast<D*>(QApplication::activeModalWidget())) act(d);
    });
  }
  std::string Shown() { return window->SelectedPage() ? window->SelectedPage()->Text() : std::string(); }
  std::string Body(const std::string& title) {
    for (TTreeNode* n = window->Tree().GetFirstNode(); n; n = n->GetNext())
      if (n->Text() == title) return n->Data() ? n->Data()->Body() : std::string();
    return {};
  }
  QString Status() { return window->Status()->InMessageMode() ? window->Status()->Message() : QString(); }
  // "すべて置換" of x by z with match case over all pages; the shown page is stored after.
  void ReplaceAllXByZ() {
    OnDialog<TfmReplace>([](TfmReplace* d) {
      d->cbFind->setCurrentText("x");
      d->cbReplace->setCurrentText("z");
      d->options->cbMatchCase->setChecked(true);
      d->rgFindRange->button(1)->setChecked(true);
      d->findChild<QPushButton*>("btReplaceAll")->click();
    });
    window->Finds().acReplace->trigger();
    window->PageSwitch().LeavePage(window->SelectedPage());
  }
};

TEST_F(FindWindowTest, FindAllListsThePagesAndF3VisitsEveryHitInOrder) {
  OnDialog<TfmFind>([](TfmFind* d) {
    d->cbFind->setCurrentText("x");
    d->options->cbMatchCase->setChecked(true);
    d->accept();
  });
  window->Finds().acFind->trigger();
  QTreeWidget* list = window->SearchList();
  ASSERT_EQ(list->topLevelItemCount(), 2);
  EXPECT_EQ(list->topLevelItem(0)->text(0), "A");
  EXPECT_EQ(list->topLevelItem(1)->text(0), "C x");
  // The first listed page is current with its first hit selected.
  EXPECT_EQ(Shown(), "A");
  EXPECT_EQ(window->Editor().SelStart(), 0);
  EXPECT_EQ(window->Editor().SelLength(), 1);
  std::vector<std::string> visits;
  for (int i = 0; i < 5; ++i) {
    window->Finds().acFindD->trigger();
    visits.push_back(Shown() + "@" + std::to_string(window->Editor().SelStart()));
  }
  // A's second x, then C's body (its title hit is in the tree, not the text),
  // then nothing more: the caret stays after the last hit and the walk does
  // not wrap to the first page.
  EXPECT_EQ(visits, (std::vector<std::string>{"A@6", "C x@6", "C x@7", "C x@7", "C x@7"}));
  EXPECT_EQ(Status(), QStringLiteral("文字列が見つかりません。"));
  EXPECT_EQ(window->FindBox()->currentText(), "x");
}

TEST_F(FindWindowTest, QueryReplaceAnsweredKeyByKey) {
  std::deque<const char*> keys = {"btYes", "btNo", "Esc"};
  // Every question is answered from the queue: a button, or the Esc key.
  QTimer answers;
  answers.setInterval(10);
  QObject::connect(&answers, &QTimer::timeout, window.get(), [&] {
    auto* q = qobject_cast<TfmQReplace*>(QApplication::activeModalWidget());
    if (!q || keys.empty()) return;
    const std::string key = keys.front();
    keys.pop_front();
    if (key == "Esc")
      QTest::keyClick(q, Qt::Key_Escape);
    else
      q->findChild<QPushButton*>(QString::fromStdString(key))->click();
  });
  answers.start();
  OnDialog<TfmReplace>([](TfmReplace* d) {
    d->cbFind->setCurrentText("x");
    d->cbReplace->setCurrentText("y");
    d->options->cbMatchCase->setChecked(true);
    d->rgFindRange->button(1)->setChecked(true);  // all pages
    d->findChild<QPushButton*>("btReplace")->click();
  });
  window->Finds().acReplace->trigger();
  answers.stop();
  EXPECT_TRUE(keys.empty());
  window->PageSwitch().LeavePage(window->SelectedPage());
  // Yes on A's first x, No on its second, then Esc stops the walk before C.
  EXPECT_EQ(Body("A"), "y one x\r\n");
  EXPECT_EQ(Body("C x"), "three x\r\n");
  EXPECT_EQ(Status(), QStringLiteral("1 件置換しました。"));
}

TEST_F(FindWindowTest, AReplaceAcrossPagesIsTakenBackAsOneStep) {
  ReplaceAllXByZ();
  EXPECT_EQ(Body("A"), "z one z\r\n");
  EXPECT_EQ(Body("C x"), "three z\r\n");
  EXPECT_EQ(Status(), QStringLiteral("3 件置換しました。"));
  window->PageEditor()->setFocus();
  window->Clipboard().acUndo->trigger();
  EXPECT_EQ(Body("A"), "x one x\r\n");
  EXPECT_EQ(Body("C x"), "three x\r\n");
  EXPECT_EQ(window->Editor().Text(), Body(Shown()));
}

TEST_F(FindWindowTest, ReplaceAllGoesThroughTheEditorWherePagesShowMoreThanTheirBody) {
  // A page that shows its linked file, and a page "無題" whose title follows
  // its first line when stored; the other pages are changed in their bytes.
  docs.Write("linked.txt", "x linked\r\n");
  TOutlineTree& tree = window->Tree();
  tree.EnsureData(tree.AddChild(nullptr, "link")).SetBody("<DirectLink:linked.txt>\r\n");
  tree.EnsureData(tree.AddChild(nullptr, Sj("無題"))).SetBody("x first\r\n");
  ReplaceAllXByZ();
  EXPECT_EQ(Status(), QStringLiteral("5 件置換しました。"));
  EXPECT_EQ(Body("C x"), "three z\r\n");
  EXPECT_EQ(docs.Read("linked.txt"), "z linked\r\n");
  EXPECT_EQ(Body("link"), "<DirectLink:linked.txt>\r\n");
  EXPECT_EQ(Body("z first"), "z first\r\n");
}

TEST_F(FindWindowTest, TheDialogInterlocksAndABadPattern) {
  TfmFind dialog(window.get(), {});
  dialog.options->cbMatchCase->setChecked(true);
  EXPECT_FALSE(dialog.options->cbRegExp->isEnabled());
  EXPECT_FALSE(dialog.options->cbFuzzy->isEnabled());
  dialog.options->cbMatchCase->setChecked(false);
  dialog.options->cbFuzzy->setChecked(true);
  EXPECT_FALSE(dialog.options->cbMatchCase->isEnabled());
  dialog.options->cbFuzzy->setChecked(false);
  EXPECT_TRUE(dialog.options->cbMatchCase->isEnabled());
  // A pattern the engine refuses ends the command with its message and
  // leaves the result list as it was.
  OnDialog<TfmFind>([](TfmFind* d) {
    d->cbFind->setCurrentText("(");
    d->options->cbRegExp->setChecked(true);
    d->accept();
  });
  window->Finds().acFind->trigger();
  EXPECT_EQ(prompts->errors.size(), 1u);
  EXPECT_EQ(window->SearchList()->topLevelItemCount(), 0);
}

}  // namespace
}  // namespace nuv::test
