// Find and replace in the window.
#include "app/FindController.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTreeWidget>

#include "app/Actions.h"
#include "app/DialogPlacement.h"
#include "app/FindDialogs.h"
#include "app/PageRows.h"
#include "app/QtText.h"
#include "app/SessionState.h"
#include "app/WaitCursor.h"
#include "app/WindowServices.h"
#include "base/Error.h"
#include "base/ScopedFlag.h"
#include "base/FixedText.h"
#include "base/Prompts.h"
#include "config/OutlineSettings.h"
#include "outline/DocumentState.h"
#include "outline/NodeData.h"
#include "outline/OutlineTexts.h"
#include "outline/OutlineTree.h"
#include "outline/PageSwitch.h"
#include "search/EditorMatcher.h"
#include "search/PageFind.h"

namespace nuv {

namespace texts {
NUV_FIXED_TEXT(NotFound, "文字列が見つかりません。")
NUV_FIXED_TEXT(ReplacedCount, " 件置換しました。")
NUV_FIXED_TEXT(LinkedFileUnreadable, "リンク先のファイルを読み込めません: ")
}  // namespace texts

TFindCommands::TFindCommands(IWindowServices& window, QObject* parent) : QObject(parent), m_window(window) {
  acFind = MakeAction(this, "acFind", QStringLiteral("検索(&F)"), QKeySequence(Qt::CTRL | Qt::Key_F));
  acFindD = MakeAction(this, "acFindD", QStringLiteral("次を検索(&S)"), QKeySequence(Qt::Key_F3));
  acFindU = MakeAction(this, "acFindU", QStringLiteral("前を検索"), QKeySequence(Qt::SHIFT | Qt::Key_F3));
  acFindCancel = MakeAction(this, "acFindCancel", QStringLiteral("強調解除"));
  acReplace = MakeAction(this, "acReplace", QStringLiteral("置換(&R)..."), QKeySequence(Qt::CTRL | Qt::Key_R));
  for (QAction* a : {acFindD, acFindU, acFindCancel}) a->setEnabled(false);
  const std::pair<QAction*, void (TFindCommands::*)()> handlers[] = {
      {acFind, &TFindCommands::acFindExecute},           {acFindD, &TFindCommands::acFindDExecute},
      {acFindU, &TFindCommands::acFindUExecute},         {acFindCancel, &TFindCommands::acFindCancelExecute},
      {acReplace, &TFindCommands::acReplaceExecute},
  };
  for (const auto& [action, handler] : handlers) {
    connect(action, &QAction::triggered, this, [this, action = action, handler = handler] {
      if (action->isEnabled() && !m_busy) Guard([&] { (this->*handler)(); });
      m_window.UpdateActions();
    });
  }
  QMenu* menu = m_window.Menu(TMenuSlot::Find);
  for (QAction* a : {acFind, acFindD, acFindU, acFindCancel}) menu->addAction(a);
  menu->addSeparator();
  menu->addAction(acReplace);

  QComboBox* box = m_window.FindBox();
  connect(box, &QComboBox::editTextChanged, this, [this] { FindBoxEdited(); });
  connect(box->lineEdit(), &QLineEdit::returnPressed, acFindD, &QAction::trigger);

  QTreeWidget* list = m_window.SearchList();
  connect(list, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { RowChosen(item); });
  connect(list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { RowChosen(item); });
}

template <typename F>
void TFindCommands::Guard(F&& command) {
  try {
    command();
  } catch (const ENuvError& e) {
    m_window.Prompts().Error(e.Message());
  }
}

// ---- the find box and the result list

void TFindCommands::FindBoxEdited() {
  m_walker.FindBoxEdited();
  acFindU->setEnabled(false);
  acFindD->setEnabled(!m_window.FindBox()->currentText().isEmpty());
}

void TFindCommands::HistoryLoaded() {
  QComboBox* box = m_window.FindBox();
  const QSignalBlocker block(box);
  box->clear();
  for (const std::string& text : m_window.Session().FindHistory) box->addItem(ToQString(text));
  box->setCurrentText(QString());
}

void TFindCommands::SetFindBoxText(const std::string& sjis) {
  const QSignalBlocker block(m_window.FindBox());
  m_window.FindBox()->setCurrentText(ToQString(sjis));
}

void TFindCommands::PushFindHistory(const std::string& sjis) {
  if (sjis.empty()) return;
  AddToHistory(m_window.Session().FindHistory, sjis, TSessionState::kFindHistoryMax);
  QComboBox* box = m_window.FindBox();
  const QSignalBlocker block(box);
  const QString text = box->currentText();
  box->clear();
  for (const std::string& item : m_window.Session().FindHistory) box->addItem(ToQString(item));
  box->setCurrentText(text);
}

void TFindCommands::RowChosen(QTreeWidgetItem* item) {
  if (!item || m_busy || m_walker.Running()) return;
  TTreeNode* page = m_window.Tree().FindById(item->data(0, Qt::UserRole).toULongLong());
  if (!page) return;
  m_window.SelectPage(page);
  m_walker.RowChosen();
  Guard([&] { acFindDExecute(); });
}

// ---- IFindHost and IReplaceHost

IPageEditor& TFindCommands::Editor() { return m_window.Editor(); }

std::string TFindCommands::FindBoxText() const { return ToSjisOrEmpty(m_window.FindBox()->currentText()); }

int TFindCommands::ListCount() const { return m_window.SearchList()->topLevelItemCount(); }

int TFindCommands::SelectedListRow() const {
  QTreeWidget* list = m_window.SearchList();
  QTreeWidgetItem* current = list->currentItem();
  return current && current->isSelected() ? list->indexOfTopLevelItem(current) : -1;
}

bool TFindCommands::ShowListRow(int row) {
  QTreeWidget* list = m_window.SearchList();
  QTreeWidgetItem* item = list->topLevelItem(row);
  if (!item) return false;
  {
    // Chosen by the walk, not by the user: no search of its own starts here.
    const QSignalBlocker block(list);
    list->clearSelection();
    list->setCurrentItem(item);
    item->setSelected(true);
  }
  TTreeNode* page = m_window.Tree().FindById(item->data(0, Qt::UserRole).toULongLong());
  if (!page) return false;
  m_window.SelectPage(page);
  return true;
}

void TFindCommands::ShowFound() { m_window.ShowStatusMessage(std::string()); }

void TFindCommands::ShowNotFound() { m_window.ShowStatusMessage(texts::NotFound()); }

void TFindCommands::ShowPage(TTreeNode* page) { m_window.SelectPage(page); }

bool TFindCommands::CanChangeBodyDirectly(const TTreeNode& page) const {
  // Such a page shows its linked file, whose text the replace must change.
  const TDocumentState& doc = m_window.Document();
  if (doc.directLinkView && page.Data() && !DirectLinkPath(page.Data()->Body(), doc.path).empty()) return false;
  // Storing such a page takes its title from its first line.
  return page.Text() != texts::Untitled() && !PageSwitchSettingsOf(m_window.Config()).PirkaCompatible;
}

TQueryAnswer TFindCommands::AskReplace() {
  TfmQReplace dialog(m_window.Window());
  const TQueryAnswer answer = dialog.Ask();
  acFindCancel->setEnabled(true);
  return answer;
}

void TFindCommands::ShowCount(int count) {
  m_window.ShowStatusMessage(std::to_string(count) + texts::ReplacedCount());
}

// ---- the commands

void TFindCommands::acFindExecute() {
  TfmFind dialog(m_window.Window(), m_window.Session().FindHistory);
  dialog.cbFind->setCurrentText(m_window.FindBox()->currentText());
  CenterOnMainWindow(&dialog, m_window.Window());
  if (dialog.exec() != QDialog::Accepted) return;
  const std::string pattern = dialog.Pattern();
  const TExSearchOptions options = dialog.options->Options();
  const TFindRange range = dialog.Range();
  const TScopedFlag busy(m_busy);
  const TWaitCursor wait;

  // A bad pattern ends the command before the list is touched.
  TEditorMatcher matcher;
  matcher.SetQuery(pattern, options);
  // The shown page is searched as it stands in the editor.
  m_window.PageSwitch().LeavePage(m_window.SelectedPage());
  QTreeWidget* list = m_window.SearchList();
  std::vector<TNodeId> listed;
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    listed.push_back(list->topLevelItem(i)->data(0, Qt::UserRole).toULongLong());
  const std::vector<TTreeNode*> pages = PagesInRange(m_window.Tree(), m_window.SelectedPage(), range, listed);
  const TFindAllResult result = FindAll(pages, matcher, m_window.Document().path);
  {
    const QSignalBlocker block(list);
    list->setUpdatesEnabled(false);
    list->clear();
    for (TNodeId id : result.pages)
      if (const TTreeNode* page = m_window.Tree().FindById(id)) AddPageRow(list, page, m_window.Pictures());
    list->setUpdatesEnabled(true);
  }

  SetFindBoxText(pattern);
  PushFindHistory(pattern);
  m_walker.ListSearchStarted(options);
  acFindD->setEnabled(true);
  acFindCancel->setEnabled(true);
  if (!result.pages.empty()) {
    m_window.ShowSearchList();
    if (ShowListRow(0)) m_window.Editor().SetSelStart(0);
    list->setFocus();
  }
  m_walker.FindNext(*this);
  if (!result.unreadableLinks.empty())
    m_window.ShowStatusMessage(texts::LinkedFileUnreadable() + result.unreadableLinks.front());
}

void TFindCommands::acFindDExecute() {
  acFindU->setEnabled(true);
  m_walker.FindNext(*this);
  acFindCancel->setEnabled(true);
  PushFindHistory(FindBoxText());
}

void TFindCommands::acFindUExecute() {
  m_walker.FindPrev(*this);
  acFindCancel->setEnabled(true);
}

void TFindCommands::acFindCancelExecute() {
  m_window.Editor().SetFindString(std::string());
  m_walker.Cancelled();
  acFindCancel->setEnabled(false);
}

void TFindCommands::acReplaceExecute() {
  TfmReplace dialog(m_window.Window(), m_window.Session().FindHistory, m_window.Session().ReplaceHistory);
  dialog.cbFind->setCurrentText(m_window.FindBox()->currentText());
  CenterOnMainWindow(&dialog, m_window.Window());
  const int result = dialog.exec();
  if (result != TfmReplace::kReplaceAsking && result != TfmReplace::kReplaceAll) return;
  TReplaceRequest request{dialog.Pattern(), dialog.Replacement(), dialog.options->Options(), dialog.Range(),
                          result == TfmReplace::kReplaceAll};
  const TScopedFlag busy(m_busy);
  {
    // A bad pattern ends the command before any page is touched.
    TEditorMatcher check;
    check.SetQuery(request.pattern, request.options);
  }
  TReplaceWalk walk(m_window.Tree(), *this);
  walk.Run(request, m_window.SelectedPage(), m_replaceUndo);
  PushFindHistory(request.pattern);
  AddToHistory(m_window.Session().ReplaceHistory, request.replacement, TSessionState::kFindHistoryMax);
  if (m_replaceUndo.Empty()) return;
  // Pages changed in their records bring no edit of the editor that would say so.
  m_window.Document().DocModified = true;
  m_window.SetModifiedIndicator(true);
}

bool TFindCommands::CanUndoReplace() const { return m_replaceUndo.PageCount() > 1; }

bool TFindCommands::UndoReplace() {
  if (!CanUndoReplace()) return false;
  TTreeNode* shown = m_window.SelectedPage();
  // The shown page's edits count too: store it before comparing.
  m_window.PageSwitch().LeavePage(shown);
  if (!m_replaceUndo.Undo(m_window.Tree())) {
    m_replaceUndo.Clear();
    return false;
  }
  if (shown) m_window.PageSwitch().ShowPage(shown);
  m_window.Document().DocModified = true;
  return true;
}

}  // namespace nuv
