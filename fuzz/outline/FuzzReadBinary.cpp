// Fuzzes the binary document reader; whatever it accepts must write and read
// back to the same structure.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "outline/BinaryFormat.h"
#include "outline/OutlineTree.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nuv;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TFormatOptions options;
  options.ShowLabel1 = size % 2;
  TOutlineTree tree;
  const TBinaryReadResult r = ReadBinaryBytes(bytes, options, tree);
  if (!r.ok) return 0;
  if (r.selectedIndex < 0 || r.selectedIndex >= tree.Count()) std::abort();
  std::string image;
  if (!BuildBinary(tree, tree.GetNodeAt(r.selectedIndex), image)) std::abort();
  TOutlineTree back;
  const TBinaryReadResult again = ReadBinaryBytes(image, options, back);
  if (!again.ok || back.Count() != tree.Count() || again.selectedIndex != r.selectedIndex) std::abort();
  return 0;
}
