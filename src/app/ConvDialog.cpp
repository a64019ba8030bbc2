// The conversion dialog.
#include "app/ConvDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace nuv {

std::string ConvertText(std::string_view text, const TConvChoice& choice) {
  if (choice.page == TConvPage::HanZen) return ConvertWidth(text, choice.width);
  return choice.toUpper ? LowerToUpper(text) : UpperToLower(text);
}

TfmConv::TfmConv(QWidget* parent) : QDialog(parent) {
  setObjectName("fmConv");
  setWindowTitle(QStringLiteral("文字列変換"));
  pcConv = new QTabWidget(this);

  auto* widthPage = new QWidget(pcConv);
  auto* widthLayout = new QVBoxLayout(widthPage);
  rbHanToZen = new QRadioButton(QStringLiteral("半角→全角(&Z)"), widthPage);
  rbZenToHan = new QRadioButton(QStringLiteral("全角→半角(&H)"), widthPage);
  rbHanToZen->setChecked(true);
  auto* targets = new QGroupBox(QStringLiteral("変換対象"), widthPage);
  auto* targetLayout = new QVBoxLayout(targets);
  cbDigit = new QCheckBox(QStringLiteral("数字(&D)"), targets);
  cbAlpha = new QCheckBox(QStringLiteral("英字(&A)"), targets);
  cbKana = new QCheckBox(QStringLiteral("カナ(&K)"), targets);
  for (QCheckBox* box : {cbDigit, cbAlpha, cbKana}) {
    box->setChecked(true);
    targetLayout->addWidget(box);
  }
  widthLayout->addWidget(rbHanToZen);
  widthLayout->addWidget(rbZenToHan);
  widthLayout->addWidget(targets);
  widthLayout->addStretch();
  pcConv->addTab(widthPage, QStringLiteral("半角・全角"));

  auto* casePage = new QWidget(pcConv);
  auto* caseLayout = new QVBoxLayout(casePage);
  rbKoToOo = new QRadioButton(QStringLiteral("小文字→大文字(&O)"), casePage);
  rbOoToKo = new QRadioButton(QStringLiteral("大文字→小文字(&K)"), casePage);
  rbKoToOo->setChecked(true);
  caseLayout->addWidget(rbKoToOo);
  caseLayout->addWidget(rbOoToKo);
  caseLayout->addStretch();
  pcConv->addTab(casePage, QStringLiteral("小文字・大文字"));

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pcConv);
  layout->addWidget(buttons);
}

void TfmConv::ShowPage(TConvPage page) { pcConv->setCurrentIndex(page == TConvPage::HanZen ? 0 : 1); }

TConvChoice TfmConv::Choice() const {
  TConvChoice choice;
  choice.page = pcConv->currentIndex() == 0 ? TConvPage::HanZen : TConvPage::KoOo;
  choice.width.toFull = rbHanToZen->isChecked();
  choice.width.digits = cbDigit->isChecked();
  choice.width.letters = cbAlpha->isChecked();
  choice.width.katakana = cbKana->isChecked();
  choice.toUpper = rbKoToOo->isChecked();
  return choice;
}

}  // namespace nuv
