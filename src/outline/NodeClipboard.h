// The node clipboard block ("nuv Node Data"): pages with their level, title
// and record, encoded for the system clipboard, and the paste that rebuilds
// them in the tree. Also the cut marks a paste removes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "outline/OutlineTree.h"

namespace nuv {

struct TFormatOptions;

struct TBlockEntry {
  int32_t level = 0;
  std::string title;
  bool hasRecord = false;
  std::string body;
  uint32_t markLabel = 0;
  int32_t viewState = 0;
};

// The page and all its descendants in tree order.
std::vector<const TTreeNode*> SubtreePages(const TTreeNode* page);
constexpr std::size_t kMaxNodeBlockBytes = 0x7FFFFFFF;
// The block of the given pages (each with its own level), in order; empty
// when it would be larger than kMaxNodeBlockBytes.
std::string EncodeNodeBlock(const std::vector<const TTreeNode*>& pages);
// The entries of a block; nothing when any size or length disagrees with the data.
std::optional<std::vector<TBlockEntry>> DecodeNodeBlock(std::string_view bytes);

// Inserts the entries: the first before `selected` (the last root page
// without a selection), the others by their levels relative to the previous
// entry. Returns the first pasted page. Pasted records keep body, mark and
// label; a mark that is no mark picture (the trash's 17 and 18, damage)
// becomes 0 in the picture and the record.
TTreeNode* PasteEntries(TOutlineTree& tree, TTreeNode* selected, const std::vector<TBlockEntry>& entries,
                        const TFormatOptions& labels);

// Cut marks: a new cut clears the marks of an earlier one.
void MarkCut(TOutlineTree& tree, TTreeNode* page);
void ClearCutMarks(TOutlineTree& tree);
// Whether the page is a cut page or lies inside one (a paste there is refused).
bool IsInsideCut(const TTreeNode* page);
// Removes every cut page with its subtree, the last in tree order first.
// Returns how many pages were removed.
int RemoveCutPages(TOutlineTree& tree);

}  // namespace nuv
