// The page commands of the tree: adding, deleting, moving, sorting, joining,
// dividing, expanding and renaming pages.
#pragma once

#include <QObject>
#include <QTimer>
#include <string>

class QAction;

namespace nuv {

class IWindowServices;
class TTreeNode;

class TPageCommands : public QObject {
  Q_OBJECT
 public:
  explicit TPageCommands(IWindowServices& window, QObject* parent = nullptr);

  QAction* acNewNodeU;
  QAction* acNewNodeD;
  QAction* acNewCNode;
  QAction* acNewNodeC;
  QAction* acDelNode;
  QAction* acNodeLeft;
  QAction* acNodeRight;
  QAction* acNodeUp;
  QAction* acNodeDown;
  QAction* acFullExpand;
  QAction* acFullCollapse;
  QAction* acEditNodeText;
  QAction* acUseTrash;
  QAction* miTreeSortChild;
  QAction* miJoinNode;
  QAction* miDivideNote;

  void acNewNodeUExecute();
  void acNewNodeDExecute();
  void acNewCNodeExecute();
  void acNewNodeCExecute();
  // Adds a page below the selected one holding a text (Shift JIS), titled
  // with its first line, as the add-from-clipboard command does.
  TTreeNode* AddPageFromText(const std::string& text);
  void acDelNodeExecute();
  void acNodeLeftExecute();
  void acNodeRightExecute();
  void acNodeUpExecute();
  void acNodeDownExecute();
  void miTreeSortChildExecute();
  void miJoinNodeExecute();
  void miDivideNoteExecute();
  void Update();

  // In-place renaming: the clipboard shortcuts step aside while the edit box is open.
  void tvnuvEditing();
  void tvnuvEdited(TTreeNode* page, const QString& title);
  // The shortcuts the rename takes away, handed in by the clipboard commands.
  void SetClipboardActions(QAction* cut, QAction* copy, QAction* paste);
  bool ClipboardShortcutsReleased() const;

 private:
  void RestoreClipboardShortcuts();
  void Moved();

  IWindowServices& m_window;
  QTimer m_renameTimer;
  QAction* m_cut = nullptr;
  QAction* m_copy = nullptr;
  QAction* m_paste = nullptr;
};

}  // namespace nuv
