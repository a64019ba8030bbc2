// The hourglass while a document is read or written.
#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace nuv {

// Shows the wait cursor for its lifetime. Release it before a message box,
// so the box is not shown under an hourglass.
class TWaitCursor {
 public:
  TWaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
  ~TWaitCursor() { Release(); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;
  void Release() {
    if (m_shown) QGuiApplication::restoreOverrideCursor();
    m_shown = false;
  }

 private:
  bool m_shown = true;
};

}  // namespace nuv
