// The edit commands and the node clipboard.
#include "app/ClipboardController.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QTreeWidget>

#include "app/Actions.h"
#include "app/AppTexts.h"
#include "app/OutlineView.h"
#include "app/WindowServices.h"
#include "outline/DocumentState.h"
#include "outline/FormatOptions.h"
#include "outline/NodeClipboard.h"
#include "outline/OutlineTree.h"
#include "outline/PageEditor.h"

namespace nuv {

namespace {

bool ClipboardHasNodes() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return data && data->hasFormat(kNodeDataMime);
}

bool ClipboardHasText() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return data && data->hasText();
}
}  // namespace

TClipboardCommands::TClipboardCommands(IWindowServices& window, QObject* parent) : QObject(parent), m_window(window) {
  acCut = MakeAction(this, "acCut", QStringLiteral("切り取り(&T)"), QKeySequence(Qt::CTRL | Qt::Key_X));
  acCopy = MakeAction(this, "acCopy", QStringLiteral("コピー(&C)"), QKeySequence(Qt::CTRL | Qt::Key_C));
  acPaste = MakeAction(this, "acPaste", QStringLiteral("貼り付け(&P)"), QKeySequence(Qt::CTRL | Qt::Key_V));
  acSelectAll = MakeAction(this, "acSelectAll", QStringLiteral("すべて選択(&L)"), QKeySequence(Qt::CTRL | Qt::Key_A));
  acUndo = MakeAction(this, "acUndo", QStringLiteral("元に戻す(&U)"), QKeySequence(Qt::CTRL | Qt::Key_Z));
  acRedo = MakeAction(this, "acRedo", QStringLiteral("やり直し(&R)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  acBoxSelMode = MakeAction(this, "acBoxSelMode", QStringLiteral("箱型選択モード(&B)"), QKeySequence(), true);
  connect(acBoxSelMode, &QAction::triggered, this, [this](bool checked) { m_window.Editor().SetBoxMode(checked); });
  const std::pair<QAction*, void (TClipboardCommands::*)()> handlers[] = {
      {acCut, &TClipboardCommands::acCutExecute},         {acCopy, &TClipboardCommands::acCopyExecute},
      {acPaste, &TClipboardCommands::acPasteExecute},     {acSelectAll, &TClipboardCommands::acSelectAllExecute},
      {acUndo, &TClipboardCommands::acUndoExecute},       {acRedo, &TClipboardCommands::acRedoExecute},
  };
  for (const auto& [action, handler] : handlers) {
    // Window-wide shortcuts: the command decides by the focused control.
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, action = action, handler = handler] {
      Update();
      if (action->isEnabled()) (this->*handler)();
      m_window.UpdateActions();
    });
  }
}

void TClipboardCommands::Update() {
  QLineEdit* title = m_window.TitleBox();
  const bool editorSelection = m_window.Editor().Selected();
  switch (m_window.FocusArea()) {
    case TFocusArea::Tree:
      acCut->setEnabled(true);
      acCopy->setEnabled(true);
      acPaste->setEnabled(ClipboardHasNodes());
      break;
    case TFocusArea::ChildrenList:
    case TFocusArea::SearchList:
      acCut->setEnabled(false);
      acCopy->setEnabled(true);
      acPaste->setEnabled(false);
      break;
    case TFocusArea::TitleBox:
      acCut->setEnabled(title->hasSelectedText());
      acCopy->setEnabled(title->hasSelectedText());
      acPaste->setEnabled(ClipboardHasText());
      break;
    case TFocusArea::FindBox:
      acCut->setEnabled(true);
      acCopy->setEnabled(true);
      acPaste->setEnabled(ClipboardHasText());
      break;
    case TFocusArea::Editor:
      acCut->setEnabled(editorSelection);
      acCopy->setEnabled(editorSelection);
      acPaste->setEnabled(m_window.Editor().CanPaste());
      break;
  }
  acSelectAll->setEnabled(true);
  const bool documentUndo = m_canUndoDocument && m_canUndoDocument();
  acUndo->setEnabled(m_window.FocusArea() == TFocusArea::TitleBox ? title->isUndoAvailable()
                                                                  : documentUndo || m_window.Editor().CanUndo());
  acRedo->setEnabled(m_window.Editor().CanRedo());
  // The editor's popup switches the mode too.
  acBoxSelMode->setChecked(m_window.Editor().BoxMode());
}

void TClipboardCommands::acCutExecute() {
  switch (m_window.FocusArea()) {
    case TFocusArea::Tree:
      MarkCut(m_window.Tree(), m_window.SelectedPage());
      CopyPages(false);
      break;
    case TFocusArea::TitleBox: m_window.TitleBox()->cut(); break;
    case TFocusArea::ChildrenList:
    case TFocusArea::SearchList: break;
    case TFocusArea::FindBox:
    case TFocusArea::Editor:
      m_window.Editor().CutToClipboard();
      break;
  }
}

void TClipboardCommands::acCopyExecute() {
  switch (m_window.FocusArea()) {
    case TFocusArea::Tree:
      ClearCutMarks(m_window.Tree());
      CopyPages(false);
      break;
    case TFocusArea::ChildrenList:
    case TFocusArea::SearchList:
      ClearCutMarks(m_window.Tree());
      CopyPages(true);
      break;
    case TFocusArea::TitleBox: m_window.TitleBox()->copy(); break;
    case TFocusArea::FindBox:
    case TFocusArea::Editor:
      m_window.Editor().CopyToClipboard();
      break;
  }
}

void TClipboardCommands::acPasteExecute() {
  switch (m_window.FocusArea()) {
    case TFocusArea::Tree: PastePages(); break;
    case TFocusArea::ChildrenList:
    case TFocusArea::SearchList: break;
    case TFocusArea::TitleBox: m_window.TitleBox()->paste(); break;
    case TFocusArea::FindBox:
    case TFocusArea::Editor:
      m_window.Editor().PasteFromClipboard();
      break;
  }
}

void TClipboardCommands::acSelectAllExecute() {
  if (m_window.FocusArea() == TFocusArea::TitleBox)
    m_window.TitleBox()->selectAll();
  else
    m_window.Editor().SelectAll();
}

void TClipboardCommands::acUndoExecute() {
  if (m_window.FocusArea() == TFocusArea::TitleBox)
    m_window.TitleBox()->undo();
  else if (!(m_undoDocument && m_undoDocument()))
    m_window.Editor().Undo();
}

void TClipboardCommands::acRedoExecute() { m_window.Editor().Redo(); }

void TClipboardCommands::CopyPages(bool fromList) {
  std::vector<const TTreeNode*> pages;
  if (fromList) {
    QTreeWidget* list =
        m_window.FocusArea() == TFocusArea::ChildrenList ? m_window.ChildrenList() : m_window.SearchList();
    for (QTreeWidgetItem* item : list->selectedItems())
      if (const TTreeNode* page = m_window.Tree().FindById(item->data(0, Qt::UserRole).toULongLong()))
        pages.push_back(page);
  } else {
    pages = SubtreePages(m_window.SelectedPage());
  }
  if (pages.empty()) return;
  // Only the block: the clipboard's text is replaced, as the pages are what was copied.
  const std::string block = EncodeNodeBlock(pages);
  if (block.empty()) {
    m_window.ShowStatusMessage(texts::NodeBlockTooLarge());
    return;
  }
  auto* data = new QMimeData;
  data->setData(kNodeDataMime, QByteArray(block.data(), static_cast<qsizetype>(block.size())));
  QApplication::clipboard()->setMimeData(data);
}

void TClipboardCommands::PastePages() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (!data || !data->hasFormat(kNodeDataMime)) return;
  const QByteArray bytes = data->data(kNodeDataMime);
  const auto entries = DecodeNodeBlock(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (!entries) {
    // Any program can put this format on the clipboard: say why nothing came.
    m_window.ShowStatusMessage(texts::DamagedNodeBlock());
    return;
  }
  if (entries->empty()) return;
  TTreeNode* selected = m_window.SelectedPage();
  // A paste inside a cut subtree would be removed with it: refused.
  if (selected && IsInsideCut(selected)) return;
  TOutlineTree& tree = m_window.Tree();
  PasteEntries(tree, selected, *entries, m_window.FormatOptions());
  RemoveCutPages(tree);
  m_window.Document().DocModified = true;
}

void TClipboardCommands::tvnuvDragDrop(TTreeNode* target, TDropSpot spot) {
  TTreeNode* dragged = m_window.SelectedPage();
  if (DropPage(m_window.Tree(), dragged, target, spot)) {
    m_window.Document().DocModified = true;
    m_window.SelectPage(dragged);
  }
}

}  // namespace nuv
