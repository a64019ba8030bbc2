// Links and the back and forward history in the window: following the link
// under the pointer, copying page and line links, inserting file, folder and
// direct links (also from dropped files), the direct-link view and the
// history commands with their menus.
#pragma once

#include <QObject>
#include <QStringList>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "outline/NavigationHistory.h"
#include "outline/PageEditor.h"

class QAction;
class QMenu;

namespace nuv {

class IWindowServices;
class TPageEditorView;
class TTreeNode;

class TLinkCommands : public QObject {
  Q_OBJECT
 public:
  // `droppedFiles` is the list of the drop menu's files, read when an item is chosen.
  TLinkCommands(IWindowServices& window, TPageEditorView& editor, const QStringList& droppedFiles,
                QObject* parent = nullptr);

  QAction* miTreeCopyNodeLink;
  QAction* miCopyCurRowLink1;
  QAction* miCopyCurRowLink2;
  QAction* acInsertFileLink;
  QAction* acInsertFileLinkR;
  QAction* acInsertFolderLink;
  QAction* acInsertDirectLink;
  QAction* acInsertDirectLinkR;
  QAction* miDropInsertLink;
  QAction* miDropInsertLinkR;
  QAction* miDropInsDirectLink;
  QAction* miDropInsDirectLinkR;
  QAction* miDirectLink;
  QAction* acBack;
  QAction* acForward;
  QMenu* pmNodeBack;
  QMenu* pmNodeForward;

  // Follows the link token under a point of the editor.
  void FollowLinkAt(TPagePoint point);
  // Whether a point of the editor lies on a link that following acts on.
  bool IsLinkAt(TPagePoint point) const;

  void miTreeCopyNodeLinkExecute();
  // "項目内" without the page's title, "項目外" with it.
  void CopyCurRowLink(bool withTitle);
  void InsertFileLinks(bool relative);
  void acInsertFolderLinkExecute();
  void InsertDirectLink(bool relative);
  void DropInsertLinks(bool relative);
  void DropInsertDirectLinks(bool relative);
  void miDirectLinkExecute();
  // Item k of the back or forward menu; the commands are item 0.
  void JumpBack(std::size_t k);
  void JumpForward(std::size_t k);

  // The page switch left a page for another one.
  void PageLeft(const TTreeNode* page);
  // New and open: both lists empty.
  void ClearHistory();
  // Pages were removed for good: their entries go.
  void PagesRemoved();
  const TNavigationHistory& History() const { return m_history; }

 private:
  void Follow(const std::string& token);
  // Puts a link on the clipboard, or says why the name makes none.
  void CopyLink(const std::optional<std::string>& link, const std::string& refusal);
  // Each link and a line break at the caret, the caret one row further down after each.
  void InsertLinkLines(const std::vector<std::string>& links);
  // Native paths as file links ("<file@" path ">", or file URLs); the ones
  // that make no link are refused with one message.
  std::vector<std::string> FileLinks(const QStringList& files, bool relative, bool asUrl);
  // Makes `page` (the shown page) a direct link to a file and shows the file.
  bool SetDirectLink(TTreeNode* page, const std::string& nativePath, bool relative);
  // The question before the body is replaced by a direct link; true to go on.
  bool MayReplaceBody();
  void HistoryChanged();
  void FillHistoryMenu(QMenu* menu, bool back);
  // The document's file, empty for a new document; and the folder dialogs start in.
  std::string DocumentFile() const;
  std::string DocumentFolder() const;
  template <typename F>
  void Guard(F&& command);

  IWindowServices& m_window;
  TPageEditorView& m_editor;
  const QStringList& m_dropped;
  TNavigationHistory m_history;
};

}  // namespace nuv
