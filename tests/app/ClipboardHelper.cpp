// A helper for the cross-process clipboard test: "copy DOC" opens a document
// in a real window, copies the first page's subtree to the system clipboard
// and keeps serving it; "paste" pastes the clipboard's pages into a new
// document and prints the tree.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

#include "app/ClipboardController.h"
#include "app/MainWindow.h"
#include "outline/OutlineTree.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) return 2;
  const std::string mode = argv[1];
  nuv::Tfmnuv window;
  window.show();
  if (mode == "copy" && argc == 3) {
    window.FormShow({QString::fromLocal8Bit(argv[2])});
    window.SelectPage(window.Tree().GetFirstNode());
    window.Clipboard().CopyPages(false);
    QApplication::processEvents();
    std::printf("ready\n");
    std::fflush(stdout);
    // Serve the selection until the test closes our standard input.
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [] {
      char c;
      if (::read(STDIN_FILENO, &c, 1) <= 0) QApplication::quit();
    });
    QTimer::singleShot(20000, &app, &QApplication::quit);
    return QApplication::exec();
  }
  if (mode == "paste") {
    window.FormShow({});
    // The selection owner answers through the event loop.
    for (int i = 0; i < 100 && !QApplication::clipboard()->mimeData()->hasFormat(nuv::kNodeDataMime); ++i) {
      QApplication::processEvents(QEventLoop::AllEvents, 50);
      ::usleep(20000);
    }
    window.Clipboard().PastePages();
    std::string dump;
    for (const nuv::TTreeNode* n = window.Tree().GetFirstNode(); n; n = n->GetNext())
      dump += std::string(static_cast<std::size_t>(n->Level()), '.') + n->Text() + " ";
    std::printf("%s\n", dump.c_str());
    return 0;
  }
  return 2;
}
