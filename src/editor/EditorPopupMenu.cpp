// The popup menu's items and their enabled rules, and what each item does.
#include "editor/EditorPopupMenu.h"

#include "editor/EditorTexts.h"

namespace nuv {

namespace {

TEditorPopupItem Item(const std::string& caption, const char* shortCut, TEditorCommand command, bool enabled) {
  TEditorPopupItem item;
  item.Caption = caption;
  item.ShortCut = shortCut;
  item.Command = command;
  item.Enabled = enabled;
  return item;
}

TEditorPopupItem Separator() {
  TEditorPopupItem item;
  item.Separator = true;
  return item;
}

}  // namespace

std::vector<TEditorPopupItem> TEditorPopupMenu::Items(const TEditor& editor) {
  const bool writable = !editor.ReadOnly();
  const bool selected = editor.Selected();
  const bool paste = editor.CanPaste();
  std::vector<TEditorPopupItem> items;
  items.push_back(Item(texts::EditorUndo(), "Ctrl+Z", TEditorCommand::Undo, writable && editor.CanUndo()));
  items.push_back(Item(texts::EditorRedo(), "Ctrl+A", TEditorCommand::Redo, writable && editor.CanRedo()));
  items.push_back(Separator());
  items.push_back(Item(texts::EditorCut(), "Ctrl+X", TEditorCommand::Cut, writable && selected));
  items.push_back(Item(texts::EditorCopy(), "Ctrl+C", TEditorCommand::Copy, selected));
  items.push_back(Item(texts::EditorPaste(), "Ctrl+V", TEditorCommand::Paste, paste));
  items.push_back(Item(texts::EditorBoxPaste(), "Ctrl+B", TEditorCommand::BoxPaste, paste));
  items.push_back(Item(texts::EditorDelete(), "", TEditorCommand::Delete, writable && selected));
  items.push_back(Separator());
  items.push_back(Item(texts::EditorSelectAll(), "", TEditorCommand::SelectAll, editor.GetTextLen() > 0));
  items.push_back(Separator());
  TEditorPopupItem box = Item(texts::EditorBoxMode(), "Ctrl+K", TEditorCommand::BoxMode, true);
  box.Checked = editor.SelectionMode() == smBox;
  items.push_back(box);
  items.push_back(Separator());
  // Ten marks to toggle on the caret row and ten to jump to; a mark in use is ticked.
  const TRowMarks used = editor.List().ValidRowMarks();
  TEditorPopupItem set = Item(texts::EditorMarkSet(), "", TEditorCommand::None, true);
  TEditorPopupItem jump = Item(texts::EditorMarkJump(), "", TEditorCommand::None, true);
  for (int n = 0; n <= 9; ++n) {
    const std::string digit(1, static_cast<char>('0' + n));
    TEditorPopupItem s = Item("Shift+Ctrl+" + digit, "", TEditorCommand::ToggleRowMark, true);
    TEditorPopupItem j = Item("Ctrl+" + digit, "", TEditorCommand::GotoRowMark, true);
    s.Mark = j.Mark = n;
    s.Checked = j.Checked = used.Has(static_cast<TRowMark>(n));
    set.Items.push_back(s);
    jump.Items.push_back(j);
  }
  items.push_back(set);
  items.push_back(jump);
  return items;
}

void TEditorPopupMenu::Execute(TEditor& editor, const TEditorPopupItem& item) {
  if (!item.Enabled) return;
  switch (item.Command) {
    case TEditorCommand::Undo: editor.Undo(); break;
    case TEditorCommand::Redo: editor.Redo(); break;
    case TEditorCommand::Cut: editor.CutToClipboard(); break;
    case TEditorCommand::Copy: editor.CopyToClipboard(); break;
    case TEditorCommand::Paste: editor.PasteFromClipboard(); break;
    case TEditorCommand::BoxPaste: editor.PasteBoxFromClipboard(); break;
    case TEditorCommand::Delete: editor.ClearSelection(); break;
    case TEditorCommand::SelectAll: editor.SelectAll(); break;
    case TEditorCommand::BoxMode:
      editor.SetSelectionMode(editor.SelectionMode() == smBox ? smLine : smBox);
      break;
    case TEditorCommand::ToggleRowMark: {
      const TRowMark mark = static_cast<TRowMark>(item.Mark);
      if (editor.GetListRowMarks(editor.Row()).Has(mark)) {
        editor.DeleteRowMark(editor.Row(), mark);
      } else {
        editor.PutRowMark(editor.Row(), mark);
      }
      break;
    }
    case TEditorCommand::GotoRowMark: editor.GotoRowMark(static_cast<TRowMark>(item.Mark)); break;
    case TEditorCommand::None: break;
  }
}

}  // namespace nuv
