// Reads and writes a 10,000-page, 50 MB document in both formats and prints
// each time beside the time `cp` takes to copy the same file in the same run.
// Checks: every read and write succeeds and each read gives back the pages
// written (titles and bodies), also after nuvtool's conversions.
// Target: every full read or write within 5 times the copy.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "base/FileIo.h"
#include "outline/BinaryFormat.h"
#include "outline/TextFormat.h"
#include "support/BenchDocument.h"
#include "support/BenchVerdict.h"

using namespace nuv;
using bench::Best;
using bench::SamePages;
using bench::TStopwatch;

namespace {

double CopyTime(const std::string& from, const std::string& to) {
  return Best(3, [&] { return bench::TimeCommand("cp '" + from + "' '" + to + "'"); });
}

void Report(bench::TVerdict& verdict, const char* what, double seconds, double copy) {
  std::printf("%-34s %8.3f s   cp %6.3f s   ratio %5.2f\n", what, seconds, copy, seconds / copy);
  verdict.Target(what, bench::Time(seconds), "cp " + bench::Time(copy), bench::Ratio(copy / seconds),
                 "within 5x cp", seconds <= 5 * copy);
}

}  // namespace

int main(int argc, char** argv) {
  bench::TVerdict verdict("bench_outline_files", argc, argv);
  const std::string dir = (std::filesystem::temp_directory_path() /
                           ("nuv-bench-files-" + std::to_string(::getpid()))).string();
  std::filesystem::create_directories(dir);
  const std::string pk2 = dir + "/large.pk2", txt = dir + "/large.txt", copy = dir + "/copy";

  TOutlineTree tree;
  bench::BuildLargeDocument(tree, verdict.Smoke() ? 20 : 1000);
  TFormatOptions options;
  options.TextSaveWithData = true;
  bool written = true;
  const double writeBinary = Best(3, [&] {
    const TStopwatch w;
    written = WriteBinary(pk2, tree, tree.GetFirstNode()) && written;
    return w.Seconds();
  });
  verdict.Check(written, "write .pk2 succeeds");
  written = true;
  const double writeText = Best(3, [&] {
    const TStopwatch w;
    written = WriteText(txt, tree, false, nullptr, options) == TTextWriteResult::Written && written;
    return w.Seconds();
  });
  verdict.Check(written, "write hierarchical text succeeds");
  std::printf("document: %d pages, .pk2 %.1f MB, .txt %.1f MB\n", tree.Count(),
              std::filesystem::file_size(pk2) / 1e6, std::filesystem::file_size(txt) / 1e6);
  const double copyBinary = CopyTime(pk2, copy);
  const double copyText = CopyTime(txt, copy);

  bool readOk = true, same = true;
  const double readBinary = Best(3, [&] {
    TOutlineTree t;
    const TStopwatch w;
    readOk = ReadBinary(pk2, options, t).ok && readOk;
    const double seconds = w.Seconds();
    same = same && SamePages(tree, t);
    return seconds;
  });
  verdict.Check(readOk && same, "read .pk2 gives back the pages written");
  readOk = same = true;
  const double readText = Best(3, [&] {
    TOutlineTree t;
    const TStopwatch w;
    readOk = ReadText(txt, options, t) && readOk;
    const double seconds = w.Seconds();
    same = same && SamePages(tree, t);
    return seconds;
  });
  verdict.Check(readOk && same, "read hierarchical text gives back the pages written");
  Report(verdict, "read .pk2", readBinary, copyBinary);
  Report(verdict, "write .pk2 (synced)", writeBinary, copyBinary);
  Report(verdict, "read hierarchical text", readText, copyText);
  Report(verdict, "write hierarchical text (synced)", writeText, copyText);

  const std::string tool = NUVTOOL;
  struct TConvert {
    const char* what;
    std::string from, to;
    double copy;
  };
  for (const TConvert& c : {TConvert{"nuvtool convert .pk2 -> .pk2", pk2, copy + ".pk2", copyBinary},
                            TConvert{"nuvtool convert .txt -> .pk2", txt, copy + ".pk2", copyText},
                            TConvert{"nuvtool convert .pk2 -> .txt", pk2, copy + ".txt", copyBinary}}) {
    const double seconds = Best(3, [&] { return bench::TimeCommand(tool + " convert " + c.from + " " + c.to); });
    std::printf("%-34s %8.3f s   cp %6.3f s   ratio %5.2f\n", c.what, seconds, c.copy, seconds / c.copy);
    TOutlineTree back;
    const bool ok = c.to.ends_with(".pk2") ? ReadBinary(c.to, options, back).ok : ReadText(c.to, options, back);
    verdict.Check(ok && SamePages(tree, back), std::string(c.what) + " keeps the pages");
  }
  std::filesystem::remove_all(dir);
  return verdict.Finish();
}
