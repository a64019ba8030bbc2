// Fuzzes the Palm DOC file reader and the MeDoc reader on arbitrary images.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "exchange/MeDoc.h"
#include "exchange/PalmDocFile.h"
#include "outline/OutlineTree.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nuv;
  const std::string_view image(reinterpret_cast<const char*>(data), size);
  TPalmDocOptions options;
  options.binary = size % 2 == 0;
  std::string text = "untouched";
  const TPalmDocResult r = DecodePalmDoc(image, options, text);
  if (r != TPalmDocResult::Ok && text != "untouched") std::abort();

  TFormatOptions format;
  format.ClearLabel1 = size % 3 == 0;
  TOutlineTree tree;
  if (ReadPalmDocPagesBytes(image, format, tree) == TPalmDocResult::Ok) {
    if (tree.Count() == 0) std::abort();
    // Pages read back write a MeDoc text that reads back as the same pages.
    std::vector<TMeDocEntry> entries;
    const std::string medoc = BuildMeDocText(CollectMeDocEntries(tree, nullptr, TMeDocScope::FromPage));
    if (!ParseMeDocText(medoc, entries) || entries.size() != static_cast<std::size_t>(tree.Count())) std::abort();
  }
  // The index parser on the raw bytes too, as if they were decoded text.
  std::vector<TMeDocEntry> entries;
  (void)ParseMeDocText(image, entries);
  return 0;
}
