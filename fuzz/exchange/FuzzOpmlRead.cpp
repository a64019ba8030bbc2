// Fuzzes the OPML reader; whatever it reads must write and read back as the
// same pages, marks, labels and expanded pages.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/FileIo.h"
#include "exchange/Opml.h"
#include "TreeText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nuv;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TExchangeReadOptions options;
  options.substitute = size % 2 == 0;
  options.format.ClearLabel1 = size % 3 == 0;
  TOutlineTree tree;
  if (!ReadOpmlBytes(bytes, options, tree).ok()) return 0;
  if (tree.Count() == 0) std::abort();
  std::string written;
  TStringSink sink(written);
  BuildOpml(tree, "fuzz", sink);
  TOutlineTree back;
  const TExchangeReadResult r = ReadOpmlBytes(written, options, back);
  if (!r.ok() || fuzz::TreeText(back, true, false) != fuzz::TreeText(tree, true, true)) {
    std::fprintf(stderr, "OPML round trip differs:\n%s\n", written.c_str());
    std::abort();
  }
  return 0;
}
