// The already-open dialog.
#include "app/PreOpenDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/DialogPlacement.h"
#include "app/LifecycleTexts.h"
#include "app/QtText.h"

namespace nuv {

TfmPreOpen::TfmPreOpen(QWidget* parent) : QDialog(parent) {
  setObjectName("fmPreOpen");
  setWindowTitle(QStringLiteral("確認"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(ToQString(texts::AlreadyOpen()), this));
  m_options = new QButtonGroup(this);
  const QString captions[] = {QStringLiteral("新規ファイルを作成する(&N)"),
                              QStringLiteral("開いてるウィンドウをアクティブにする(&A)"),
                              QStringLiteral("かまわず開く(&O)"), QStringLiteral("キャンセル(&C)")};
  for (int i = 0; i < 4; ++i) {
    auto* option = new QRadioButton(captions[i], this);
    m_options->addButton(option, i);
    layout->addWidget(option);
  }
  m_options->button(0)->setChecked(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

TPreOpenChoice TfmPreOpen::Choice() const { return static_cast<TPreOpenChoice>(m_options->checkedId()); }

TPreOpenChoice TfmPreOpen::Ask(QWidget* main) {
  bool ok = false;
  const int preset = qEnvironmentVariableIntValue("NUV_PREOPEN_ANSWER", &ok);
  if (ok && preset >= 0 && preset <= 3) return static_cast<TPreOpenChoice>(preset);
  TfmPreOpen dialog(main);
  CenterOnMainWindow(&dialog, main);
  if (dialog.exec() != QDialog::Accepted) return TPreOpenChoice::Cancel;
  return dialog.Choice();
}

}  // namespace nuv
