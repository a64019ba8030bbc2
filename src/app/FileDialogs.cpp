// Qt file dialogs: resizable, with our own overwrite question.
#include "app/FileDialogs.h"

#include <QFileDialog>

namespace nuv {

namespace {
std::optional<TFileChoice> Run(QFileDialog& dialog, const QStringList& filters) {
  dialog.setNameFilters(filters);
  dialog.setSizeGripEnabled(true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return TFileChoice{dialog.selectedFiles().front(),
                     static_cast<int>(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())))};
}
}  // namespace

std::optional<TFileChoice> TQtFileDialogs::OpenFile(QWidget* parent, const QString& folder,
                                                    const QStringList& filters) {
  QFileDialog dialog(parent, QString(), folder);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return Run(dialog, filters);
}

std::optional<TFileChoice> TQtFileDialogs::SaveFile(QWidget* parent, const QString& proposedPath,
                                                    const QStringList& filters) {
  QFileDialog dialog(parent, QString(), proposedPath);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The program asks its own overwrite question after the dialog.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  return Run(dialog, filters);
}

}  // namespace nuv
