// Starting programs through Qt: never a shell string.
#include "app/ProgramLauncher.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace nuv {

void TQtProgramLauncher::StartNewWindow(const QString& documentPath) {
  QProcess::startDetached(QCoreApplication::applicationFilePath(), {documentPath});
}

void TQtProgramLauncher::OpenWithDesktop(const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

}  // namespace nuv
