// The program entry: the application, the main window and the event loop.
#include <QApplication>

#include "app/MainWindow.h"
#include "base/ProgramFolder.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("nuv");
  nuv::SetExecutablePath(QCoreApplication::applicationFilePath().toStdString());
  nuv::PrepareProgramFolder();
  nuv::Tfmnuv window;
  window.ShowFromSession();
  QStringList arguments = QCoreApplication::arguments();
  arguments.removeFirst();
  window.FormShow(arguments);
  // The document was already open in another window and this one gave way.
  if (window.QuitRequested()) return 0;
  return QApplication::exec();
}
