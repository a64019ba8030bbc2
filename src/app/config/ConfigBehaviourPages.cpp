// The settings dialog's pages of names, formats, behaviour switches and
// folders: "ラベル", "形式", "動作", "実行" and "パス".
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "app/config/ConfigDialog.h"
#include "app/config/ConfigWidgets.h"

namespace nuv {

QWidget* TfmConfig::BuildLabelPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* names = new QFormLayout;
  for (int i = 0; i < kLabelCount; ++i) {
    const std::string name = "Label" + std::to_string(i + 1);
    QLineEdit* box = AddText(page, name.c_str(), [i](TnuvConfig& c) -> std::string& {
      return c.Labels[static_cast<std::size_t>(i)];
    });
    auto* icon = new QLabel(QString::number(i + 1), page);
    if (m_labelIcon) icon->setPixmap(m_labelIcon(i).pixmap(16, 16));
    names->addRow(icon, box);
  }
  layout->addLayout(names);
  cbShowLabel1 = AddCheck(layout, QStringLiteral("ツリーに表示"), &TnuvConfig::ShowLabel1);
  cbShowLabel1->setObjectName("ShowLabel1");
  cbClearLabel1 = AddCheck(layout, QStringLiteral("透明にする"), &TnuvConfig::ClearLabel1);
  cbClearLabel1->setObjectName("ClearLabel1");
  cbClearLabel1->setEnabled(cbShowLabel1->isChecked());
  connect(cbShowLabel1, &QCheckBox::toggled, cbClearLabel1, &QCheckBox::setEnabled);
  layout->addStretch();
  return page;
}

QWidget* TfmConfig::BuildFormatPage() {
  auto* page = new QWidget;
  auto* form = new QFormLayout(page);
  form->addRow(QStringLiteral("日付:"), AddText(page, "Date", [](TnuvConfig& c) -> std::string& { return c.Date; }));
  form->addRow(QStringLiteral("時刻:"), AddText(page, "Time", [](TnuvConfig& c) -> std::string& { return c.Time; }));
  form->addRow(QStringLiteral("日時:"),
               AddText(page, "DateAndTime", [](TnuvConfig& c) -> std::string& { return c.DateAndTime; }));
  return page;
}

QWidget* TfmConfig::BuildActionPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  QVBoxLayout* start = ConfigGroup(layout, QStringLiteral("起動時"));
  AddCheck(start, QStringLiteral("最後に開いてたファイルを開く"), &TnuvConfig::OpenLastFile)->setObjectName("OpenLastFile");
  QVBoxLayout* reading = ConfigGroup(layout, QStringLiteral("読み込み"));
  AddCheck(reading, QStringLiteral("ノードをすべて展開する"), &TnuvConfig::ExpandAll)->setObjectName("ExpandAll");
  auto* ext = new QFormLayout;
  ext->addRow(QStringLiteral("nuvファイルの拡張子:"), AddText(reading->parentWidget(), "OpennuvExt",
                                                         [](TnuvConfig& c) -> std::string& { return c.OpennuvExt; }));
  reading->addLayout(ext);
  QVBoxLayout* saving = ConfigGroup(layout, QStringLiteral("保存・終了"));
  AddCheck(saving, QStringLiteral("バックアップを作成する"), &TnuvConfig::Backup)->setObjectName("Backup");
  AddCheck(saving, QStringLiteral("ツリーの状態の変更時も保存する"), &TnuvConfig::AlwaysSave)->setObjectName("AlwaysSave");
  AddCheck(saving, QStringLiteral("階層付きテキストをそのまま保存する"), &TnuvConfig::TextSave)->setObjectName("TextSave");
  AddCheck(saving, QStringLiteral("確認せずに保存する"), &TnuvConfig::NoAskSave)->setObjectName("NoAskSave");
  layout->addStretch();
  return page;
}

QWidget* TfmConfig::BuildExecPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* link = new QFormLayout;
  link->addRow(QStringLiteral("リンクの実行:"),
               AddChoice(page, "ExecLinkMode",
                         {QStringLiteral("クリック"), QStringLiteral("[Ctrl]+クリック"), QStringLiteral("ダブルクリック")},
                         {0, 1, 2}, &TnuvConfig::ExecLinkMode));
  layout->addLayout(link);
  AddCheck(layout, QStringLiteral("IMEをオンにする"), &TnuvConfig::IMEMode)->setObjectName("IMEMode");
  AddCheck(layout, QStringLiteral("ノードの削除時に問い合わせる"), &TnuvConfig::AskDelNode)->setObjectName("AskDelNode");
  AddCheck(layout, QStringLiteral("ファイルのD&&Dでダイレクトリンクは新規にノードを作る"), &TnuvConfig::MakeDLinkNewNode)
      ->setObjectName("MakeDLinkNewNode");
  AddCheck(layout, QStringLiteral("ダイレクトリンクのファイル保存時に問い合わせる"), &TnuvConfig::AskSaveDL)
      ->setObjectName("AskSaveDL");
  layout->addStretch();
  return page;
}

QWidget* TfmConfig::BuildPathPage() {
  auto* page = new QWidget;
  auto* form = new QFormLayout(page);
  struct TFolderRow {
    QString caption;
    const char* name;
    std::string TPathSettings::*member;
  };
  const TFolderRow rows[] = {{QStringLiteral("データ:"), "PathData", &TPathSettings::Data},
                             {QStringLiteral("バックアップ:"), "PathBackup", &TPathSettings::Backup}};
  for (const TFolderRow& r : rows) {
    std::string TPathSettings::*member = r.member;
    QLineEdit* box = AddText(page, r.name, [member](TnuvConfig& c) -> std::string& { return c.Path.*member; });
    auto* browse = new QPushButton(QStringLiteral("..."), page);
    connect(browse, &QPushButton::clicked, this, [this, box] {
      const QString folder = QFileDialog::getExistingDirectory(this, QString(), box->text());
      if (!folder.isEmpty()) box->setText(folder);
    });
    auto* row = new QHBoxLayout;
    row->addWidget(box, 1);
    row->addWidget(browse);
    form->addRow(r.caption, row);
  }
  return page;
}

}  // namespace nuv
