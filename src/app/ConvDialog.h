// TfmConv, "文字列変換": the width page (half-width and full-width digits,
// letters and katakana) and the case page (lower and upper case letters).
#pragma once

#include <QDialog>

#include "exchange/TextConversions.h"

class QCheckBox;
class QRadioButton;
class QTabWidget;

namespace nuv {

enum class TConvPage { HanZen, KoOo };

// What the dialog's OK asks for: the page in front and its choices.
struct TConvChoice {
  TConvPage page = TConvPage::HanZen;
  TWidthConversion width;
  bool toUpper = true;
};

// The conversion of a text a choice describes.
std::string ConvertText(std::string_view text, const TConvChoice& choice);

class TfmConv : public QDialog {
  Q_OBJECT
 public:
  explicit TfmConv(QWidget* parent = nullptr);

  QTabWidget* pcConv;
  QRadioButton* rbHanToZen;
  QRadioButton* rbZenToHan;
  QCheckBox* cbDigit;
  QCheckBox* cbAlpha;
  QCheckBox* cbKana;
  QRadioButton* rbKoToOo;
  QRadioButton* rbOoToKo;

  // Brings a page to the front.
  void ShowPage(TConvPage page);
  TConvChoice Choice() const;
};

}  // namespace nuv
