// Message boxes with the captions "エラー", "お知らせ" and "確認".
#include "app/QtPrompts.h"

#include <QMessageBox>

#include "app/QtText.h"

namespace nuv {

namespace {
const QString kError = QStringLiteral("エラー");
const QString kInfo = QStringLiteral("お知らせ");
const QString kConfirm = QStringLiteral("確認");
}  // namespace

void TQtPrompts::Error(const std::string& sjisText) {
  QMessageBox::critical(m_parent, kError, ToQString(sjisText));
}

void TQtPrompts::ErrorWithReason(const std::string& sjisText, const std::string& reason) {
  QMessageBox box(QMessageBox::Critical, kError, ToQString(sjisText), QMessageBox::Ok, m_parent);
  box.setInformativeText(QString::fromLocal8Bit(reason));
  box.exec();
}

void TQtPrompts::Info(const std::string& sjisText) {
  QMessageBox::information(m_parent, kInfo, ToQString(sjisText));
}

bool TQtPrompts::Question(const std::string& sjisText, bool defaultNo) {
  return QMessageBox::question(m_parent, kConfirm, ToQString(sjisText), QMessageBox::Yes | QMessageBox::No,
                               defaultNo ? QMessageBox::No : QMessageBox::Yes) == QMessageBox::Yes;
}

TAnswer TQtPrompts::QuestionCancel(const std::string& sjisText) {
  switch (QMessageBox::question(m_parent, kConfirm, ToQString(sjisText),
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes: return TAnswer::Yes;
    case QMessageBox::No: return TAnswer::No;
    default: return TAnswer::Cancel;
  }
}

}  // namespace nuv
