// Centring dialogs on the main window.
#include "app/DialogPlacement.h"

#include <QScreen>
#include <QWidget>

namespace nuv {

QPoint CenteredPosition(const QRect& main, const QSize& dialog, const QRect& workArea) {
  int x = main.left() + (main.width() - dialog.width()) / 2;
  int y = main.top() + (main.height() - dialog.height()) / 2;
  if (x + dialog.width() > workArea.right() + 1) x = workArea.right() + 1 - dialog.width();
  if (y + dialog.height() > workArea.bottom() + 1) y = workArea.bottom() + 1 - dialog.height();
  return QPoint(std::max(x, 0), std::max(y, 0));
}

void CenterOnMainWindow(QWidget* dialog, const QWidget* main) {
  if (!dialog || !main) return;
  dialog->adjustSize();
  const QScreen* screen = main->screen();
  const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1 << 20, 1 << 20);
  dialog->move(CenteredPosition(main->frameGeometry(), dialog->frameSize(), work));
}

}  // namespace nuv
