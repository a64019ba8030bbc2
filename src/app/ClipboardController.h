// Cut, copy, paste, select all, undo and redo, dispatched by the focused
// control; pages travel through the system clipboard as a node block; the
// tree's drops land here too.
#pragma once

#include <QObject>
#include <functional>

#include "outline/TreeDrag.h"

class QAction;

namespace nuv {

class IWindowServices;
class TTreeNode;

// The MIME type of the node block ("nuv Node Data").
inline constexpr const char* kNodeDataMime = "application/x-nuv-node-data";

class TClipboardCommands : public QObject {
  Q_OBJECT
 public:
  explicit TClipboardCommands(IWindowServices& window, QObject* parent = nullptr);

  QAction* acCut;
  QAction* acCopy;
  QAction* acPaste;
  QAction* acSelectAll;
  QAction* acUndo;
  QAction* acRedo;
  QAction* acBoxSelMode;

  void acCutExecute();
  void acCopyExecute();
  void acPasteExecute();
  void acSelectAllExecute();
  void acUndoExecute();
  void acRedoExecute();
  void Update();

  // Puts the selected page's subtree, or the pages of a list's selected items, on the clipboard.
  void CopyPages(bool fromList);
  // Pastes the node block of the clipboard before the selected page.
  void PastePages();
  void tvnuvDragDrop(TTreeNode* target, TDropSpot spot);

  // An undo of the document that goes before the editor's own (a replace
  // across pages); `undo` returns false when it could not be done.
  void SetDocumentUndo(std::function<bool()> canUndo, std::function<bool()> undo) {
    m_canUndoDocument = std::move(canUndo);
    m_undoDocument = std::move(undo);
  }

 private:
  IWindowServices& m_window;
  std::function<bool()> m_canUndoDocument;
  std::function<bool()> m_undoDocument;
};

}  // namespace nuv
