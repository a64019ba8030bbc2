// The selection's vocabulary: modes, states, hit styles, mouse cursor states
// and the selected range in its two forms.
#pragma once

namespace nuv {

enum TEditorSelectionMode { smLine = 0, smBox = 1 };

// sstInit: the anchor is set and nothing is selected yet; sstHitSelected: a
// search hit shown like a selection, removed by the next move or edit.
enum TEditorSelectionState { sstNone = 0, sstInit = 1, sstSelected = 2, sstHitSelected = 3 };

enum TEditorSelDragState { sdNone, sdInit, sdDragging };

// How a search hit is shown: as a selection, as a hit-coloured selection, or
// as a block caret over the hit.
enum TEditorHitStyle { hsSelect = 0, hsDraw = 1, hsCaret = 2 };

enum TEditorMouseCursorState { mcClient, mcLeftMargin, mcTopMargin, mcInSel, mcDragging, mcDraggingCopy };

// A selected range. In display columns (what is drawn) the end column is
// exclusive; in byte indices (what is cut or copied) EndCol is the index of
// the last selected byte of the end row, -1 when nothing of it is selected.
struct TSelectedPosition {
  int StartRow = 0;
  int EndRow = 0;
  int StartCol = 0;
  int EndCol = 0;
  bool operator==(const TSelectedPosition&) const = default;
};

}  // namespace nuv
