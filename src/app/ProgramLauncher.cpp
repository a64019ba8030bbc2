// Starting programs through Qt: never a shell string.
#include "app/ProgramLauncher.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace nuv {

namespace {

// The desktop's opener gets the target as its one argument, so a path is
// handed over exactly as it is, with no shell and no command line to split.
// Without xdg-open, Qt's own desktop service does the job.
void OpenWithOpener(const QString& target, const QUrl& url) {
  const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (!opener.isEmpty() && QProcess::startDetached(opener, {target})) return;
  QDesktopServices::openUrl(url);
}

}  // namespace

void TQtProgramLauncher::StartNewWindow(const QString& documentPath) {
  QProcess::startDetached(QCoreApplication::applicationFilePath(), {documentPath});
}

void TQtProgramLauncher::OpenWithDesktop(const QString& path) { OpenWithOpener(path, QUrl::fromLocalFile(path)); }

void TQtProgramLauncher::OpenUrl(const QString& url) { OpenWithOpener(url, QUrl::fromEncoded(url.toLatin1())); }

}  // namespace nuv
