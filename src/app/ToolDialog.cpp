// The tool dialog.
#include "app/ToolDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppTexts.h"
#include "app/QtText.h"
#include "config/ExternalTools.h"

namespace nuv {

TfmTool::TfmTool(QWidget* parent) : QDialog(parent) {
  setObjectName("fmTool");
  setWindowTitle(QStringLiteral("外部ツールの設定"));
  auto* grid = new QGridLayout;
  auto row = [&](int r, const QString& caption, const char* name, QLineEdit*& edit) {
    edit = new QLineEdit(this);
    edit->setObjectName(name);
    auto* label = new QLabel(caption, this);
    label->setBuddy(edit);
    grid->addWidget(label, r, 0);
    grid->addWidget(edit, r, 1);
  };
  row(0, QStringLiteral("タイトル:"), "edTitle", edTitle);
  row(1, QStringLiteral("ファイル名:"), "edFile", edFile);
  row(2, QStringLiteral("オプション:"), "edOption", edOption);
  row(3, QStringLiteral("拡張子:"), "edExt", edExt);
  btFile = new QPushButton(QStringLiteral("..."), this);
  btFile->setObjectName("btFile");
  btFile->setAutoDefault(false);
  grid->addWidget(btFile, 1, 2);
  connect(btFile, &QPushButton::clicked, this, [this] { btFileClick(); });
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
  ok->setDefault(true);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
  resize(420, sizeHint().height());
}

void TfmTool::SetTool(const TnuvTool& tool) {
  m_tool = tool;
  edTitle->setText(ToQString(tool.Title));
  edFile->setText(ToQString(tool.File));
  edOption->setText(ToQString(tool.Option));
  edExt->setText(ToQString(tool.Ext));
}

void TfmTool::btFileClick() {
  const QString file = QFileDialog::getOpenFileName(this, QString(), edFile->text(),
                                                    QStringLiteral("実行ファイル (*);;すべてのファイル (*)"));
  if (!file.isEmpty()) edFile->setText(file);
}

void TfmTool::accept() {
  TnuvTool tool;
  for (auto [edit, field] : {std::pair{edTitle, &tool.Title}, std::pair{edFile, &tool.File},
                             std::pair{edOption, &tool.Option}, std::pair{edExt, &tool.Ext}}) {
    const auto sjis = ToSjis(edit->text());
    if (!sjis) {
      QMessageBox::critical(this, QStringLiteral("エラー"), ToQString(texts::CannotEncode()));
      edit->setFocus();
      return;
    }
    *field = *sjis;
  }
  tool.Ext = NormalizeToolExt(tool.Ext);
  if (!IsSafeToolExt(tool.Ext)) {
    QMessageBox::critical(this, QStringLiteral("エラー"), QStringLiteral("拡張子に使えない文字があります"));
    edExt->setFocus();
    return;
  }
  edExt->setText(ToQString(tool.Ext));
  m_tool = tool;
  QDialog::accept();
}

std::optional<TnuvTool> TfmTool::Edit(QWidget* parent, const TnuvTool& tool) {
  TfmTool dialog(parent);
  dialog.SetTool(tool);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Tool();
}

}  // namespace nuv
