// The window with a million pages, offscreen: how long a generated document of
// 1,000,000 pages (about 80 MB of text) takes to show, what each page command
// costs from the key to the painted tree at 100,000 and 1,000,000 pages, how
// long Ctrl+S takes, and the resident memory each page takes beyond its text.
// With --smoke it runs on 2,000 pages and checks the results only.
#include <QAction>
#include <QApplication>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <time.h>
#include <unistd.h>
#include <vector>

#include "app/DocumentController.h"
#include "app/MainWindow.h"
#include "app/OutlineModel.h"
#include "app/OutlineView.h"
#include "app/PageCommandsController.h"
#include "outline/BinaryFormat.h"
#include "support/BenchDocument.h"
#include "support/BenchVerdict.h"

namespace {

using namespace nuv;


std::size_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t size = 0, resident = 0;
  statm >> size >> resident;
  return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// Writes the generated document of `pages` pages; returns its text bytes.
std::size_t WriteDocument(const std::string& path, int pages) {
  TOutlineTree tree;
  const std::size_t text = bench::BuildManyPageDocument(tree, pages);
  WriteBinary(path, tree, nullptr);
  return text;
}

// The machine is shared: figures are CPU time of this process, with the wall
// time beside them.
class TCpuWatch {
 public:
  TCpuWatch() : m_cpu(Cpu()) {}
  double Ms() const { return (Cpu() - m_cpu) * 1000; }
  double WallMs() const { return m_wall.Seconds() * 1000; }

 private:
  static double Cpu() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
  }
  double m_cpu;
  bench::TStopwatch m_wall;
};

void Paint(Tfmnuv& window) {
  window.TreeView()->viewport()->repaint();
  QApplication::processEvents();
}

// A figure beside its target and the program of today's value (0: none),
// which stands in the peer's column.
struct TFigure {
  const char* name;
  double value;
  double target;
  const char* unit;
  double today;
};

void Judge(bench::TVerdict& verdict, const TFigure& f) {
  auto text = [&](double x) {
    char b[32];
    std::snprintf(b, sizeof b, "%.1f %s", x, f.unit);
    return std::string(b);
  };
  verdict.Target(f.name, text(f.value), f.today > 0 ? text(f.today) : "-",
                 f.today > 0 && f.value > 0 ? bench::Ratio(f.today / f.value) : "-", "at most " + text(f.target),
                 f.value <= f.target);
}

// Each page command on a page in the middle of the document, from the action
// to the painted tree; the worst of the commands, in milliseconds.
double PageCommands(Tfmnuv& window, bench::TVerdict& verdict) {
  const bool print = !verdict.Smoke();
  TOutlineTree& tree = window.Tree();
  TTreeNode* middle = tree.GetNodeAt(tree.Count() / 2);
  if (!middle->Parent()) middle = middle->GetNext();
  window.SelectPage(middle);
  Paint(window);
  TPageCommands& pages = window.Pages();
  struct TCommand {
    const char* name;
    QAction* action;
  } commands[] = {
      {"add below", pages.acNewNodeD}, {"move up", pages.acNodeUp},     {"move down", pages.acNodeDown},
      {"indent", pages.acNodeRight},   {"outdent", pages.acNodeLeft},   {"delete to trash", pages.acDelNode},
  };
  double worst = 0;
  for (const TCommand& c : commands) {
    const int before = tree.Count();
    const TCpuWatch watch;
    c.action->trigger();
    Paint(window);
    const double ms = watch.Ms();
    // An added page opens its title for editing: the edit ends unchanged.
    if (QWidget* editor = QApplication::focusWidget(); editor && editor != static_cast<QWidget*>(window.TreeView())) {
      window.TreeView()->setFocus();
      Paint(window);
    }
    worst = std::max(worst, ms);
    if (print) std::printf("  %-18s %8.1f ms CPU %8.1f ms wall\n", c.name, ms, watch.WallMs());
    verdict.Check(tree.Count() >= before, c.name);
  }
  return worst;
}

}  // namespace

int main(int argc, char** argv) {
  bench::TVerdict verdict("bench_million_pages", argc, argv);
  const bool smoke = verdict.Smoke();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const std::string dir = (std::filesystem::temp_directory_path() / ("nuv-bench-million-" + std::to_string(getpid()))).string();
  std::filesystem::create_directories(dir);
  setenv("NUV_HOME", dir.c_str(), 1);
  QApplication app(argc, argv);

  const int large = smoke ? 2000 : 1000000;
  const int medium = smoke ? 500 : 100000;
  const std::string largePath = dir + "/large.pk2", mediumPath = dir + "/medium.pk2";
  const std::size_t textBytes = WriteDocument(largePath, large);
  WriteDocument(mediumPath, medium);

  double mediumCommand = 0;
  {
    Tfmnuv window;
    window.ShowFromSession();
    window.FormShow({QString::fromStdString(mediumPath)});
    Paint(window);
    verdict.Check(window.Tree().Count() == medium, "medium document shown");
    if (!smoke) std::printf("page commands, %d pages:\n", medium);
    mediumCommand = PageCommands(window, verdict);
    window.Document().DocModified = false;
  }

  // Freed memory goes back to the system first, so the difference is the window's.
  malloc_trim(0);
  const std::size_t residentBefore = ResidentBytes();
  Tfmnuv window;
  const TCpuWatch showWatch;
  window.ShowFromSession();
  window.FormShow({QString::fromStdString(largePath)});
  Paint(window);
  const double shown = showWatch.Ms();
  if (!smoke) std::printf("shown: %.1f ms CPU, %.1f ms wall\n", shown, showWatch.WallMs());
  const double perPage =
      (static_cast<double>(ResidentBytes()) - static_cast<double>(residentBefore) - static_cast<double>(textBytes)) /
      large;
  verdict.Check(window.Tree().Count() == large, "large document shown");
  if (!smoke) std::printf("page commands, %d pages:\n", large);
  const double largeCommand = PageCommands(window, verdict);

  const int count = window.Tree().Count();
  const TCpuWatch saveWatch;
  window.Documents().acSave->trigger();
  QApplication::processEvents();
  const double saved = saveWatch.Ms();
  if (!smoke) std::printf("Ctrl+S: %.1f ms CPU, %.1f ms wall\n", saved, saveWatch.WallMs());
  TOutlineTree back;
  verdict.Check(ReadBinary(largePath, TFormatOptions{}, back).ok && back.Count() == count, "Ctrl+S wrote every page");
  window.Document().DocModified = false;

  Judge(verdict, {"shown (1,000,000 pages)", shown, 1000, "ms", 1500});
  Judge(verdict, {"page command, key to painted tree (100,000)", mediumCommand, 16, "ms", 20});
  Judge(verdict, {"page command, key to painted tree (1,000,000)", largeCommand, 100, "ms", 400});
  Judge(verdict, {"Ctrl+S (1,000,000 pages)", saved, 1000, "ms", 0});
  Judge(verdict, {"resident memory beyond the text", perPage, 200, "B/page", 380});
  std::filesystem::remove_all(dir);
  return verdict.Finish();
}
