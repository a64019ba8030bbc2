// Times how long the main window takes to show a 10,000-page, 50 MB
// document named on the command line, from creating the window to the
// first painted frame. Checks that the window shows every page. Target: under
// one second.
#include <QApplication>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/MainWindow.h"
#include "outline/BinaryFormat.h"
#include "outline/TextFormat.h"
#include "support/BenchDocument.h"
#include "support/BenchVerdict.h"

int main(int argc, char** argv) {
  nuv::bench::TVerdict verdict("bench_window_show", argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const std::string dir = (std::filesystem::temp_directory_path() / "nuv-bench-window").string();
  std::filesystem::create_directories(dir);
  setenv("NUV_HOME", dir.c_str(), 1);
  QApplication app(argc, argv);
  const std::string pk2 = dir + "/large.pk2", txt = dir + "/large.txt";
  const int roots = verdict.Smoke() ? 20 : 1000, pages = roots * 10;
  {
    nuv::TOutlineTree tree;
    nuv::bench::BuildLargeDocument(tree, roots);
    nuv::WriteBinary(pk2, tree, tree.GetNodeAt(pages / 2));
    nuv::TFormatOptions withData;
    withData.TextSaveWithData = true;
    nuv::WriteText(txt, tree, false, nullptr, withData);
  }
  for (const std::string& path : {pk2, txt}) {
    double best = 1e9;
    bool shown = true;
    for (int run = 0; run < 3; ++run) {
      const nuv::bench::TStopwatch watch;
      nuv::Tfmnuv window;
      window.ShowFromSession();
      window.FormShow({QString::fromStdString(path)});
      window.repaint();
      QApplication::processEvents();
      best = std::min(best, watch.Seconds());
      shown = shown && window.Tree().Count() == pages;
    }
    const std::string ext = std::filesystem::path(path).extension().string();
    verdict.Check(shown, "the window shows all " + std::to_string(pages) + " pages of the " + ext);
    std::printf("show %-10s %6.3f s (target < 1 s)\n", ext.c_str(), best);
    verdict.Target("window shows a " + std::to_string(pages) + "-page " + ext, nuv::bench::Time(best), "-", "-",
                   "under 1 s", best < 1.0);
  }
  std::filesystem::remove_all(dir);
  return verdict.Finish();
}
