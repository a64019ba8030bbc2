// The find, replace and query-replace dialogs.
#include "app/FindDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/QtText.h"

namespace nuv {

namespace {

QComboBox* HistoryBox(QWidget* parent, const char* name, const std::vector<std::string>& history) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setMinimumWidth(280);
  for (const std::string& text : history) box->addItem(ToQString(text));
  return box;
}

QButtonGroup* RangeGroup(QWidget* parent, QVBoxLayout* layout, const std::vector<QString>& captions) {
  auto* frame = new QGroupBox(QStringLiteral("検索範囲"), parent);
  frame->setObjectName("rgFindRange");
  auto* inner = new QVBoxLayout(frame);
  auto* group = new QButtonGroup(parent);
  for (std::size_t i = 0; i < captions.size(); ++i) {
    auto* item = new QRadioButton(captions[i], frame);
    group->addButton(item, static_cast<int>(i));
    inner->addWidget(item);
  }
  group->button(0)->setChecked(true);
  layout->addWidget(frame);
  return group;
}

std::string SjisOf(const QComboBox* box) { return ToSjisOrEmpty(box->currentText()); }

}  // namespace

TSearchOptionBoxes::TSearchOptionBoxes(QWidget* parent) : QObject(parent) {
  auto make = [parent](const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
  };
  cbMatchCase = make("cbMatchCase", QStringLiteral("大文字と小文字を区別"));
  cbRegExp = make("cbRegExp", QStringLiteral("正規表現"));
  cbFuzzy = make("cbFuzzy", QStringLiteral("あいまい検索"));
  cbWholeWord = make("cbWholeWord", QStringLiteral("単語単位"));
  for (QCheckBox* box : {cbMatchCase, cbRegExp, cbFuzzy}) connect(box, &QCheckBox::toggled, this, [this] { Interlock(); });
}

void TSearchOptionBoxes::Interlock() {
  const QSignalBlocker b1(cbMatchCase), b2(cbRegExp), b3(cbFuzzy);
  if (cbMatchCase->isChecked() && sender() == cbMatchCase) {
    cbRegExp->setChecked(false);
    cbFuzzy->setChecked(false);
  } else if ((cbRegExp->isChecked() || cbFuzzy->isChecked()) && sender() != cbMatchCase) {
    cbMatchCase->setChecked(false);
  }
  cbRegExp->setEnabled(!cbMatchCase->isChecked());
  cbFuzzy->setEnabled(!cbMatchCase->isChecked());
  cbMatchCase->setEnabled(!cbRegExp->isChecked() && !cbFuzzy->isChecked());
}

TExSearchOptions TSearchOptionBoxes::Options() const {
  TExSearchOptions options = 0;
  if (cbMatchCase->isChecked()) options |= SearchOption(soMatchCase);
  if (cbRegExp->isChecked()) options |= SearchOption(soRegexp);
  if (cbFuzzy->isChecked()) options |= SearchOption(soFuzzy);
  if (cbWholeWord->isChecked()) options |= SearchOption(soWholeWord);
  return options;
}

TfmFind::TfmFind(QWidget* parent, const std::vector<std::string>& history) : QDialog(parent) {
  setObjectName("fmFind");
  setWindowTitle(QStringLiteral("検索"));
  setWindowFlag(Qt::WindowStaysOnTopHint);
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  cbFind = HistoryBox(this, "cbFind", history);
  form->addRow(QStringLiteral("検索文字列(&T):"), cbFind);
  layout->addLayout(form);
  options = new TSearchOptionBoxes(this);
  for (QCheckBox* box : {options->cbMatchCase, options->cbRegExp, options->cbFuzzy, options->cbWholeWord})
    layout->addWidget(box);
  rgFindRange = RangeGroup(this, layout,
                           {QStringLiteral("全ノード"), QStringLiteral("選択中のノード配下（選択中のノードを含む）"),
                            QStringLiteral("選択中ノードと同じレベルのノード"), QStringLiteral("リスト（絞り込み検索）")});
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* find = buttons->addButton(QStringLiteral("検索"), QDialogButtonBox::AcceptRole);
  find->setObjectName("btFind");
  find->setDefault(true);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  cbFind->setFocus();
}

std::string TfmFind::Pattern() const { return SjisOf(cbFind); }
TFindRange TfmFind::Range() const { return static_cast<TFindRange>(rgFindRange->checkedId()); }

TfmReplace::TfmReplace(QWidget* parent, const std::vector<std::string>& findHistory,
                       const std::vector<std::string>& replaceHistory)
    : QDialog(parent) {
  setObjectName("fmReplace");
  setWindowTitle(QStringLiteral("置換"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  cbFind = HistoryBox(this, "cbFind", findHistory);
  cbReplace = HistoryBox(this, "cbReplace", replaceHistory);
  cbReplace->setCurrentText(QString());
  form->addRow(QStringLiteral("検索文字列(&T):"), cbFind);
  form->addRow(QStringLiteral("置換文字列(&R):"), cbReplace);
  layout->addLayout(form);
  options = new TSearchOptionBoxes(this);
  for (QCheckBox* box : {options->cbMatchCase, options->cbRegExp, options->cbFuzzy, options->cbWholeWord})
    layout->addWidget(box);
  rgFindRange = RangeGroup(this, layout,
                           {QStringLiteral("選択中のノード"), QStringLiteral("全ノード"),
                            QStringLiteral("選択中のノード配下（選択中のノードを含む）"),
                            QStringLiteral("選択中ノードと同じレベルのノード")});
  auto* row = new QHBoxLayout;
  auto button = [this, row](const char* name, const QString& caption, int result) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    connect(b, &QPushButton::clicked, this, [this, result] { done(result); });
    row->addWidget(b);
    return b;
  };
  button("btReplace", QStringLiteral("置換"), kReplaceAsking)->setDefault(true);
  button("btReplaceAll", QStringLiteral("すべて置換"), kReplaceAll);
  button("btCancel", QStringLiteral("キャンセル"), QDialog::Rejected);
  layout->addLayout(row);
  cbFind->setFocus();
}

std::string TfmReplace::Pattern() const { return SjisOf(cbFind); }
std::string TfmReplace::Replacement() const { return SjisOf(cbReplace); }
TReplaceRange TfmReplace::Range() const { return static_cast<TReplaceRange>(rgFindRange->checkedId()); }

TfmQReplace::TfmQReplace(QWidget* main) : QDialog(main) {
  setObjectName("fmQReplace");
  setWindowTitle(QStringLiteral("置換しますか？"));
  setWindowFlag(Qt::WindowStaysOnTopHint);
  setModal(true);
  auto* row = new QHBoxLayout(this);
  auto button = [this, row](const char* name, const QString& caption, TQueryAnswer answer) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    connect(b, &QPushButton::clicked, this, [this, answer] {
      m_answer = answer;
      accept();
    });
    row->addWidget(b);
    return b;
  };
  button("btYes", QStringLiteral("はい(&Y)"), TQueryAnswer::Yes)->setDefault(true);
  button("btNo", QStringLiteral("いいえ(&N)"), TQueryAnswer::No);
  button("btAll", QStringLiteral("すべて置換(&A)"), TQueryAnswer::ReplaceAll);
  button("btCancel", QStringLiteral("キャンセル"), TQueryAnswer::Cancel);
}

TQueryAnswer TfmQReplace::Ask() {
  m_answer = TQueryAnswer::Closed;
  // Beside the window's lower right corner, but wholly on the screen.
  if (QWidget* main = parentWidget()) {
    adjustSize();
    const QRect work = main->screen() ? main->screen()->availableGeometry() : QRect();
    QPoint at = main->frameGeometry().bottomRight();
    if (work.isValid()) {
      at.setX(std::max(work.left(), std::min(at.x(), work.right() - width())));
      at.setY(std::max(work.top(), std::min(at.y(), work.bottom() - height())));
    }
    move(at);
  }
  exec();
  return m_answer;
}

void TfmQReplace::keyPressEvent(QKeyEvent* event) {
  // Esc answers "キャンセル"; only the window's close button leaves the
  // answer "closed", which goes on with the next page.
  if (event->key() == Qt::Key_Escape) {
    m_answer = TQueryAnswer::Cancel;
    accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace nuv
