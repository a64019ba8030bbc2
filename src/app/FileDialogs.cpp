// Qt file dialogs: resizable with a size grip; the save dialog can carry a
// panel with the hierarchical-text check box and encoding below its own controls.
#include "app/FileDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <algorithm>

namespace nuv {

namespace {
// The encodings a hierarchical text can be saved in, in the order shown.
constexpr TTextEncoding kSaveEncodings[] = {TTextEncoding::ShiftJis, TTextEncoding::Utf8};

std::optional<TFileChoice> Run(QFileDialog& dialog, const QStringList& filters, int initialFilter,
                               const QCheckBox* noTitles, const QComboBox* encoding) {
  dialog.setNameFilters(filters);
  if (initialFilter >= 0 && initialFilter < filters.size()) dialog.selectNameFilter(filters[initialFilter]);
  dialog.setSizeGripEnabled(true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  TFileChoice choice;
  choice.path = dialog.selectedFiles().front();
  choice.filterIndex = static_cast<int>(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())));
  choice.noTitles = noTitles && noTitles->isChecked();
  if (encoding) choice.encoding = kSaveEncodings[std::clamp(encoding->currentIndex(), 0, 1)];
  return choice;
}
}  // namespace

std::optional<TFileChoice> TQtFileDialogs::OpenFile(QWidget* parent, const QString& folder,
                                                    const QStringList& filters, int initialFilter) {
  QFileDialog dialog(parent, QString(), folder);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return Run(dialog, filters, initialFilter, nullptr, nullptr);
}

QStringList TQtFileDialogs::OpenFiles(QWidget* parent, const QString& folder, const QStringList& filters) {
  QFileDialog dialog(parent, QString(), folder);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setNameFilters(filters);
  dialog.setSizeGripEnabled(true);
  return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

QString TQtFileDialogs::ChooseFolder(QWidget* parent, const QString& caption, const QString& folder) {
  QFileDialog dialog(parent, caption, folder);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  dialog.setSizeGripEnabled(true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().front();
}

std::optional<TFileChoice> TQtFileDialogs::SaveFile(QWidget* parent, const QString& proposedPath,
                                                    const QStringList& filters, bool noTitlesOption, int initialFilter,
                                                    TTextEncoding initialEncoding) {
  QFileDialog dialog(parent, QString(), proposedPath);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The program asks its own overwrite question, about the name it will write.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  QCheckBox* noTitles = nullptr;
  QComboBox* encoding = nullptr;
  if (noTitlesOption) {
    // The platform's own dialog cannot take extra controls.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    noTitles = new QCheckBox(QStringLiteral("階層テキストでタイトルを出力しない"), &dialog);
    noTitles->setObjectName("cbNoTitles");
    encoding = new QComboBox(&dialog);
    encoding->setObjectName("cbEncoding");
    for (TTextEncoding e : kSaveEncodings) encoding->addItem(QString::fromLatin1(TextEncodingName(e)));
    encoding->setCurrentIndex(initialEncoding == TTextEncoding::Utf8 ? 1 : 0);
    auto* label = new QLabel(QStringLiteral("文字コード(&E):"), &dialog);
    label->setBuddy(encoding);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
      const int row = grid->rowCount();
      grid->addWidget(noTitles, row, 0, 1, -1);
      grid->addWidget(label, row + 1, 0);
      grid->addWidget(encoding, row + 1, 1);
    }
  }
  return Run(dialog, filters, initialFilter, noTitles, encoding);
}

}  // namespace nuv
