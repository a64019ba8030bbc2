// The settings dialog's "色" and "強調表示" pages: the display items with the
// colour preview editor, the tree and list sample panels, and the bracket
// slots with their sample editor.
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "app/config/ConfigDialog.h"
#include "app/config/ConfigWidgets.h"
#include "base/Prompts.h"
#include "editor/view/EditorSettings.h"
#include "editor/view/PageEditorView.h"
#include "fountain/EditorFountain.h"

namespace nuv {

namespace {

constexpr int kColorGroups = 8;  // items 0..7 carry a style
constexpr int kItemSelect = 8, kItemTab = 9, kItemRet = 10, kItemEof = 11, kItemDBSp = 12, kItemSp = 13;
constexpr int kItemRuler = 14, kItemRulerMark = 15, kItemLineNo = 16, kItemMargin = 17, kItemWindow = 18;
constexpr int kItemUnderline = 19, kItemFindMark = 20, kItemTree = 21, kItemList = 22;
// Brackets 1..10 are the program's own; 11..14 are the user's.
constexpr int kFirstUserBracket = 10;
constexpr TFontStyles kStyleBits[3] = {kStyleBold, kStyleItalic, kStyleUnderline};

const char* const kColorItemNames[] = {
    "半角文字", "全角文字", "コメント", "キーワード", "URL", "EMail", "文字列", "数字",
    "選択文字", "タブ", "改行", "EOF", "全角スペース", "半角スペース", "ルーラー", "ルーラー・マーク",
    "行番号", "右マージン", "ウィンドウ（エディタ部）", "アンダーライン", "検索強調表示", "ツリー", "リスト"};

// The preview's sample: selection, both widths, a comment, the one keyword,
// an address, a mail address, a string and digits, a full-width space and a tab.
const char* const kPreviewLines[] = {
    "選択領域", "HankakuMoji 全角文字                //コメント", "キーワード", "http://www.example.com/",
    "nuv@example.com", "\"文字列\" 01234", "　\t"};

std::string Sjis(const char* utf8) { return ToSjisOrEmpty(QString::fromUtf8(utf8)); }

void SetStyleBoxes(const std::array<QCheckBox*, 3>& boxes, TFontStyles style, bool enabled) {
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const QSignalBlocker block(boxes[i]);
    boxes[i]->setChecked(enabled && (style & kStyleBits[i]));
    boxes[i]->setEnabled(enabled);
  }
}

TFontStyles StyleOfBoxes(const std::array<QCheckBox*, 3>& boxes) {
  TFontStyles style = 0;
  for (std::size_t i = 0; i < boxes.size(); ++i)
    if (boxes[i]->isChecked()) style |= kStyleBits[i];
  return style;
}

std::array<QCheckBox*, 3> StyleBoxes(QWidget* parent, QBoxLayout* layout, const char* prefix) {
  const QString captions[3] = {QStringLiteral("ボールド"), QStringLiteral("イタリック"), QStringLiteral("アンダーライン")};
  const char* suffixes[3] = {"Bold", "Italic", "Underline"};
  std::array<QCheckBox*, 3> boxes{};
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    boxes[i] = new QCheckBox(captions[i], parent);
    boxes[i]->setObjectName(QString::fromLatin1(prefix) + QString::fromLatin1(suffixes[i]));
    layout->addWidget(boxes[i]);
  }
  return boxes;
}

}  // namespace

QWidget* TfmConfig::BuildColorPage() {
  auto* page = new QWidget;
  auto* layout = new QHBoxLayout(page);
  lbColors = new QListWidget(page);
  lbColors->setObjectName("lbColors");
  for (const char* name : kColorItemNames) lbColors->addItem(QString::fromUtf8(name));
  layout->addWidget(lbColors);
  auto* side = new QVBoxLayout;
  layout->addLayout(side, 1);
  auto* buttons = new QHBoxLayout;
  btFontColor = ConfigButton(page, "btFontColor", QStringLiteral("前景色(&F)..."));
  btBackColor = ConfigButton(page, "btBackColor", QStringLiteral("背景色(&B)..."));
  buttons->addWidget(btFontColor);
  buttons->addWidget(btBackColor);
  side->addLayout(buttons);
  auto* styles = new QHBoxLayout;
  cbStyles = StyleBoxes(page, styles, "cbStyle");
  side->addLayout(styles);
  auto* unify = new QHBoxLayout;
  QPushButton* unifyFont = ConfigButton(page, "btUnifyFontColor", QStringLiteral("前景色を統一"));
  QPushButton* unifyBack = ConfigButton(page, "btUnifyBackColor", QStringLiteral("背景色を統一"));
  unify->addWidget(unifyFont);
  unify->addWidget(unifyBack);
  side->addLayout(unify);

  edx = new TPageEditorView(page);
  edx->setObjectName("edx");
  TEditorFountain& fountain = edx->ViewFountain();
  fountain.SetCommenter("//");
  fountain.SetQuotation("\"");
  fountain.SetUrl(true);
  fountain.SetMail(true);
  ApplyReserveWordText(Sjis("キーワード"), fountain);
  std::string text;
  for (const char* line : kPreviewLines) text += Sjis(line) + "\r\n";
  text.resize(text.size() - 2);
  edx->SetText(text);
  edx->setMinimumSize(360, 160);
  side->addWidget(edx, 1);

  auto* panels = new QHBoxLayout;
  pnlTree = new QLabel(QStringLiteral("ツリー"), page);
  pnlTree->setObjectName("pnlTree");
  pnlList = new QLabel(QStringLiteral("リスト"), page);
  pnlList->setObjectName("pnlList");
  for (QLabel* panel : {pnlTree, pnlList}) {
    panel->setAutoFillBackground(true);
    panel->setFrameShape(QFrame::Panel);
    panel->setMinimumHeight(32);
    panels->addWidget(panel);
  }
  side->addLayout(panels);

  connect(lbColors, &QListWidget::currentRowChanged, this, &TfmConfig::SelectColorItem);
  connect(btFontColor, &QPushButton::clicked, this, [this] { btColorClick(false); });
  connect(btBackColor, &QPushButton::clicked, this, [this] { btColorClick(true); });
  connect(unifyFont, &QPushButton::clicked, this, &TfmConfig::btUnifyFontColorClick);
  connect(unifyBack, &QPushButton::clicked, this, &TfmConfig::btUnifyBackColorClick);
  for (QCheckBox* box : cbStyles) {
    connect(box, &QCheckBox::toggled, this, [this] {
      const TColorItem item = ColorItem(lbColors->currentRow());
      if (!item.style) return;
      *item.style = StyleOfBoxes(cbStyles);
      ApplyColorsToPreview();
    });
  }
  return page;
}

TfmConfig::TColorItem TfmConfig::ColorItem(int item) {
  TnuvConfig& c = m_work;
  TColorGroup* groups[kColorGroups] = {&c.Ank, &c.DBCS, &c.Comment, &c.Keyword, &c.URL, &c.Mail, &c.Str, &c.Digit};
  if (item >= 0 && item < kColorGroups) {
    TColorGroup& g = *groups[item];
    return {&g.Color, &g.BkColor, &g.Style};
  }
  switch (item) {
    case kItemSelect: return {&c.SelectColor, &c.SelectBkColor, nullptr};
    case kItemTab: return {&c.TabColor, nullptr, nullptr};
    case kItemRet: return {&c.RetColor, nullptr, nullptr};
    case kItemEof: return {&c.EOFColor, nullptr, nullptr};
    case kItemDBSp: return {&c.DBSpColor, nullptr, nullptr};
    case kItemSp: return {&c.SpColor, nullptr, nullptr};
    case kItemRuler: return {&c.RulerColor, &c.RulerBkColor, nullptr};
    case kItemRulerMark: return {&c.RulerMarkColor, nullptr, nullptr};
    case kItemLineNo: return {&c.LineNoColor, &c.LineNoBkColor, nullptr};
    case kItemMargin: return {&c.RightMarginColor, nullptr, nullptr};
    case kItemWindow: return {nullptr, &c.EditBkColor, nullptr};
    case kItemUnderline: return {&c.UnderlineColor, nullptr, nullptr};
    case kItemFindMark: return {&c.FindMarkColor, nullptr, nullptr};
    case kItemTree: return {&c.TreeFontColor, &c.TreeBkColor, nullptr};
    case kItemList: return {&c.ListFontColor, &c.ListBkColor, nullptr};
    default: return {};
  }
}

void TfmConfig::SelectColorItem(int item) {
  if (lbColors->currentRow() != item) {
    lbColors->setCurrentRow(item);  // comes back here through the signal
    return;
  }
  const TColorItem c = ColorItem(item);
  SetStyleBoxes(cbStyles, c.style ? *c.style : 0, c.style != nullptr);
  btFontColor->setEnabled(c.color != nullptr);
  btBackColor->setEnabled(c.bkColor != nullptr);
}

void TfmConfig::btColorClick(bool background) {
  const TColorItem item = ColorItem(lbColors->currentRow());
  int32_t* target = background ? item.bkColor : item.color;
  if (!target) return;
  if (const auto chosen = AskColor(*target)) {
    *target = *chosen;
    ApplyColorsToPreview();
    UpdateSamplePanels();
  }
}

void TfmConfig::btUnifyFontColorClick() {
  const auto chosen = AskColor(m_work.Ank.Color);
  if (!chosen) return;
  for (int i = 0; i < kColorGroups; ++i) *ColorItem(i).color = *chosen;
  ApplyColorsToPreview();
}

void TfmConfig::btUnifyBackColorClick() {
  const auto chosen = AskColor(m_work.Ank.BkColor);
  if (!chosen) return;
  for (int i = 0; i < kColorGroups; ++i) *ColorItem(i).bkColor = *chosen;
  m_work.RulerBkColor = m_work.LineNoBkColor = m_work.EditBkColor = *chosen;
  ApplyColorsToPreview();
}

void TfmConfig::UpdateSamplePanels() {
  const std::pair<QLabel*, int> panels[] = {{pnlTree, kItemTree}, {pnlList, kItemList}};
  for (const auto& [panel, item] : panels) {
    const TColorItem c = ColorItem(item);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::WindowText, ConfigColorToQColor(*c.color));
    palette.setColor(QPalette::Window, ConfigColorToQColor(*c.bkColor));
    panel->setPalette(palette);
  }
}

QWidget* TfmConfig::BuildBracketPage() {
  auto* page = new QWidget;
  auto* layout = new QHBoxLayout(page);
  lbBrackets = new QListWidget(page);
  lbBrackets->setObjectName("lbBrackets");
  for (int i = 0; i < kBracketSlots; ++i) lbBrackets->addItem(QString());
  for (int i = 0; i < kBracketSlots; ++i) UpdateBracketLine(i);
  layout->addWidget(lbBrackets);
  auto* side = new QVBoxLayout;
  layout->addLayout(side, 1);
  auto* texts = new QGridLayout;
  edBegin = new QLineEdit(page);
  edBegin->setObjectName("edBegin");
  edEnd = new QLineEdit(page);
  edEnd->setObjectName("edEnd");
  texts->addWidget(new QLabel(QStringLiteral("開始:"), page), 0, 0);
  texts->addWidget(edBegin, 0, 1);
  texts->addWidget(new QLabel(QStringLiteral("終了:"), page), 1, 0);
  texts->addWidget(edEnd, 1, 1);
  side->addLayout(texts);
  auto* styles = new QHBoxLayout;
  cbBracketStyles = StyleBoxes(page, styles, "cbBracket");
  side->addLayout(styles);
  auto* buttons = new QHBoxLayout;
  QPushButton* fore = ConfigButton(page, "btBracketFontColor", QStringLiteral("前景色(&F)..."));
  QPushButton* back = ConfigButton(page, "btBracketBackColor", QStringLiteral("背景色(&B)..."));
  btBracketClear = ConfigButton(page, "btBracketClear", QStringLiteral("初期化(&C)"));
  QPushButton* set = ConfigButton(page, "btBracketSet", QStringLiteral("設定(&U)"));
  QPushButton* unify = ConfigButton(page, "btBracketUnifyBack", QStringLiteral("背景色を統一"));
  for (QPushButton* b : {fore, back, btBracketClear, set, unify}) buttons->addWidget(b);
  side->addLayout(buttons);
  edxBrackets = new TPageEditorView(page);
  edxBrackets->setObjectName("edxBrackets");
  edxBrackets->setMinimumSize(300, 80);
  side->addWidget(edxBrackets, 1);

  connect(lbBrackets, &QListWidget::currentRowChanged, this, &TfmConfig::SelectBracket);
  connect(fore, &QPushButton::clicked, this, [this] { btBracketColorClick(false); });
  connect(back, &QPushButton::clicked, this, [this] { btBracketColorClick(true); });
  connect(btBracketClear, &QPushButton::clicked, this, &TfmConfig::btBracketClearClick);
  connect(set, &QPushButton::clicked, this, &TfmConfig::btBracketSetClick);
  connect(unify, &QPushButton::clicked, this, &TfmConfig::btBracketUnifyBackClick);
  return page;
}

void TfmConfig::UpdateBracketLine(int slot) {
  const TBracketSlot& s = m_work.Brackets[static_cast<std::size_t>(slot)];
  QString line;
  if (s.Str.empty() && s.End.empty())
    line = slot < kFirstUserBracket ? QStringLiteral("（予約）") : QStringLiteral("（未使用）");
  else
    line = ToQString(s.Str) + QLatin1Char(' ') + ToQString(s.End);
  lbBrackets->item(slot)->setText(line);
}

void TfmConfig::ShowBracketSample(int slot) {
  const TBracketSlot& s = m_work.Brackets[static_cast<std::size_t>(slot)];
  // The sample editor shows the one slot, in the slot's own colours.
  TnuvConfig one = m_work;
  for (TBracketSlot& other : one.Brackets) other = TBracketSlot{};
  one.Brackets[0] = s;
  ApplyBrackets(one, edxBrackets->ViewFountain());
  edxBrackets->SetText(s.InUse() ? s.Str + Sjis("サンプル") + s.End : std::string());
}

void TfmConfig::SelectBracket(int slot) {
  if (slot < 0 || slot >= kBracketSlots) return;
  if (lbBrackets->currentRow() != slot) {
    lbBrackets->setCurrentRow(slot);  // comes back here through the signal
    return;
  }
  const TBracketSlot& s = m_work.Brackets[static_cast<std::size_t>(slot)];
  edBegin->setText(ToQString(s.Str));
  edEnd->setText(ToQString(s.End));
  SetStyleBoxes(cbBracketStyles, s.Style, true);
  const bool user = slot >= kFirstUserBracket;
  edBegin->setEnabled(user);
  edEnd->setEnabled(user);
  btBracketClear->setEnabled(user);
  ShowBracketSample(slot);
}

void TfmConfig::btBracketSetClick() {
  const int slot = lbBrackets->currentRow();
  if (slot < 0) return;
  TBracketSlot& s = m_work.Brackets[static_cast<std::size_t>(slot)];
  if (slot >= kFirstUserBracket) {
    const auto begin = ToSjis(edBegin->text());
    const auto end = ToSjis(edEnd->text());
    if (!begin || !end) {
      m_prompts.Error(ToSjisOrEmpty(QStringLiteral("Shift JIS にない文字は設定できません。")));
      return;
    }
    s.Str = *begin;
    s.End = *end;
  }
  s.Style = StyleOfBoxes(cbBracketStyles);
  UpdateBracketLine(slot);
  ShowBracketSample(slot);
}

void TfmConfig::btBracketClearClick() {
  const int slot = lbBrackets->currentRow();
  if (slot < kFirstUserBracket) return;
  m_work.Brackets[static_cast<std::size_t>(slot)] = TBracketSlot{{}, {}, 0, 0xFFFFFF, 0};
  UpdateBracketLine(slot);
  SelectBracket(slot);
  ShowBracketSample(slot);
}

void TfmConfig::btBracketColorClick(bool background) {
  const int slot = lbBrackets->currentRow();
  if (slot < 0) return;
  TBracketSlot& s = m_work.Brackets[static_cast<std::size_t>(slot)];
  int32_t& target = background ? s.BkColor : s.Color;
  if (const auto chosen = AskColor(target)) {
    target = *chosen;
    ShowBracketSample(slot);
  }
}

void TfmConfig::btBracketUnifyBackClick() {
  const int slot = std::max(0, lbBrackets->currentRow());
  const auto chosen = AskColor(m_work.Brackets[static_cast<std::size_t>(slot)].BkColor);
  if (!chosen) return;
  for (TBracketSlot& s : m_work.Brackets) s.BkColor = *chosen;
  ShowBracketSample(slot);
}

}  // namespace nuv
