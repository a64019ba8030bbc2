// Auto-clipping over the system clipboard: every change notice goes to the
// core's decider, and each text it accepts is handed to the window, at once
// or, when the window was busy, as soon as it is idle again.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

#include "outline/ClipDecider.h"

namespace nuv {

class TClipWatcher : public QObject {
  Q_OBJECT

 public:
  // `busy` says whether the window cannot take a new page now (a dialog, a
  // title edit, a macro, a tool wait).
  explicit TClipWatcher(std::function<bool()> busy, QObject* parent = nullptr);

  bool Listening() const { return m_decider.Listening(); }
  // On: the text already on the clipboard never becomes a page.
  void SetListening(bool listening);

 signals:
  // A text (Shift JIS) that should become a new page.
  void ClipText(const std::string& text);

 private:
  void ClipboardChanged();
  void DeliverQueued();

  std::function<bool()> m_busy;
  TClipDecider m_decider;
  QElapsedTimer m_clock;
  QTimer m_idle;  // while texts wait for the window, asks again every 200 ms
};

}  // namespace nuv
