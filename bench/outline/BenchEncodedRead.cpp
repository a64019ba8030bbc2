// Reads the 50 MB benchmark document from UTF-8 and from its Shift JIS twin
// and prints each time beside the Shift JIS read. Target: the UTF-8 read
// within 2 times the Shift JIS read of the plain text reader.
// --smoke: a small document; checks the UTF-8 file against the C library's
// iconv and that both reads give the same pages, and judges no timing.
#include <iconv.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "base/FileIo.h"
#include "outline/EncodedText.h"
#include "outline/TextFormat.h"
#include "support/BenchDocument.h"
#include "support/BenchVerdict.h"

using namespace nuv;
using bench::Best;
using bench::TStopwatch;

namespace {

// CP932 -> UTF-8 by the C library, independent of nuv's converter.
std::string IconvToUtf8(const std::string& sjis) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  std::string in = sjis, out(sjis.size() * 2 + 16, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  std::size_t inLeft = in.size(), outLeft = out.size();
  const bool ok = cd != reinterpret_cast<iconv_t>(-1) &&
                  iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
  if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  if (!ok) return std::string();
  out.resize(out.size() - outLeft);
  return out;
}

bool Fail(const char* what) {
  std::fprintf(stderr, "bench_encoded_read: %s\n", what);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const bool smoke = argc > 1 && std::strcmp(argv[1], "--smoke") == 0;
  const std::string dir = (std::filesystem::temp_directory_path() / "nuv-bench-encoded").string();
  std::filesystem::create_directories(dir);
  const std::string sjisPath = dir + "/sjis.txt", utf8Path = dir + "/utf8.txt";

  TOutlineTree tree;
  if (smoke)
    bench::BuildLargeDocument(tree, 20, 3, 800);
  else
    bench::BuildLargeDocument(tree);
  TFormatOptions options;
  options.TextSaveWithData = true;
  WriteText(sjisPath, tree, false, nullptr, options);
  WriteEncodedText(utf8Path, tree, false, nullptr, options, TTextForm{TTextEncoding::Utf8, false, TLineEnd::CrLf});
  std::string sjisBytes, utf8Bytes;
  ReadWholeFile(sjisPath, sjisBytes);
  ReadWholeFile(utf8Path, utf8Bytes);
  std::printf("document: %d pages, Shift JIS %.1f MB, UTF-8 %.1f MB\n", tree.Count(), sjisBytes.size() / 1e6,
              utf8Bytes.size() / 1e6);

  bool ok = true;
  if (utf8Bytes != IconvToUtf8(sjisBytes)) ok = Fail("the UTF-8 file differs from iconv's conversion");
  const int runs = smoke ? 1 : 3;
  std::string pagesSjis, pagesUtf8;
  const double readSjis = Best(runs, [&] {
    TOutlineTree t;
    const TStopwatch w;
    ReadText(sjisPath, options, t);
    const double s = w.Seconds();
    pagesSjis = BuildText(t, false, nullptr, options);
    return s;
  });
  const double readSjisDetected = Best(runs, [&] {
    TOutlineTree t;
    const TStopwatch w;
    if (ReadEncodedText(sjisPath, options, TSubstitution::Refuse, t).form != TTextForm{}) ok = Fail("not Shift JIS");
    return w.Seconds();
  });
  const double readUtf8 = Best(runs, [&] {
    TOutlineTree t;
    const TStopwatch w;
    if (ReadEncodedText(utf8Path, options, TSubstitution::Refuse, t).form.encoding != TTextEncoding::Utf8)
      ok = Fail("not UTF-8");
    const double s = w.Seconds();
    pagesUtf8 = BuildText(t, false, nullptr, options);
    return s;
  });
  if (pagesSjis != pagesUtf8 || pagesSjis != sjisBytes) ok = Fail("the UTF-8 read gave other pages");
  std::filesystem::remove_all(dir);
  if (!ok) return 1;
  if (smoke) {
    std::printf("smoke: UTF-8 file and pages agree\n");
    return 0;
  }
  const double ratio = readUtf8 / readSjis;
  std::printf("%-36s %8.3f s\n", "read Shift JIS (plain reader)", readSjis);
  std::printf("%-36s %8.3f s   ratio %5.2f\n", "read Shift JIS (detected)", readSjisDetected, readSjisDetected / readSjis);
  std::printf("%-36s %8.3f s   ratio %5.2f   target <= 2.00   %s\n", "read UTF-8", readUtf8, ratio,
              ratio <= 2.0 ? "met" : "NOT MET");
  nuv::bench::Judge("bench_encoded_read", "read UTF-8 (against the Shift JIS read)", nuv::bench::Time(readUtf8),
                    nuv::bench::Time(readSjis), nuv::bench::Ratio(readSjis / readUtf8), "at most 2x the Shift JIS read",
                    ratio <= 2.0, false);
  return 0;
}
