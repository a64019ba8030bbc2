// Qt dialogs, clipboard and message loop for macros.
#include "app/QtMacroPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>

#include "app/QtText.h"

namespace nuv {

namespace {

constexpr const char* kSjisTextMime = "application/x-nuv-sjis-text";
const QString kNotSjis = QStringLiteral("Shift JIS で表せない文字は入力できません。");

QMessageBox::StandardButton ButtonOf(int result) {
  switch (result) {
    case kIdOk: return QMessageBox::Ok;
    case kIdCancel: return QMessageBox::Cancel;
    case kIdAbort: return QMessageBox::Abort;
    case kIdRetry: return QMessageBox::Retry;
    case kIdIgnore: return QMessageBox::Ignore;
    case kIdYes: return QMessageBox::Yes;
    case kIdNo: return QMessageBox::No;
    default: return QMessageBox::NoButton;
  }
}

QMessageBox::Icon IconOf(int flags) {
  switch (flags & kMbIconMask) {
    case kMbIconHand: return QMessageBox::Critical;
    case kMbIconQuestion: return QMessageBox::Question;
    case kMbIconExclamation: return QMessageBox::Warning;
    case kMbIconAsterisk: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

}  // namespace

TInputBoxResult TQtMacroDialogs::InputBox(const std::string& caption, const std::string& prompt, std::string& value) {
  QString answer = ToQString(value);
  for (;;) {
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(ToQString(caption));
    dialog.setLabelText(ToQString(prompt));
    dialog.setTextValue(answer);
    if (dialog.exec() != QDialog::Accepted) return TInputBoxResult::Cancelled;
    answer = dialog.textValue();
    if (const auto sjis = ToSjis(answer)) {
      value = *sjis;
      return TInputBoxResult::Ok;
    }
    QMessageBox::critical(m_parent, QStringLiteral("エラー"), kNotSjis);
  }
}

int TQtMacroDialogs::MessageBox(const std::string& text, const std::string& caption, int flags) {
  QMessageBox box(IconOf(flags), ToQString(caption), ToQString(text), QMessageBox::NoButton, m_parent);
  const std::vector<int> results = MessageBoxButtons(flags);
  int escapeResult = 0;
  for (const int result : results) {
    QPushButton* button = box.addButton(ButtonOf(result));
    if (result == MessageBoxDefaultResult(flags)) box.setDefaultButton(button);
    // The window's rule: Esc answers Cancel when there is one, and OK when it stands alone.
    if (result == kIdCancel || results.size() == 1) {
      box.setEscapeButton(button);
      escapeResult = result;
    }
  }
  box.exec();
  for (const int result : results)
    if (box.clickedButton() == box.button(ButtonOf(result))) return result;
  return escapeResult ? escapeResult : MessageBoxDefaultResult(flags);
}

std::string TQtMacroClipboard::Text() const {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (!data) return std::string();
  if (data->hasFormat(kSjisTextMime)) {
    const QByteArray bytes = data->data(kSjisTextMime);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  }
  return ToSjis(data->text()).value_or(std::string());
}

void TQtMacroClipboard::SetText(const std::string& text) {
  auto* data = new QMimeData;
  data->setText(ToQString(text));
  data->setData(kSjisTextMime, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  QApplication::clipboard()->setMimeData(data);
}

void TQtMacroMessageLoop::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void TQtMacroMessageLoop::Wait(int ms) {
  if (ms <= 0) {
    ProcessMessages();
    return;
  }
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace nuv
