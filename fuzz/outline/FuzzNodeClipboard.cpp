// Fuzzes the page-clipboard block, which any program can put on the
// clipboard: decoded and pasted into a tree with a cut page, and the pasted
// pages copied again. A block that decodes pastes every entry; copied pages
// always decode.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "outline/FormatOptions.h"
#include "outline/NodeClipboard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nuv;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto entries = DecodeNodeBlock(bytes);
  if (!entries || entries->empty()) return 0;
  TOutlineTree tree;
  TTreeNode* a = tree.AddChild(nullptr, "A");
  TTreeNode* b = tree.AddChild(a, "B");
  tree.AddChild(nullptr, "C");
  MarkCut(tree, tree.GetLastRootPage());
  TFormatOptions labels;
  labels.ShowLabel1 = size % 2 == 0;
  TTreeNode* first = PasteEntries(tree, size % 3 ? b : nullptr, *entries, labels);
  if (!first || tree.Count() != 3 + static_cast<int>(entries->size())) std::abort();
  if (RemoveCutPages(tree) != 1) std::abort();
  std::vector<const TTreeNode*> pages;
  for (const TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNext()) pages.push_back(n);
  const auto again = DecodeNodeBlock(EncodeNodeBlock(pages));
  if (!again || again->size() != pages.size()) std::abort();
  return 0;
}
