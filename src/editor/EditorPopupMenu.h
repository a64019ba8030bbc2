// The editor's own popup menu as data: its items in order with captions,
// shortcuts and enabled and ticked states computed from an editor, and the
// command of each item. A widget shows the items and calls Execute.
#pragma once

#include <string>
#include <vector>

#include "editor/Editor.h"

namespace nuv {

enum class TEditorCommand {
  None, Undo, Redo, Cut, Copy, Paste, BoxPaste, Delete, SelectAll, BoxMode, ToggleRowMark, GotoRowMark,
};

struct TEditorPopupItem {
  std::string Caption;   // Shift JIS
  std::string ShortCut;  // "Ctrl+Z"; empty for none
  TEditorCommand Command = TEditorCommand::None;
  int Mark = -1;  // row mark of ToggleRowMark and GotoRowMark
  bool Enabled = true;
  bool Checked = false;
  bool Separator = false;
  std::vector<TEditorPopupItem> Items;  // a submenu
};

class TEditorPopupMenu {
 public:
  // The items as they stand for `editor` right before the menu opens.
  static std::vector<TEditorPopupItem> Items(const TEditor& editor);
  static void Execute(TEditor& editor, const TEditorPopupItem& item);
};

}  // namespace nuv
