// The macro host's Qt dialogs, clipboard and message loop, offscreen: the
// boxes are answered the way a user would, by clicking or pressing Esc.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/QtMacroPlatform.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Sj;

// Runs `act` on the next modal dialog of type T once it is shown.
template <typename T>
void WhenShown(std::function<void(T*)> act) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()); dialog && dialog->isVisible()) {
      timer->stop();
      timer->deleteLater();
      act(dialog);
    }
  });
  timer->start(5);
}

std::vector<QMessageBox::StandardButton> Buttons(QMessageBox* box) {
  std::vector<QMessageBox::StandardButton> out;
  for (QAbstractButton* b : box->buttons()) out.push_back(box->standardButton(b));
  std::sort(out.begin(), out.end());
  return out;
}

TEST(MacroPlatformTest, MessageBoxesShowTheFlagsButtonsAndAnswerThePressedOne) {
  TQtMacroDialogs dialogs(nullptr);
  using B = QMessageBox;
  const struct {
    int flags;
    std::vector<QMessageBox::StandardButton> buttons;
    QMessageBox::StandardButton byDefault, press;  // NoButton: press Esc
    int expected;
    QMessageBox::Icon icon;
  } cases[] = {
      {kMbOk, {B::Ok}, B::Ok, B::Ok, kIdOk, B::NoIcon},
      {kMbOk | kMbIconHand, {B::Ok}, B::Ok, B::NoButton, kIdOk, B::Critical},
      {kMbOkCancel | kMbIconQuestion, {B::Ok, B::Cancel}, B::Ok, B::NoButton, kIdCancel, B::Question},
      {kMbYesNo | kMbDefButton2, {B::Yes, B::No}, B::No, B::Yes, kIdYes, B::NoIcon},
      {kMbYesNoCancel | kMbDefButton3 | kMbIconExclamation, {B::Yes, B::No, B::Cancel}, B::Cancel, B::No, kIdNo,
       B::Warning},
      {kMbAbortRetryIgnore | kMbIconAsterisk, {B::Abort, B::Retry, B::Ignore}, B::Abort, B::Ignore, kIdIgnore,
       B::Information},
      {kMbRetryCancel, {B::Retry, B::Cancel}, B::Retry, B::NoButton, kIdCancel, B::NoIcon},
      {0x000E, {B::Ok}, B::Ok, B::Ok, kIdOk, B::NoIcon},  // an unknown set shows OK
  };
  for (const auto& c : cases) {
    std::vector<QMessageBox::StandardButton> shown;
    QMessageBox::StandardButton shownDefault = B::NoButton;
    QMessageBox::Icon shownIcon = B::NoIcon;
    QString shownText, shownCaption;
    WhenShown<QMessageBox>([&](QMessageBox* box) {
      shown = Buttons(box);
      shownDefault = box->standardButton(box->defaultButton());
      shownIcon = box->icon();
      shownText = box->text();
      shownCaption = box->windowTitle();
      if (c.press == B::NoButton) QTest::keyClick(box, Qt::Key_Escape);
      else box->button(c.press)->click();
    });
    EXPECT_EQ(dialogs.MessageBox(Sj("本文"), Sj("表題"), c.flags), c.expected) << c.flags;
    auto expectedButtons = c.buttons;
    std::sort(expectedButtons.begin(), expectedButtons.end());
    EXPECT_EQ(shown, expectedButtons) << c.flags;
    EXPECT_EQ(shownDefault, c.byDefault) << c.flags;
    EXPECT_EQ(shownIcon, c.icon) << c.flags;
    EXPECT_EQ(shownText, QStringLiteral("本文"));
    EXPECT_EQ(shownCaption, QStringLiteral("表題"));
  }
}

TEST(MacroPlatformTest, InputBoxAnswersInShiftJisAndRefusesWhatItCannotHold) {
  TQtMacroDialogs dialogs(nullptr);
  std::string value = Sj("既定");
  QString shownDefault, shownPrompt;
  WhenShown<QInputDialog>([&](QInputDialog* box) {
    shownDefault = box->textValue();
    shownPrompt = box->labelText();
    box->setTextValue(QStringLiteral("表ソ x"));
    box->accept();
  });
  EXPECT_EQ(dialogs.InputBox(Sj("変数の入力"), Sj("マクロ名"), value), TInputBoxResult::Ok);
  EXPECT_EQ(value, Sj("表ソ x"));
  EXPECT_EQ(shownDefault, QStringLiteral("既定"));
  EXPECT_EQ(shownPrompt, QStringLiteral("マクロ名"));

  WhenShown<QInputDialog>([](QInputDialog* box) { box->reject(); });
  EXPECT_EQ(dialogs.InputBox("c", "p", value), TInputBoxResult::Cancelled);
  EXPECT_EQ(value, Sj("表ソ x"));

  // An emoji is refused with the error box, and the box asks again with the answer kept.
  QString errorText, secondDefault;
  WhenShown<QInputDialog>([&](QInputDialog* box) {
    box->setTextValue(QStringLiteral("a\U0001F600"));
    WhenShown<QMessageBox>([&](QMessageBox* error) {
      errorText = error->text();
      error->accept();
      WhenShown<QInputDialog>([&](QInputDialog* again) {
        secondDefault = again->textValue();
        again->setTextValue(QStringLiteral("ok"));
        again->accept();
      });
    });
    box->accept();
  });
  EXPECT_EQ(dialogs.InputBox("c", "p", value), TInputBoxResult::Ok);
  EXPECT_EQ(value, "ok");
  EXPECT_EQ(errorText, QStringLiteral("Shift JIS で表せない文字は入力できません。"));
  EXPECT_EQ(secondDefault, QStringLiteral("a\U0001F600"));
}

TEST(MacroPlatformTest, ClipboardKeepsEveryByte) {
  TQtMacroClipboard clipboard;
  // A lone lead byte and a byte with no character survive a round trip.
  const std::string bytes = Sj("表") + "\x83" + "\r\n\xFF" + "a";
  clipboard.SetText(bytes);
  EXPECT_EQ(clipboard.Text(), bytes);
  EXPECT_EQ(QApplication::clipboard()->text().left(1), QStringLiteral("表"));
  // Text from another program arrives as Unicode.
  QApplication::clipboard()->setText(QStringLiteral("ソ表 text"));
  EXPECT_EQ(clipboard.Text(), Sj("ソ表 text"));
  QApplication::clipboard()->setText(QStringLiteral("a\U0001F600"));
  EXPECT_EQ(clipboard.Text(), "");
  QApplication::clipboard()->clear();
  EXPECT_EQ(clipboard.Text(), "");
}

TEST(MacroPlatformTest, MessageLoopHandlesEventsAndWaits) {
  TQtMacroMessageLoop loop;
  bool posted = false;
  QMetaObject::invokeMethod(qApp, [&] { posted = true; }, Qt::QueuedConnection);
  loop.ProcessMessages();
  EXPECT_TRUE(posted);
  bool fired = false;
  QTimer::singleShot(10, qApp, [&] { fired = true; });
  loop.Wait(100);  // the timer's 10 ms lie inside the wait
  EXPECT_TRUE(fired);
  loop.Wait(0);
  loop.Wait(-5);
}

}  // namespace
}  // namespace nuv
