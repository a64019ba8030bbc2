// The settings dialog's list pages: the user edit modes ("編集モード") and the
// external editor and tools ("外部ツール").
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "app/ToolDialog.h"
#include "app/config/ConfigDialog.h"
#include "app/config/ConfigWidgets.h"
#include "base/FileIo.h"
#include "base/Prompts.h"
#include "fountain/EditModes.h"

namespace nuv {

namespace {

QTreeWidget* ReportList(QWidget* parent, const char* name, const QStringList& columns) {
  auto* list = new QTreeWidget(parent);
  list->setObjectName(name);
  list->setRootIsDecorated(false);
  list->setHeaderLabels(columns);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  return list;
}

// The menu letter a caption marks with "&", upper-cased; 0 when none.
QChar MenuLetter(const QString& caption) {
  const qsizetype at = caption.indexOf(QLatin1Char('&'));
  return at >= 0 && at + 1 < caption.size() ? caption.at(at + 1).toUpper() : QChar();
}

}  // namespace

QWidget* TfmConfig::BuildEditModePage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  lvEditMode = ReportList(page, "lvEditMode",
                          {QStringLiteral("№"), QStringLiteral("名前"), QStringLiteral("アクセラレータ"), QStringLiteral("ファイル名")});
  for (int i = 0; i < kEditModeSlots; ++i) {
    new QTreeWidgetItem(lvEditMode);
    FillEditModeRow(i);
  }
  layout->addWidget(lvEditMode, 1);
  auto* boxes = new QGridLayout;
  edModeName = new QLineEdit(page);
  edModeName->setObjectName("edModeName");
  edModeAccel = new QLineEdit(page);
  edModeAccel->setObjectName("edModeAccel");
  edModeAccel->setMaxLength(1);
  edModeFile = new QLineEdit(page);
  edModeFile->setObjectName("edModeFile");
  boxes->addWidget(new QLabel(QStringLiteral("名前:"), page), 0, 0);
  boxes->addWidget(edModeName, 0, 1);
  boxes->addWidget(new QLabel(QStringLiteral("アクセラレータキー:"), page), 0, 2);
  boxes->addWidget(edModeAccel, 0, 3);
  boxes->addWidget(new QLabel(QStringLiteral("ファイル名:"), page), 1, 0);
  boxes->addWidget(edModeFile, 1, 1, 1, 3);
  btModeSet = ConfigButton(page, "btEditModeSet", QStringLiteral("設定"));
  QPushButton* clear = ConfigButton(page, "btEditModeClear", QStringLiteral("消去"));
  boxes->addWidget(btModeSet, 0, 4);
  boxes->addWidget(clear, 1, 4);
  layout->addLayout(boxes);

  connect(lvEditMode, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* item) { SelectEditMode(item ? lvEditMode->indexOfTopLevelItem(item) : -1); });
  connect(edModeName, &QLineEdit::textChanged, this, &TfmConfig::UpdateEditModeButtons);
  connect(edModeFile, &QLineEdit::textChanged, this, &TfmConfig::UpdateEditModeButtons);
  connect(btModeSet, &QPushButton::clicked, this, &TfmConfig::btEditModeSetClick);
  connect(clear, &QPushButton::clicked, this, &TfmConfig::btEditModeClearClick);
  return page;
}

void TfmConfig::FillEditModeRow(int row) {
  const TEditModeSlot& slot = m_work.EditModes[static_cast<std::size_t>(row)];
  QTreeWidgetItem* item = lvEditMode->topLevelItem(row);
  item->setText(0, QString::number(row + 1));
  item->setText(1, ToQString(slot.Name));
  item->setText(2, ToQString(slot.Accelerator));
  item->setText(3, ToQString(slot.File));
}

void TfmConfig::SelectEditMode(int row) {
  if (row < 0 || row >= kEditModeSlots) return;
  if (lvEditMode->currentItem() != lvEditMode->topLevelItem(row)) {
    lvEditMode->setCurrentItem(lvEditMode->topLevelItem(row));  // comes back here through the signal
    return;
  }
  const TEditModeSlot& slot = m_work.EditModes[static_cast<std::size_t>(row)];
  edModeName->setText(ToQString(slot.Name));
  edModeAccel->setText(ToQString(slot.Accelerator));
  edModeFile->setText(ToQString(slot.File));
  UpdateEditModeButtons();
}

void TfmConfig::UpdateEditModeButtons() {
  // The reserved-word file must be in the program folder.
  const QString file = edModeFile->text();
  const bool exists = !file.isEmpty() && FileExists(m_work.ProgramFolderPath() + "/" + QStringToPath(file));
  btModeSet->setEnabled(!edModeName->text().isEmpty() && exists);
}

void TfmConfig::btEditModeSetClick() {
  const int row = lvEditMode->indexOfTopLevelItem(lvEditMode->currentItem());
  if (row < 0 || !btModeSet->isEnabled()) return;
  const auto name = ToSjis(edModeName->text());
  const auto accel = ToSjis(edModeAccel->text());
  const auto file = ToSjis(edModeFile->text());
  if (!name || !accel || !file) {
    m_prompts.Error(ToSjisOrEmpty(QStringLiteral("Shift JIS にない文字は設定できません。")));
    return;
  }
  // The letter must pick one item of the mode menu: the built-in modes and
  // the other user modes already use theirs.
  const QChar letter = edModeAccel->text().isEmpty() ? QChar() : edModeAccel->text().at(0).toUpper();
  if (!letter.isNull()) {
    bool taken = false;
    for (const TEditMode& mode : BuiltInEditModes()) taken = taken || MenuLetter(ToQString(mode.Caption)) == letter;
    for (int i = 0; i < kEditModeSlots; ++i) {
      const TEditModeSlot& other = m_work.EditModes[static_cast<std::size_t>(i)];
      if (i != row && !other.Name.empty() && ToQString(other.Accelerator).toUpper() == QString(letter)) taken = true;
    }
    if (taken) {
      m_prompts.Error(ToSjisOrEmpty(QStringLiteral("アクセラレータキー「%1」は他の編集モードで使われています。").arg(letter)));
      edModeAccel->setFocus();
      return;
    }
  }
  m_work.EditModes[static_cast<std::size_t>(row)] = TEditModeSlot{*name, *accel, *file};
  FillEditModeRow(row);
}

void TfmConfig::btEditModeClearClick() {
  const int row = lvEditMode->indexOfTopLevelItem(lvEditMode->currentItem());
  if (row < 0) return;
  m_work.EditModes[static_cast<std::size_t>(row)] = TEditModeSlot{};
  FillEditModeRow(row);
  SelectEditMode(row);
}

QWidget* TfmConfig::BuildToolPage() {
  EditTool = [this](const TnuvTool& tool) { return TfmTool::Edit(this, tool); };
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* editorRow = new QHBoxLayout;
  QLineEdit* editor =
      AddText(page, "Editor", [](TnuvConfig& c) -> std::string& { return c.Path.Editor; });
  auto* browse = new QPushButton(QStringLiteral("..."), page);
  connect(browse, &QPushButton::clicked, this, [this, editor] {
    const QString file = QFileDialog::getOpenFileName(this, QString(), QString());
    if (!file.isEmpty()) editor->setText(file);
  });
  editorRow->addWidget(new QLabel(QStringLiteral("ファイル名:"), page));
  editorRow->addWidget(editor, 1);
  editorRow->addWidget(browse);
  layout->addLayout(editorRow);

  lvTools = ReportList(page, "lvTools",
                       {QStringLiteral("タイトル"), QStringLiteral("ファイル名"), QStringLiteral("オプション"), QStringLiteral("拡張子")});
  for (std::size_t i = 0; i < m_work.Tools.size(); ++i) {
    new QTreeWidgetItem(lvTools);
    FillToolRow(static_cast<int>(i));
  }
  layout->addWidget(lvTools, 1);
  auto* buttons = new QHBoxLayout;
  btToolUp = ConfigButton(page, "btToolUp", QStringLiteral("▲"));
  btToolDown = ConfigButton(page, "btToolDown", QStringLiteral("▼"));
  QPushButton* add = ConfigButton(page, "btToolNew", QStringLiteral("新規"));
  btToolEdit = ConfigButton(page, "btToolEdit", QStringLiteral("編集"));
  btToolDelete = ConfigButton(page, "btToolDelete", QStringLiteral("削除"));
  for (QPushButton* b : {btToolUp, btToolDown, add, btToolEdit, btToolDelete}) buttons->addWidget(b);
  layout->addLayout(buttons);

  connect(lvTools, &QTreeWidget::currentItemChanged, this, &TfmConfig::UpdateToolButtons);
  connect(lvTools, &QTreeWidget::itemDoubleClicked, this, &TfmConfig::btToolEditClick);
  connect(btToolUp, &QPushButton::clicked, this, [this] { btToolMoveClick(-1); });
  connect(btToolDown, &QPushButton::clicked, this, [this] { btToolMoveClick(1); });
  connect(add, &QPushButton::clicked, this, &TfmConfig::btToolNewClick);
  connect(btToolEdit, &QPushButton::clicked, this, &TfmConfig::btToolEditClick);
  connect(btToolDelete, &QPushButton::clicked, this, &TfmConfig::btToolDeleteClick);
  return page;
}

void TfmConfig::FillToolRow(int row) {
  const TnuvTool& tool = m_work.Tools[static_cast<std::size_t>(row)];
  QTreeWidgetItem* item = lvTools->topLevelItem(row);
  const std::string* texts[4] = {&tool.Title, &tool.File, &tool.Option, &tool.Ext};
  for (int column = 0; column < 4; ++column) item->setText(column, ToQString(*texts[column]));
}

void TfmConfig::UpdateToolButtons() {
  const int row = lvTools->indexOfTopLevelItem(lvTools->currentItem());
  const int count = lvTools->topLevelItemCount();
  btToolUp->setEnabled(row > 0);
  btToolDown->setEnabled(row >= 0 && row + 1 < count);
  btToolEdit->setEnabled(row >= 0);
  btToolDelete->setEnabled(row >= 0);
}

void TfmConfig::btToolNewClick() {
  if (static_cast<int>(m_work.Tools.size()) >= kMaxTools || !EditTool) return;
  const auto tool = EditTool(TnuvTool{});
  if (!tool) return;
  m_work.Tools.push_back(*tool);
  const int row = static_cast<int>(m_work.Tools.size()) - 1;
  new QTreeWidgetItem(lvTools);
  FillToolRow(row);
  lvTools->setCurrentItem(lvTools->topLevelItem(row));
}

void TfmConfig::btToolEditClick() {
  const int row = lvTools->indexOfTopLevelItem(lvTools->currentItem());
  if (row < 0 || !EditTool) return;
  if (const auto tool = EditTool(m_work.Tools[static_cast<std::size_t>(row)])) {
    m_work.Tools[static_cast<std::size_t>(row)] = *tool;
    FillToolRow(row);
  }
}

void TfmConfig::btToolDeleteClick() {
  const int row = lvTools->indexOfTopLevelItem(lvTools->currentItem());
  if (row < 0) return;
  m_work.Tools.erase(m_work.Tools.begin() + row);
  delete lvTools->takeTopLevelItem(row);
  const int count = lvTools->topLevelItemCount();
  if (count > 0) lvTools->setCurrentItem(lvTools->topLevelItem(std::min(row, count - 1)));
  UpdateToolButtons();
}

void TfmConfig::btToolMoveClick(int step) {
  const int row = lvTools->indexOfTopLevelItem(lvTools->currentItem());
  const int other = row + step;
  if (row < 0 || other < 0 || other >= lvTools->topLevelItemCount()) return;
  std::swap(m_work.Tools[static_cast<std::size_t>(row)], m_work.Tools[static_cast<std::size_t>(other)]);
  FillToolRow(row);
  FillToolRow(other);
  lvTools->setCurrentItem(lvTools->topLevelItem(other));
}

}  // namespace nuv
