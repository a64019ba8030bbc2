// Carrying the settings store into an editor and back: the view options, the
// colours, the highlight brackets, and the colours read back for the settings
// dialog. GUI-free: it sets the core's option objects, which the widget paints.
#pragma once

#include "config/NuvConfig.h"

namespace nuv {

class TEditor;
class TEditorFountain;
class TEditorViewOptions;

// What the settings reach: the core (caret, margins, wrapping), the view
// options and the view's own fountain (colours and brackets).
struct TEditorSettingsTarget {
  TEditor& editor;
  TEditorViewOptions& view;
  TEditorFountain& fountain;
};

// The EditView keys, in the order of the settings table.
void ApplyView(const TnuvConfig& config, TEditorSettingsTarget target);
// The EditColors keys; the symbol colours follow the single-byte colours.
void ApplyColors(const TnuvConfig& config, TEditorSettingsTarget target);
// One bracket per slot whose begin and end texts are both set, in slot order.
void ApplyBrackets(const TnuvConfig& config, TEditorFountain& fountain);
// The inverse of ApplyColors (without the symbol colours).
void ReadColorsBack(TnuvConfig& config, TEditorSettingsTarget target);

}  // namespace nuv
