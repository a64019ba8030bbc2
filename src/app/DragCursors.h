// The three drag cursors, drawn by the program: a page over a row (insert
// before), over a title (make a child) and over empty space (append at the end).
#pragma once

#include <QCursor>

namespace nuv {

struct TDragCursors {
  TDragCursors();
  QCursor onRow;      // cursor slot 2
  QCursor onTitle;    // cursor slot 3
  QCursor onNothing;  // cursor slot 4
};

}  // namespace nuv
