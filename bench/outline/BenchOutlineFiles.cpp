// Reads and writes a 10,000-page, 50 MB document in both formats and prints
// each time beside the time `cp` takes to copy the same file in the same run.
// Target: every full read or write within 5 times the copy.
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/FileIo.h"
#include "outline/BinaryFormat.h"
#include "outline/TextFormat.h"
#include "support/BenchDocument.h"

using namespace nuv;
using bench::Best;
using bench::TStopwatch;

namespace {

double CopyTime(const std::string& from, const std::string& to) {
  return Best(3, [&] { return bench::TimeCommand("cp '" + from + "' '" + to + "'"); });
}

void Report(const char* what, double seconds, double copy) {
  std::printf("%-34s %8.3f s   cp %6.3f s   ratio %5.2f\n", what, seconds, copy, seconds / copy);
}

}  // namespace

int main() {
  const std::string dir = (std::filesystem::temp_directory_path() / "nuv-bench-files").string();
  std::filesystem::create_directories(dir);
  const std::string pk2 = dir + "/large.pk2", txt = dir + "/large.txt", copy = dir + "/copy";

  TOutlineTree tree;
  bench::BuildLargeDocument(tree);
  TFormatOptions options;
  options.TextSaveWithData = true;
  const double writeBinary = Best(3, [&] {
    const TStopwatch w;
    WriteBinary(pk2, tree, tree.GetFirstNode());
    return w.Seconds();
  });
  const double writeText = Best(3, [&] {
    const TStopwatch w;
    WriteText(txt, tree, false, nullptr, options);
    return w.Seconds();
  });
  std::printf("document: %d pages, .pk2 %.1f MB, .txt %.1f MB\n", tree.Count(),
              std::filesystem::file_size(pk2) / 1e6, std::filesystem::file_size(txt) / 1e6);
  const double copyBinary = CopyTime(pk2, copy);
  const double copyText = CopyTime(txt, copy);

  const double readBinary = Best(3, [&] {
    TOutlineTree t;
    const TStopwatch w;
    ReadBinary(pk2, options, t);
    return w.Seconds();
  });
  const double readText = Best(3, [&] {
    TOutlineTree t;
    const TStopwatch w;
    ReadText(txt, options, t);
    return w.Seconds();
  });
  Report("read .pk2", readBinary, copyBinary);
  Report("write .pk2 (synced)", writeBinary, copyBinary);
  Report("read hierarchical text", readText, copyText);
  Report("write hierarchical text (synced)", writeText, copyText);

  const std::string tool = NUVTOOL;
  Report("nuvtool convert .pk2 -> .pk2", Best(3, [&] { return bench::TimeCommand(tool + " convert " + pk2 + " " + copy + ".pk2"); }), copyBinary);
  Report("nuvtool convert .txt -> .pk2", Best(3, [&] { return bench::TimeCommand(tool + " convert " + txt + " " + copy + ".pk2"); }), copyText);
  Report("nuvtool convert .pk2 -> .txt", Best(3, [&] { return bench::TimeCommand(tool + " convert " + pk2 + " " + copy + ".txt"); }), copyBinary);
  std::filesystem::remove_all(dir);
  return 0;
}
