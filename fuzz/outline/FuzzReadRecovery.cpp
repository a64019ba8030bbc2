// Fuzzes the reader of recovery copies; a copy it accepts holds a document
// that writes back as a copy with the same header and pages.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "outline/BinaryFormat.h"
#include "outline/OutlineTree.h"
#include "outline/Recovery.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nuv;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TRecoveryInfo info;
  TOutlineTree tree;
  int selected = 0;
  if (!ReadRecoveryBytes(bytes, TFormatOptions{}, info, tree, selected)) return 0;
  if (selected < 0 || selected >= tree.Count()) std::abort();
  std::string image;
  if (!BuildBinary(tree, tree.GetNodeAt(selected), image)) std::abort();
  const std::string header = "nuv recovery copy 1\nformat " + std::to_string(static_cast<int>(info.format)) +
                             "\npath " + std::to_string(info.documentPath.size()) + "\n" + info.documentPath + "\n";
  TRecoveryInfo again;
  TOutlineTree back;
  int selectedAgain = 0;
  if (!ReadRecoveryBytes(header + image, TFormatOptions{}, again, back, selectedAgain)) std::abort();
  if (again.documentPath != info.documentPath || back.Count() != tree.Count() || selectedAgain != selected) std::abort();
  return 0;
}
