// Copying caret options as one change.
#include "editor/EditorOptions.h"

namespace nuv {

void TEditorCaret::Assign(const TEditorCaret& s) {
  BeginUpdate();
  TNotifyEvent saved = OnChange;
  *this = s;  // values only; the callback stays ours
  OnChange = saved;
  EndUpdate();
}

}  // namespace nuv
