// Find and replace in the window: the find box, the find dialog over a range
// of pages with its result list, find next and previous through the listed
// pages, replace and query-replace, and taking a replace across pages back.
#pragma once

#include <QObject>
#include <string>

#include "search/FindWalker.h"
#include "search/ReplaceUndo.h"
#include "search/ReplaceWalk.h"

class QAction;
class QTreeWidgetItem;

namespace nuv {

class IWindowServices;

class TFindCommands : public QObject, private IFindHost, private IReplaceHost {
  Q_OBJECT
 public:
  explicit TFindCommands(IWindowServices& window, QObject* parent = nullptr);

  QAction* acFind;
  QAction* acFindD;
  QAction* acFindU;
  QAction* acFindCancel;
  QAction* acReplace;

  void acFindExecute();
  void acFindDExecute();
  void acFindUExecute();
  void acFindCancelExecute();
  void acReplaceExecute();

  // Fills the find box from the find history after the session was read.
  void HistoryLoaded();

  // Whether the last replace changed several pages and may still be taken back.
  bool CanUndoReplace() const;
  // Takes the last replace across pages back as one step; false when a page
  // changed since, and nothing is done.
  bool UndoReplace();

 private:
  // IFindHost and IReplaceHost
  IPageEditor& Editor() override;
  std::string FindBoxText() const override;
  int ListCount() const override;
  int SelectedListRow() const override;
  bool ShowListRow(int row) override;
  void ShowFound() override;
  void ShowNotFound() override;
  void ShowPage(TTreeNode* page) override;
  bool CanChangeBodyDirectly(const TTreeNode& page) const override;
  TQueryAnswer AskReplace() override;
  void ShowCount(int count) override;

  void FindBoxEdited();
  void RowChosen(QTreeWidgetItem* item);
  void SetFindBoxText(const std::string& sjis);
  void PushFindHistory(const std::string& sjis);
  // Runs a command so that a bad pattern ends it with the engine's message.
  template <typename F>
  void Guard(F&& command);

  IWindowServices& m_window;
  TFindWalker m_walker;
  TReplaceUndo m_replaceUndo;
  bool m_busy = false;  // a find-all or replace is running
};

}  // namespace nuv
