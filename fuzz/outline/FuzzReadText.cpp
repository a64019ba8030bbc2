// Fuzzes the hierarchical text reader, the import and the writer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "outline/OutlineTree.h"
#include "outline/TextFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nuv;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TFormatOptions options;
  options.PirkaCompatible = size % 3 == 0;
  options.ClearLabel1 = size % 2 == 0;
  options.TextSaveWithData = true;
  TOutlineTree tree;
  if (!ReadTextBytes(bytes, "fuzz.txt", options, tree)) return 0;
  if (tree.Count() == 0) std::abort();
  const std::string text = BuildText(tree, false, nullptr, options);
  TOutlineTree back;
  if (!ReadTextBytes(text, "fuzz.txt", options, back)) std::abort();
  bool ok = false;
  ImportTextBytes(bytes, "fuzz.txt", options, tree, tree.GetFirstNode()->GetNext(), ok);
  (void)BuildText(tree, true, tree.GetFirstNode(), options);
  return 0;
}
