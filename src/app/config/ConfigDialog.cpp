// The settings dialog's frame: the pages, the bindings of the controls to the
// working copy, the previews following the view controls, and OK.
#include "app/config/ConfigDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "base/Prompts.h"
#include "editor/view/EditorSettings.h"
#include "editor/view/PageEditorView.h"

namespace nuv {

QColor ConfigColorToQColor(int32_t value) {
  if (value == kColorWindow) return QPalette().color(QPalette::Base);
  if (value == kColorWindowText) return QPalette().color(QPalette::Text);
  if (value < 0) return QPalette().color(QPalette::Window);
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

namespace {

int32_t QColorToConfigColor(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

std::optional<int32_t> AskQtColor(QWidget* parent, int32_t initial) {
  const QColor chosen = QColorDialog::getColor(ConfigColorToQColor(initial), parent);
  if (!chosen.isValid()) return std::nullopt;
  return QColorToConfigColor(chosen);
}

}  // namespace

TfmConfig::TfmConfig(const TnuvConfig& config, IPrompts& prompts, std::function<QIcon(int)> labelIcon, QWidget* parent)
    : QDialog(parent), m_work(config), m_prompts(prompts), m_labelIcon(std::move(labelIcon)) {
  setObjectName("fmConfig");
  setWindowTitle(QStringLiteral("nuvの設定"));
  PickColor = [this](int32_t initial) { return AskQtColor(this, initial); };
  auto* layout = new QVBoxLayout(this);
  pcConfig = new QTabWidget(this);
  pcConfig->setObjectName("pcConfig");
  layout->addWidget(pcConfig);
  pcConfig->addTab(BuildFontPage(), QStringLiteral("フォント"));
  pcConfig->addTab(BuildViewPage(), QStringLiteral("表示"));
  pcConfig->addTab(BuildView2Page(), QStringLiteral("表示２"));
  pcConfig->addTab(BuildColorPage(), QStringLiteral("色"));
  pcConfig->addTab(BuildBracketPage(), QStringLiteral("強調表示"));
  pcConfig->addTab(BuildLabelPage(), QStringLiteral("ラベル"));
  pcConfig->addTab(BuildFormatPage(), QStringLiteral("形式"));
  pcConfig->addTab(BuildActionPage(), QStringLiteral("動作"));
  pcConfig->addTab(BuildExecPage(), QStringLiteral("実行"));
  pcConfig->addTab(BuildEditModePage(), QStringLiteral("編集モード"));
  pcConfig->addTab(BuildPathPage(), QStringLiteral("パス"));
  pcConfig->addTab(BuildToolPage(), QStringLiteral("外部ツール"));
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName("btOK");
  ok->setDefault(true);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole)->setObjectName("btCancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &TfmConfig::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TfmConfig::reject);
  layout->addWidget(buttons);

  m_loading = false;
  WrapRightChanged();
  ViewControlsChanged();
  ApplyColorsToPreview();
  edx->SetSelection(0, 8);  // "選択領域", so the selection colours show
  // The selection scrolled the still unsized preview sideways; show the lines' starts.
  edx->Editor().SetTopCol(0);
  UpdateSamplePanels();
  SelectColorItem(0);
  SelectBracket(0);
  SelectEditMode(0);
  UpdateToolButtons();
}

TfmConfig::~TfmConfig() = default;

QCheckBox* TfmConfig::AddCheck(QVBoxLayout* layout, const QString& caption, bool TnuvConfig::*member, bool view) {
  auto* box = new QCheckBox(caption, layout->parentWidget());
  box->setChecked(m_work.*member);
  m_bools.push_back({box, member});
  if (view) connect(box, &QCheckBox::toggled, this, &TfmConfig::ViewControlsChanged);
  layout->addWidget(box);
  return box;
}

QSpinBox* TfmConfig::AddSpin(QWidget* parent, const char* name, int min, int max, int32_t TnuvConfig::*member,
                             bool view) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  box->setRange(min, max);
  box->setValue(m_work.*member);
  m_ints.push_back({box, member});
  if (view) connect(box, &QSpinBox::valueChanged, this, &TfmConfig::ViewControlsChanged);
  return box;
}

QComboBox* TfmConfig::AddChoice(QWidget* parent, const char* name, const QStringList& captions,
                                std::vector<int32_t> values, int32_t TnuvConfig::*member, bool view) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->addItems(captions);
  // A value the box does not offer shows the last choice, as the ruler unit
  // stores 10 for anything but its first item.
  int index = static_cast<int>(values.size()) - 1;
  for (std::size_t i = 0; i < values.size(); ++i)
    if (values[i] == m_work.*member) index = static_cast<int>(i);
  box->setCurrentIndex(index);
  m_choices.push_back({box, member, std::move(values)});
  if (view) connect(box, &QComboBox::currentIndexChanged, this, &TfmConfig::ViewControlsChanged);
  return box;
}

QLineEdit* TfmConfig::AddText(QWidget* parent, const char* name, std::function<std::string&(TnuvConfig&)> field) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setText(ToQString(field(m_work)));
  m_texts.push_back({box, std::move(field)});
  return box;
}

bool TfmConfig::CollectControls(TnuvConfig& into, bool report) {
  for (const TBoolBinding& b : m_bools) into.*b.member = b.box->isChecked();
  for (const TIntBinding& b : m_ints) into.*b.member = b.box->value();
  for (const TChoiceBinding& b : m_choices) {
    const int index = b.box->currentIndex();
    if (index >= 0 && index < static_cast<int>(b.values.size())) into.*b.member = b.values[static_cast<std::size_t>(index)];
  }
  for (const TTextBinding& b : m_texts) {
    const std::optional<std::string> sjis = ToSjis(b.box->text());
    if (!sjis && !report) continue;  // the previews keep the last good text
    if (!sjis) {
      m_prompts.Error(ToSjisOrEmpty(QStringLiteral("Shift JIS にない文字は設定できません: ")) +
                      ToSjisOrEmpty(b.box->text().left(40)));
      b.box->setFocus();
      return false;
    }
    b.field(into) = *sjis;
  }
  return true;
}

void TfmConfig::ViewControlsChanged() {
  if (m_loading) return;
  TnuvConfig shown = m_work;
  CollectControls(shown, false);
  for (TPageEditorView* view : {edx, edxBrackets})
    ApplyView(shown, TEditorSettingsTarget{view->Editor(), view->View(), view->ViewFountain()});
}

void TfmConfig::WrapRightChanged() {
  // Wrapping at the window's edge leaves no wrap width to set and nothing to
  // hang past it.
  const bool right = cbWrapRight->isChecked();
  edWrapByte->setEnabled(!right);
  for (QCheckBox* box : {cbFollowPunctuation, cbFollowRetMark}) {
    if (right) box->setChecked(false);
    box->setEnabled(!right);
  }
}

void TfmConfig::ApplyColorsToPreview() {
  for (TPageEditorView* view : {edx, edxBrackets})
    ApplyColors(m_work, TEditorSettingsTarget{view->Editor(), view->View(), view->ViewFountain()});
}

std::optional<int32_t> TfmConfig::AskColor(int32_t initial) { return PickColor ? PickColor(initial) : std::nullopt; }

void TfmConfig::accept() {
  TnuvConfig result = m_work;
  if (!CollectControls(result, true)) return;
  // The colour items live in the preview; the panels keep the tree and list colours.
  ReadColorsBack(result, TEditorSettingsTarget{edx->Editor(), edx->View(), edx->ViewFountain()});
  result.Path.Data = WithTrailingSlash(result.Path.Data);
  result.Path.Backup = WithTrailingSlash(result.Path.Backup);
  m_work = std::move(result);
  QDialog::accept();
}

}  // namespace nuv
