// The page commands.
#include "app/PageCommandsController.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCollator>
#include <QLineEdit>
#include <QMimeData>
#include <QTreeWidget>

#include "app/Actions.h"
#include "app/AppTexts.h"
#include "app/OutlineView.h"
#include "app/QtText.h"
#include "app/WindowServices.h"
#include "base/FixedText.h"
#include "base/Prompts.h"
#include "config/NuvConfig.h"
#include "config/OutlineSettings.h"
#include "outline/DocumentState.h"
#include "outline/FormatOptions.h"
#include "outline/OutlineTree.h"
#include "outline/PageCommands.h"
#include "outline/PageEditor.h"
#include "outline/PageSwitch.h"
#include "outline/TrashRules.h"

namespace nuv {

namespace texts {
NUV_FIXED_TEXT(AskDeletePage, "ノードを削除してよろしいですか？")
NUV_FIXED_TEXT(NothingToJoin, "結合するノードが存在しません。")
}  // namespace texts

namespace {
constexpr int kRenameTimerMs = 100;

std::vector<TNodeId> SelectedIds(QTreeWidget* list) {
  std::vector<TNodeId> ids;
  for (QTreeWidgetItem* item : list->selectedItems()) ids.push_back(item->data(0, Qt::UserRole).toULongLong());
  return ids;
}
}  // namespace

TPageCommands::TPageCommands(IWindowServices& window, QObject* parent) : QObject(parent), m_window(window) {
  acNewNodeU = MakeAction(this, "acNewNodeU", QStringLiteral("上に追加(&P)"), QKeySequence(Qt::CTRL | Qt::Key_I));
  acNewNodeD = MakeAction(this, "acNewNodeD", QStringLiteral("下に追加(&N)"), QKeySequence(Qt::CTRL | Qt::Key_K));
  acNewCNode = MakeAction(this, "acNewCNode", QStringLiteral("下の階層に追加(&C)"), QKeySequence(Qt::CTRL | Qt::Key_L));
  acNewNodeC = MakeAction(this, "acNewNodeC", QStringLiteral("クリップボードから追加(&L)"),
                          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_V));
  acDelNode = MakeAction(this, "acDelNode", QStringLiteral("削除(&D)"), QKeySequence(Qt::CTRL | Qt::Key_D));
  acNodeLeft = MakeAction(this, "acNodeLeft", QStringLiteral("階層を上げる(&L)"), QKeySequence(Qt::ALT | Qt::Key_Left));
  acNodeRight = MakeAction(this, "acNodeRight", QStringLiteral("階層を下げる(&R)"), QKeySequence(Qt::ALT | Qt::Key_Right));
  acNodeUp = MakeAction(this, "acNodeUp", QStringLiteral("上へ移動(&U)"), QKeySequence(Qt::ALT | Qt::Key_Up));
  acNodeDown = MakeAction(this, "acNodeDown", QStringLiteral("下へ移動(&D)"), QKeySequence(Qt::ALT | Qt::Key_Down));
  acFullExpand = MakeAction(this, "acFullExpand", QStringLiteral("ノードをすべて展開(&E)"));
  acFullCollapse = MakeAction(this, "acFullCollapse", QStringLiteral("ノードをすべて閉じる(&C)"));
  acEditNodeText = MakeAction(this, "acEditNodeText", QString(), QKeySequence(Qt::Key_F2));
  acUseTrash = MakeAction(this, "acUseTrash", QStringLiteral("ごみ箱を使う(&T)"), QKeySequence(), true);
  miTreeSortChild = MakeAction(this, "miTreeSortChild", QStringLiteral("１つ下の階層をソート(&S)"));
  miJoinNode = MakeAction(this, "miJoinNode", QStringLiteral("下のノードを結合する(&J)"));
  miDivideNote = MakeAction(this, "miDivideNote", QStringLiteral("ページを分割する"));

  const std::pair<QAction*, void (TPageCommands::*)()> handlers[] = {
      {acNewNodeU, &TPageCommands::acNewNodeUExecute},   {acNewNodeD, &TPageCommands::acNewNodeDExecute},
      {acNewCNode, &TPageCommands::acNewCNodeExecute},   {acNewNodeC, &TPageCommands::acNewNodeCExecute},
      {acDelNode, &TPageCommands::acDelNodeExecute},     {acNodeLeft, &TPageCommands::acNodeLeftExecute},
      {acNodeRight, &TPageCommands::acNodeRightExecute}, {acNodeUp, &TPageCommands::acNodeUpExecute},
      {acNodeDown, &TPageCommands::acNodeDownExecute},   {miTreeSortChild, &TPageCommands::miTreeSortChildExecute},
      {miJoinNode, &TPageCommands::miJoinNodeExecute},   {miDivideNote, &TPageCommands::miDivideNoteExecute},
  };
  for (const auto& [action, handler] : handlers) {
    connect(action, &QAction::triggered, this, [this, action = action, handler = handler] {
      // An action run while disabled does nothing, so stale shortcuts are harmless.
      Update();
      if (action->isEnabled()) (this->*handler)();
      m_window.UpdateActions();
    });
  }
  connect(acFullExpand, &QAction::triggered, this, [this] {
    m_window.Tree().FullExpand();
    if (m_window.Config().AlwaysSave) m_window.Document().ViewDirty = true;
  });
  connect(acFullCollapse, &QAction::triggered, this, [this] {
    m_window.Tree().FullCollapse();
    if (m_window.Config().AlwaysSave) m_window.Document().ViewDirty = true;
  });
  connect(acEditNodeText, &QAction::triggered, this, [this] {
    if (m_window.FocusArea() == TFocusArea::Tree) m_window.TreeView()->EditCurrent();
  });
  connect(acUseTrash, &QAction::toggled, this, [this](bool on) { m_window.Config().UseTrash = on; });
  m_renameTimer.setInterval(kRenameTimerMs);
  connect(&m_renameTimer, &QTimer::timeout, this, [this] {
    if (m_window.TreeView()->IsEditing()) return;
    m_renameTimer.stop();
    if (m_copy && m_copy->shortcut().isEmpty()) RestoreClipboardShortcuts();
  });
}

void TPageCommands::Update() {
  const TTreeNode* page = m_window.SelectedPage();
  const TFocusArea focus = m_window.FocusArea();
  if (focus == TFocusArea::ChildrenList)
    acDelNode->setEnabled(!m_window.ChildrenList()->selectedItems().isEmpty());
  else if (focus == TFocusArea::SearchList)
    acDelNode->setEnabled(!m_window.SearchList()->selectedItems().isEmpty());
  else
    acDelNode->setEnabled(true);
  acNodeLeft->setEnabled(CanOutdent(page));
  acNodeRight->setEnabled(CanIndent(page));
  acNodeUp->setEnabled(CanMoveUp(page));
  acNodeDown->setEnabled(CanMoveDown(page));
  const QMimeData* clip = QApplication::clipboard()->mimeData();
  acNewNodeC->setEnabled(clip && clip->hasText());
  const QSignalBlocker block(acUseTrash);
  acUseTrash->setChecked(m_window.Config().UseTrash);
}

void TPageCommands::acNewNodeUExecute() { m_window.NewPageSetup(AddPageAbove(m_window.Tree(), m_window.SelectedPage())); }

void TPageCommands::acNewNodeDExecute() { m_window.NewPageSetup(AddPageBelow(m_window.Tree(), m_window.SelectedPage())); }

void TPageCommands::acNewCNodeExecute() {
  TTreeNode* selected = m_window.SelectedPage();
  TTreeNode* page = AddChildPage(m_window.Tree(), selected, m_window.TopVisiblePage());
  if (selected) m_window.Tree().Expand(selected);
  m_window.NewPageSetup(page);
}

void TPageCommands::acNewNodeCExecute() {
  const auto text = ToSjis(QApplication::clipboard()->text());
  if (!text) {
    m_window.Prompts().Error(texts::CannotEncode());
    return;
  }
  AddPageFromText(*text);
}

TTreeNode* TPageCommands::AddPageFromText(const std::string& text) {
  TTreeNode* page = AddPageBelow(m_window.Tree(), m_window.SelectedPage());
  m_window.NewPageSetup(page, false);
  m_window.Editor().InsertAtCaret(text);
  // The title box still holds "無題": the text's first line becomes the title.
  m_window.PageSwitch().StorePage(page, true);
  return page;
}

void TPageCommands::acDelNodeExecute() {
  if (m_window.Config().AskDelNode && !m_window.Prompts().Question(texts::AskDeletePage())) return;
  TOutlineTree& tree = m_window.Tree();
  const TDeleteSettings settings = DeleteSettingsOf(m_window.Config());
  const TFocusArea focus = m_window.FocusArea();
  TTreeNode* next = nullptr;
  if (focus == TFocusArea::ChildrenList || focus == TFocusArea::SearchList) {
    QTreeWidget* list = focus == TFocusArea::ChildrenList ? m_window.ChildrenList() : m_window.SearchList();
    next = DeleteListedPages(tree, SelectedIds(list), settings);
    if (!m_window.SelectedPage()) m_window.SelectPage(next);
    m_window.FillChildrenList(m_window.SelectedPage());
  } else {
    next = DeleteSelectedPage(tree, m_window.SelectedPage(), settings);
    m_window.SelectPage(next);
  }
  m_window.Document().DocModified = true;
  if (!tree.GetFirstNode()) {
    m_window.SelectPage(nullptr);
    m_window.NewPageSetup(AddPageAbove(tree, nullptr));
  }
}

void TPageCommands::Moved() {
  m_window.Document().DocModified = true;
  if (TTreeNode* page = m_window.SelectedPage()) {
    if (TTreeNode* parent = page->Parent()) m_window.Tree().Expand(parent);
    m_window.SelectPage(page);
  }
}

void TPageCommands::acNodeLeftExecute() {
  Outdent(m_window.Tree(), m_window.SelectedPage());
  Moved();
}

void TPageCommands::acNodeRightExecute() {
  Indent(m_window.Tree(), m_window.SelectedPage());
  Moved();
}

void TPageCommands::acNodeUpExecute() {
  MoveUp(m_window.Tree(), m_window.SelectedPage());
  Moved();
}

void TPageCommands::acNodeDownExecute() {
  MoveDown(m_window.Tree(), m_window.SelectedPage());
  Moved();
}

void TPageCommands::miTreeSortChildExecute() {
  TTreeNode* page = m_window.SelectedPage();
  if (!page) return;
  QCollator collator(QLocale(QLocale::Japanese, QLocale::Japan));
  collator.setCaseSensitivity(Qt::CaseSensitive);
  m_window.Tree().SortChildren(page, [&collator](const std::string& a, const std::string& b) {
    return collator.compare(ToQString(a), ToQString(b));
  });
  m_window.Document().DocModified = true;
}

void TPageCommands::miJoinNodeExecute() {
  TTreeNode* page = m_window.SelectedPage();
  if (!page) return;
  const TJoinResult r = JoinWithNext(m_window.Tree(), page, m_window.Editor().Text());
  if (!r.joined) {
    m_window.Prompts().Info(texts::NothingToJoin());
    return;
  }
  m_window.Editor().SetText(r.text);
  m_window.Editor().SetModified(true);
  m_window.Document().DocModified = true;
}

void TPageCommands::miDivideNoteExecute() {
  IPageEditor& editor = m_window.Editor();
  const std::string text = editor.Text();
  const int caret = std::clamp(editor.SelStart(), 0, static_cast<int>(text.size()));
  const std::string taken = text.substr(static_cast<std::size_t>(caret));
  editor.SetSelection(caret, static_cast<int>(taken.size()));
  editor.InsertAtCaret(std::string_view());
  TTreeNode* page = AddPageBelow(m_window.Tree(), m_window.SelectedPage());
  m_window.NewPageSetup(page, false);
  editor.InsertAtCaret(taken);
  m_window.PageSwitch().StorePage(page, true);
}

void TPageCommands::SetClipboardActions(QAction* cut, QAction* copy, QAction* paste) {
  m_cut = cut;
  m_copy = copy;
  m_paste = paste;
}

bool TPageCommands::ClipboardShortcutsReleased() const { return m_copy && m_copy->shortcut().isEmpty(); }

void TPageCommands::tvnuvEditing() {
  // The edit box needs Ctrl+C, Ctrl+X and Ctrl+V for itself.
  for (QAction* a : {m_cut, m_copy, m_paste})
    if (a) a->setShortcut(QKeySequence());
  m_renameTimer.start();
}

void TPageCommands::RestoreClipboardShortcuts() {
  if (m_cut) m_cut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
  if (m_copy) m_copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  if (m_paste) m_paste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
}

void TPageCommands::tvnuvEdited(TTreeNode* page, const QString& title) {
  m_renameTimer.stop();
  if (!ToSjis(title)) {
    m_window.Prompts().Error(texts::CannotEncode());
  } else if (page == m_window.SelectedPage()) {
    // The title box copies the title to the page and marks the document.
    m_window.TitleBox()->setText(title);
  }
  RestoreClipboardShortcuts();
  if (m_window.ListPaneVisible()) m_window.FillChildrenList(m_window.SelectedPage());
}

}  // namespace nuv
