// Fuzzes the Markdown splitter; whatever it reads must write and read back
// as the same pages, titles and bodies, which checks the writer's escapes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/FileIo.h"
#include "exchange/Markdown.h"
#include "TreeText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nuv;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TExchangeReadOptions options;
  options.substitute = true;
  TOutlineTree tree;
  if (!ReadMarkdownBytes(bytes, "file", options, tree).ok() || tree.Count() == 0) std::abort();
  std::string written;
  TStringSink sink(written);
  BuildMarkdown(tree, sink);
  TOutlineTree back;
  if (!ReadMarkdownBytes(written, "file", options, back).ok() || fuzz::TreeText(back, false, false) != fuzz::TreeText(tree, false, true)) {
    std::fprintf(stderr, "Markdown round trip differs:\n%s\n", written.c_str());
    std::abort();
  }
  return 0;
}
