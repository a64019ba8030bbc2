// Marks and labels.
#include "app/MarkController.h"

#include <QAction>
#include <QActionGroup>
#include <QCursor>
#include <QMenu>
#include <QToolButton>

#include "app/Actions.h"
#include "app/PagePictures.h"
#include "app/QtText.h"
#include "app/WindowServices.h"
#include "config/NuvConfig.h"
#include "outline/DocumentState.h"
#include "outline/FormatOptions.h"
#include "outline/OutlineTree.h"
#include "outline/PageCommands.h"
#include "outline/PagePictures.h"
#include "outline/TrashRules.h"

namespace nuv {

namespace {
struct TMarkItem {
  const char* name;
  const char* caption;
  const char* hint;
};
const TMarkItem kMarkItems[7] = {
    {"miNotYet", "未着手(&N)", "未着手"},     {"miWorking", "作業中(&W)", "作業中"},
    {"miDone", "完了(&D)", "完了"},           {"miPending", "ペンディング(&P)", "ペンディング"},
    {"miAbort", "中止(&A)", "中止"},          {"miMemo", "メモ(&M)", "メモ"},
    {"miFolder", "フォルダ(&F)", "フォルダ"},
};
}  // namespace

TMarkCommands::TMarkCommands(IWindowServices& window, QToolButton* markButton, QToolButton* labelButton,
                             QObject* parent)
    : QObject(parent), m_window(window), m_markButton(markButton), m_labelButton(labelButton) {
  pmNoteMark = new QMenu(markButton);
  pmNoteMark->setObjectName("pmNoteMark");
  pmNoteState = new QMenu(labelButton);
  pmNoteState->setObjectName("pmNoteState");
  auto* marks = new QActionGroup(this);
  for (int m = 0; m <= pic::kLastMark; ++m) {
    if (m == pic::kPending || m == pic::kMemo) pmNoteMark->addSeparator();
    QAction* item = MakeAction(this, kMarkItems[m].name, QString::fromUtf8(kMarkItems[m].caption), QKeySequence(), true);
    item->setIcon(m_window.Pictures().Icon(m));
    item->setStatusTip(QString::fromUtf8(kMarkItems[m].hint));
    marks->addAction(item);
    pmNoteMark->addAction(item);
    markItems[static_cast<std::size_t>(m)] = item;
    connect(item, &QAction::triggered, this, [this, m] { SetMark(m); });
  }
  auto* labels = new QActionGroup(this);
  for (int i = 0; i < 8; ++i) {
    const int label = pic::kLabel1 + i;
    QAction* item = MakeAction(this, ("miLabel" + std::to_string(i + 1)).c_str(), QString(), QKeySequence(), true);
    item->setIcon(m_window.Pictures().Icon(label));
    labels->addAction(item);
    pmNoteState->addAction(item);
    labelItems[static_cast<std::size_t>(i)] = item;
    connect(item, &QAction::triggered, this, [this, label] { SetLabel(label); });
  }
  acImageChange = MakeAction(this, "acImageChange", QStringLiteral("マークの変更(&M)"));
  acImageChange->setToolTip(QStringLiteral("マークを変更する"));
  acSImageChange = MakeAction(this, "acSImageChange", QStringLiteral("ラベルの変更(&L)"));
  acSImageChange->setToolTip(QStringLiteral("ラベルの変更"));
  miChangeMark = MakeAction(this, "miChangeMark", QStringLiteral("マークの変更(&M)..."));
  miChangeLabel = MakeAction(this, "miChangeLabel", QStringLiteral("ラベルの変更(&B)..."));
  connect(acImageChange, &QAction::triggered, this, [this] { CycleMark(); });
  connect(acSImageChange, &QAction::triggered, this, [this] { CycleLabel(); });
  connect(miChangeMark, &QAction::triggered, this, [this] { pmNoteMark->popup(QCursor::pos()); });
  connect(miChangeLabel, &QAction::triggered, this, [this] { pmNoteState->popup(QCursor::pos()); });
  m_markButton->setDefaultAction(acImageChange);
  m_markButton->setMenu(pmNoteMark);
  m_markButton->setPopupMode(QToolButton::MenuButtonPopup);
  m_labelButton->setDefaultAction(acSImageChange);
  m_labelButton->setMenu(pmNoteState);
  m_labelButton->setPopupMode(QToolButton::MenuButtonPopup);
}

void TMarkCommands::ApplyLabelNames() {
  for (int i = 0; i < 8; ++i)
    labelItems[static_cast<std::size_t>(i)]->setText(ToQString(m_window.Config().Labels[static_cast<std::size_t>(i)]));
}

void TMarkCommands::MarkChanged(TTreeNode* page, int mark) {
  if (page == m_window.SelectedPage()) {
    acImageChange->setIcon(m_window.Pictures().Icon(mark));
    if (pic::IsMark(mark)) markItems[static_cast<std::size_t>(mark)]->setChecked(true);
  }
  m_window.Document().DocModified = true;
  m_window.Document().PageDirty = true;
}

void TMarkCommands::SetMark(int mark) {
  TTreeNode* page = m_window.SelectedPage();
  if (!page || !acImageChange->isEnabled()) return;
  SetPageMark(m_window.Tree(), page, mark, false);
  MarkChanged(page, mark);
}

void TMarkCommands::CycleMark() { 
  if (const TTreeNode* page = m_window.SelectedPage()) SetMark(CycledMark(page->ImageIndex()));
}

void TMarkCommands::IconCtrlClicked(TTreeNode* page, bool onIcon) {
  // The trash keeps its picture: its mark is what makes it the trash.
  if (page && onIcon && !IsTrashPage(page)) {
    // The record is created so that the new mark survives a binary save.
    const int mark = CycledMark(page->ImageIndex());
    SetPageMark(m_window.Tree(), page, mark, true);
    MarkChanged(page, mark);
  }
  m_window.Document().DocModified = true;
  m_window.Document().PageDirty = true;
}

void TMarkCommands::LabelChanged(const TTreeNode* page, int label) {
  if (page == m_window.SelectedPage()) {
    acSImageChange->setIcon(m_window.Pictures().Icon(label));
    acSImageChange->setToolTip(labelItems[static_cast<std::size_t>(label - pic::kLabel1)]->text());
    labelItems[static_cast<std::size_t>(label - pic::kLabel1)]->setChecked(true);
  }
  m_window.Document().DocModified = true;
  m_window.Document().PageDirty = true;
}

void TMarkCommands::SetLabel(int label) {
  TTreeNode* page = m_window.SelectedPage();
  if (!page) return;
  SetPageLabel(m_window.Tree(), page, label, m_window.FormatOptions());
  LabelChanged(page, label);
}

void TMarkCommands::CycleLabel() {
  if (const TTreeNode* page = m_window.SelectedPage()) SetLabel(CycledLabel(page->StateIndex()));
}

void TMarkCommands::ShowPage(const TTreeNode* page) {
  const int mark = page->ImageIndex();
  acImageChange->setIcon(m_window.Pictures().Icon(mark));
  if (pic::IsMark(mark)) {
    markItems[static_cast<std::size_t>(mark)]->setChecked(true);
    acImageChange->setToolTip(markItems[static_cast<std::size_t>(mark)]->statusTip());
  }
  const int label = ShownLabel(page->StateIndex());
  acSImageChange->setIcon(m_window.Pictures().Icon(label));
  labelItems[static_cast<std::size_t>(label - pic::kLabel1)]->setChecked(true);
  acSImageChange->setToolTip(labelItems[static_cast<std::size_t>(label - pic::kLabel1)]->text());
}

void TMarkCommands::SetMarkEnabled(bool enabled) {
  acImageChange->setEnabled(enabled);
  m_markButton->setEnabled(enabled);
  miChangeMark->setEnabled(enabled);
}

}  // namespace nuv
