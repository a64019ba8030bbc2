// The macro host's dialogs, clipboard and message loop over Qt.
#pragma once

#include <QPointer>
#include <QWidget>

#include "macro/MacroHost.h"
#include "macro/MacroPlatform.h"

namespace nuv {

// Modal input and message boxes over the window.
class TQtMacroDialogs : public IMacroDialogs {
 public:
  explicit TQtMacroDialogs(QWidget* parent) : m_parent(parent) {}
  // Text Shift JIS cannot hold is refused with the error box and asked again.
  TInputBoxResult InputBox(const std::string& caption, const std::string& prompt, std::string& value) override;
  int MessageBox(const std::string& text, const std::string& caption, int flags) override;

 private:
  QPointer<QWidget> m_parent;
};

// The system clipboard as Shift JIS. Text goes out as Unicode and as the raw
// bytes, so copies inside nuv lose nothing; text from elsewhere that Shift
// JIS cannot hold reads as empty rather than with substitutes.
class TQtMacroClipboard : public IMacroClipboard {
 public:
  std::string Text() const override;
  void SetText(const std::string& text) override;
};

// Pending events are handled between statements; a wait sleeps in an event
// loop until its time is up, so the window answers and the process idles.
class TQtMacroMessageLoop : public IMacroMessageLoop {
 public:
  void ProcessMessages() override;
  void Wait(int ms) override;
};

}  // namespace nuv
