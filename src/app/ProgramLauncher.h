// Starting another nuv window and handing files to the desktop, behind an
// interface so tests can see what would have been started.
#pragma once

#include <QString>

namespace nuv {

class IProgramLauncher {
 public:
  virtual ~IProgramLauncher() = default;
  // A new nuv process (a new window) on a document.
  virtual void StartNewWindow(const QString& documentPath) = 0;
  // The desktop's "open" of a file's associated program: one absolute path.
  virtual void OpenWithDesktop(const QString& path) = 0;
  // The desktop's "open" of a URL (ASCII, percent-encoded, a known scheme).
  virtual void OpenUrl(const QString& url) = 0;
};

class TQtProgramLauncher : public IProgramLauncher {
 public:
  void StartNewWindow(const QString& documentPath) override;
  void OpenWithDesktop(const QString& path) override;
  void OpenUrl(const QString& url) override;
};

}  // namespace nuv
