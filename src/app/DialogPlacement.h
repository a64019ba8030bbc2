// Placing a dialog centred on the main window, inside the screen's work area.
#pragma once

#include <QRect>

class QWidget;

namespace nuv {

// The dialog's top-left corner: centred on `main` (halves rounded toward
// zero), moved left or up to stay inside `workArea`, never negative.
QPoint CenteredPosition(const QRect& main, const QSize& dialog, const QRect& workArea);
void CenterOnMainWindow(QWidget* dialog, const QWidget* main);

}  // namespace nuv
