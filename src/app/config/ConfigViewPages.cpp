// The settings dialog's pages of fonts and editor view options: "フォント",
// "表示" and "表示２".
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "app/config/ConfigDialog.h"
#include "app/config/ConfigWidgets.h"

namespace nuv {

namespace {

// Installed families for a font box; vertical fonts ("@" names) are left out.
QStringList FontFamilies(bool fixedPitchOnly) {
  QStringList names;
  for (const QString& family : QFontDatabase::families()) {
    if (family.startsWith(QLatin1Char('@'))) continue;
    if (fixedPitchOnly && !QFontDatabase::isFixedPitch(family)) continue;
    names.append(family);
  }
  return names;
}

// A caption and a control on one row of a group.
void Row(QVBoxLayout* group, const QString& caption, QWidget* control) {
  auto* row = new QHBoxLayout;
  auto* label = new QLabel(caption, group->parentWidget());
  label->setBuddy(control);
  row->addWidget(label);
  row->addWidget(control);
  row->addStretch();
  group->addLayout(row);
}

}  // namespace

QWidget* TfmConfig::BuildFontPage() {
  auto* page = new QWidget;
  auto* form = new QFormLayout(page);
  struct TFontRow {
    QString caption;
    const char* faceName;
    const char* sizeName;
    std::string TnuvConfig::*face;
    int32_t TnuvConfig::*size;
    bool fixedPitch;
  };
  const TFontRow rows[] = {
      {QStringLiteral("ツリー:"), "TreeFontFace", "TreeFontSize", &TnuvConfig::TreeFontFace, &TnuvConfig::TreeFontSize, false},
      {QStringLiteral("リスト:"), "ListFontFace", "ListFontSize", &TnuvConfig::ListFontFace, &TnuvConfig::ListFontSize, false},
      {QStringLiteral("エディタ:"), "FontFace", "FontSize", &TnuvConfig::FontFace, &TnuvConfig::FontSize, true},
  };
  for (const TFontRow& r : rows) {
    // An editable box: a stored name that is not installed here (a file
    // from Windows) stays as it is unless the user picks another.
    auto* face = new QComboBox(page);
    face->setObjectName(r.faceName);
    face->setEditable(true);
    face->addItems(FontFamilies(r.fixedPitch));
    std::string TnuvConfig::*member = r.face;
    QLineEdit* edit = face->lineEdit();
    edit->setText(ToQString(m_work.*member));
    m_texts.push_back({edit, [member](TnuvConfig& c) -> std::string& { return c.*member; }});
    if (r.fixedPitch) connect(edit, &QLineEdit::textChanged, this, &TfmConfig::ViewControlsChanged);
    QSpinBox* size = AddSpin(page, r.sizeName, 1, 200, r.size, r.fixedPitch);
    auto* row = new QHBoxLayout;
    row->addWidget(face, 1);
    row->addWidget(size);
    form->addRow(r.caption, row);
  }
  return page;
}

QWidget* TfmConfig::BuildViewPage() {
  auto* page = new QWidget;
  auto* columns = new QHBoxLayout(page);
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  columns->addLayout(left);
  columns->addLayout(right);
  auto* pageLeft = new QWidget(page);
  auto* pageRight = new QWidget(page);
  left->addWidget(pageLeft);
  right->addWidget(pageRight);
  auto* l = new QVBoxLayout(pageLeft);
  auto* r = new QVBoxLayout(pageRight);

  QVBoxLayout* marks = ConfigGroup(l, QStringLiteral("特殊文字"));
  AddCheck(marks, QStringLiteral("タブ"), &TnuvConfig::ShowTab, true)->setObjectName("ShowTab");
  AddCheck(marks, QStringLiteral("改行"), &TnuvConfig::ShowRet, true)->setObjectName("ShowRet");
  AddCheck(marks, QStringLiteral("EOF"), &TnuvConfig::ShowEOF, true)->setObjectName("ShowEOF");
  AddCheck(marks, QStringLiteral("全角スペース"), &TnuvConfig::ShowDBSp, true)->setObjectName("ShowDBSp");
  AddCheck(marks, QStringLiteral("半角スペース"), &TnuvConfig::ShowSBSp, true)->setObjectName("ShowSBSp");

  QVBoxLayout* display = ConfigGroup(l, QStringLiteral("表示"));
  QCheckBox* ruler = AddCheck(display, QStringLiteral("ルーラー"), &TnuvConfig::ShowRuler, true);
  ruler->setObjectName("ShowRuler");
  Row(display, QString(),
      AddChoice(display->parentWidget(), "RulerRange", {QStringLiteral("8単位"), QStringLiteral("10単位")}, {8, 10},
                &TnuvConfig::RulerRange, true));
  AddCheck(display, QStringLiteral("行番号"), &TnuvConfig::ShowLineNo, true)->setObjectName("ShowLineNo");
  Row(display, QString(),
      AddChoice(display->parentWidget(), "LineNoMode", {QStringLiteral("論理行"), QStringLiteral("表示行")}, {0, 1},
                &TnuvConfig::LineNoMode, true));
  AddCheck(display, QStringLiteral("右マージン"), &TnuvConfig::ShowMarginRight, true)->setObjectName("ShowMarginRight");
  Row(display, QString(), AddSpin(display->parentWidget(), "MarginRightPos", 1, 200, &TnuvConfig::MarginRightPos, true));
  AddCheck(display, QStringLiteral("ルーラー、行番号エッジ"), &TnuvConfig::RulerEdge, true)->setObjectName("RulerEdge");
  AddCheck(display, QStringLiteral("アンダーライン"), &TnuvConfig::Underline, true)->setObjectName("Underline");

  QVBoxLayout* margins = ConfigGroup(r, QStringLiteral("マージン"));
  QWidget* mp = margins->parentWidget();
  Row(margins, QStringLiteral("上マージン:"), AddSpin(mp, "MarginTop", 0, 12, &TnuvConfig::MarginTop, true));
  Row(margins, QStringLiteral("左マージン:"), AddSpin(mp, "MarginLeft", 0, 12, &TnuvConfig::MarginLeft, true));
  Row(margins, QStringLiteral("行間:"), AddSpin(mp, "MarginLine", 0, 12, &TnuvConfig::MarginLine, true));
  Row(margins, QStringLiteral("字間:"), AddSpin(mp, "MarginChar", 0, 12, &TnuvConfig::MarginChar, true));
  // Only the widths the editor's caret accepts (even, 2 to 8) are offered:
  // another number would be changed behind the user's back.
  Row(margins, QStringLiteral("タブ幅:"),
      AddChoice(mp, "TabSpace", {QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("6"), QStringLiteral("8")},
                {2, 4, 6, 8}, &TnuvConfig::TabSpace, true));

  QVBoxLayout* other = ConfigGroup(r, QStringLiteral("その他"));
  AddCheck(other, QStringLiteral("オートインデント"), &TnuvConfig::AutoIndent, true)->setObjectName("AutoIndent");
  AddCheck(other, QStringLiteral("タブインデント"), &TnuvConfig::TabIndent, true)->setObjectName("TabIndent");
  AddCheck(other, QStringLiteral("行、桁を 0ベースで表示"), &TnuvConfig::ZeroBase, true)->setObjectName("ZeroBase");
  l->addStretch();
  r->addStretch();
  return page;
}

QWidget* TfmConfig::BuildView2Page() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  AddCheck(layout, QStringLiteral("長い行の折り返し"), &TnuvConfig::WordWrap, true)->setObjectName("WordWrap");
  edWrapByte = AddSpin(page, "WrapByte", 20, 200, &TnuvConfig::WrapByte, true);
  Row(layout, QStringLiteral("１行の文字数:"), edWrapByte);
  cbWrapRight = AddCheck(layout, QStringLiteral("右端で折り返す"), &TnuvConfig::WrapRight, true);
  cbWrapRight->setObjectName("WrapRight");
  connect(cbWrapRight, &QCheckBox::toggled, this, &TfmConfig::WrapRightChanged);
  cbFollowPunctuation = AddCheck(layout, QStringLiteral("ぶら下げ"), &TnuvConfig::FollowPunctuation, true);
  cbFollowPunctuation->setObjectName("FollowPunctuation");
  cbFollowRetMark = AddCheck(layout, QStringLiteral("改行文字ぶら下げ"), &TnuvConfig::FollowRetMark, true);
  cbFollowRetMark->setObjectName("FollowRetMark");
  AddCheck(layout, QStringLiteral("追い出し"), &TnuvConfig::Leading, true)->setObjectName("Leading");
  AddCheck(layout, QStringLiteral("英文ワードラップ"), &TnuvConfig::WordBreak, true)->setObjectName("WordBreak");
  layout->addStretch();
  return page;
}

}  // namespace nuv
