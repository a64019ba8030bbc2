// The binary document format (".pk2"): a tree block of titles, then one
// record of body, mark and label, and view word per page.
#pragma once

#include <string>
#include <string_view>

#include "outline/FormatOptions.h"

namespace nuv {

class IByteSink;
class TOutlineTree;
class TTreeNode;

struct TBinaryReadResult {
  bool ok = false;
  // Absolute index of the page to select (the first page's view word); 0
  // when that names no page.
  int selectedIndex = 0;
};

// Reads a whole document into `out`, which must be empty. On failure `out`
// holds a partial tree that the caller discards; the open document is never
// touched. An empty tree block gives one page "無題".
TBinaryReadResult ReadBinaryBytes(std::string_view bytes, const TFormatOptions& options, TOutlineTree& out);
TBinaryReadResult ReadBinary(const std::string& path, const TFormatOptions& options, TOutlineTree& out);

// A body to write in place of a page's record: the shown page's text while
// the editor holds changes the page switch has not stored yet.
struct TBodyOverride {
  const TTreeNode* page = nullptr;
  std::string_view body;
};

// The file image of a document; `selected` (may be null) goes into the first
// view word. False when a length does not fit the format's 32-bit fields.
bool BuildBinary(const TOutlineTree& tree, const TTreeNode* selected, std::string& out);
bool BuildBinary(const TOutlineTree& tree, const TTreeNode* selected, IByteSink& out,
                 const TBodyOverride& shown = TBodyOverride{});
// Writes atomically; false when any write fails (the old file stays).
bool WriteBinary(const std::string& path, const TOutlineTree& tree, const TTreeNode* selected);

}  // namespace nuv
