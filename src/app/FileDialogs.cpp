// Qt file dialogs: resizable with a size grip; the save dialog can carry a
// panel with the hierarchical-text check box below its own controls.
#include "app/FileDialogs.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>

namespace nuv {

namespace {
std::optional<TFileChoice> Run(QFileDialog& dialog, const QStringList& filters, int initialFilter,
                               const QCheckBox* noTitles) {
  dialog.setNameFilters(filters);
  if (initialFilter >= 0 && initialFilter < filters.size()) dialog.selectNameFilter(filters[initialFilter]);
  dialog.setSizeGripEnabled(true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  TFileChoice choice;
  choice.path = dialog.selectedFiles().front();
  choice.filterIndex = static_cast<int>(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())));
  choice.noTitles = noTitles && noTitles->isChecked();
  return choice;
}
}  // namespace

std::optional<TFileChoice> TQtFileDialogs::OpenFile(QWidget* parent, const QString& folder,
                                                    const QStringList& filters, int initialFilter) {
  QFileDialog dialog(parent, QString(), folder);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return Run(dialog, filters, initialFilter, nullptr);
}

std::optional<TFileChoice> TQtFileDialogs::SaveFile(QWidget* parent, const QString& proposedPath,
                                                    const QStringList& filters, bool noTitlesOption, int initialFilter) {
  QFileDialog dialog(parent, QString(), proposedPath);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The program asks its own overwrite question, about the name it will write.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  QCheckBox* noTitles = nullptr;
  if (noTitlesOption) {
    // The platform's own dialog cannot take extra controls.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    noTitles = new QCheckBox(QStringLiteral("階層テキストでタイトルを出力しない"), &dialog);
    noTitles->setObjectName("cbNoTitles");
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) grid->addWidget(noTitles, grid->rowCount(), 0, 1, -1);
  }
  return Run(dialog, filters, initialFilter, noTitles);
}

}  // namespace nuv
