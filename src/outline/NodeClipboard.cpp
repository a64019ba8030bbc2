// The node clipboard block.
//
// Block: TotalSize (this field included), Count, then Count entries of
// Level, TitleLength, Title, BodyLength (-1 without a record) and, with a
// record, Body, MarkLabel and ViewState. All integers are 32-bit
// little-endian and signed.
#include "outline/NodeClipboard.h"

#include "base/LittleEndian.h"

#include "outline/FormatOptions.h"
#include "outline/PagePictures.h"
#include "outline/TrashRules.h"

namespace nuv {

namespace {

// Where the entry after `previous` (at `previousLevel`) goes.
TTreeNode* PlaceEntry(TOutlineTree& tree, TTreeNode* previous, int32_t previousLevel, int32_t level,
                      std::string_view title) {
  if (level == previousLevel) return tree.InsertAfter(previous, title);
  if (level > previousLevel) return tree.AddChild(previous, title);
  // Climb (previous level - level + 1) times and append under the page reached.
  TTreeNode* reached = previous;
  for (int64_t step = 0; step < static_cast<int64_t>(previousLevel) - level + 1 && reached; ++step)
    reached = reached->Parent();
  return tree.AddChild(reached, title);
}

}  // namespace

std::vector<const TTreeNode*> SubtreePages(const TTreeNode* page) {
  std::vector<const TTreeNode*> pages;
  if (!page) return pages;
  const TTreeNode* end = NextAfterSubtree(page);
  for (const TTreeNode* n = page; n != end; n = n->GetNext()) pages.push_back(n);
  return pages;
}

std::string EncodeNodeBlock(const std::vector<const TTreeNode*>& pages) {
  // The block's sizes are signed 32-bit: measure first, refuse what cannot fit.
  std::size_t size = 8;
  for (const TTreeNode* page : pages) {
    size += 12 + page->Text().size() + (page->Data() ? 8 + page->Data()->Body().size() : 0);
    if (size > kMaxNodeBlockBytes) return std::string();
  }
  std::string entries;
  entries.reserve(size - 8);
  TLevelWalk levels;
  for (const TTreeNode* page : pages) {
    AppendInt32LE(entries, levels.LevelOf(page));
    AppendInt32LE(entries, static_cast<int32_t>(page->Text().size()));
    entries += page->Text();
    if (const TNodeData* data = page->Data()) {
      AppendInt32LE(entries, static_cast<int32_t>(data->Body().size()));
      entries += data->Body();
      AppendInt32LE(entries, static_cast<int32_t>(data->MarkLabel()));
      AppendInt32LE(entries, data->ViewState());
    } else {
      AppendInt32LE(entries, -1);
    }
  }
  std::string block;
  AppendInt32LE(block, static_cast<int32_t>(8 + entries.size()));
  AppendInt32LE(block, static_cast<int32_t>(pages.size()));
  block += entries;
  return block;
}

std::optional<std::vector<TBlockEntry>> DecodeNodeBlock(std::string_view bytes) {
  TLittleEndianReader head(bytes);
  int32_t totalSize = 0, count = 0;
  if (!head.ReadInt32(totalSize) || totalSize < 8 || static_cast<std::size_t>(totalSize) > bytes.size()) return std::nullopt;
  TLittleEndianReader reader(bytes.substr(4, static_cast<std::size_t>(totalSize) - 4));
  // Each entry holds at least 12 bytes: a count beyond that is damage.
  if (!reader.ReadInt32(count) || count < 0 || static_cast<std::size_t>(count) > reader.Remaining() / 12) return std::nullopt;
  std::vector<TBlockEntry> entries(static_cast<std::size_t>(count));
  for (TBlockEntry& e : entries) {
    int32_t titleLength = 0, bodyLength = 0, markLabel = 0;
    std::string_view title, body;
    if (!reader.ReadInt32(e.level) || e.level < 0 || !reader.ReadInt32(titleLength) ||
        !reader.ReadBytes(titleLength, title) || !reader.ReadInt32(bodyLength))
      return std::nullopt;
    e.title = std::string(title);
    if (bodyLength == -1) continue;
    e.hasRecord = true;
    if (!reader.ReadBytes(bodyLength, body) || !reader.ReadInt32(markLabel) || !reader.ReadInt32(e.viewState))
      return std::nullopt;
    e.body = std::string(body);
    e.markLabel = static_cast<uint32_t>(markLabel);
  }
  if (reader.Remaining() != 0) return std::nullopt;
  return entries;
}

TTreeNode* PasteEntries(TOutlineTree& tree, TTreeNode* selected, const std::vector<TBlockEntry>& entries,
                        const TFormatOptions& labels) {
  TTreeNode* first = nullptr;
  TTreeNode* previous = nullptr;
  int32_t previousLevel = 0;
  for (const TBlockEntry& e : entries) {
    TTreeNode* page = previous ? PlaceEntry(tree, previous, previousLevel, e.level, e.title)
                               : tree.Insert(selected, e.title);
    if (!first) first = page;
    previous = page;
    previousLevel = e.level;
    if (!e.hasRecord) continue;
    TNodeData& data = tree.EnsureData(page);
    data.SetBody(e.body);
    data.SetMarkLabel(e.markLabel);
    data.SetViewState(e.viewState);
    // Only true marks survive: a copied trash page must not become a second trash.
    if (!pic::IsMark(data.Mark())) data.SetMark(pic::kNotStarted);
    tree.SetImageIndex(page, data.Mark());
    if (data.Label() < pic::kLabel1 || data.Label() > pic::kLabel8) data.SetLabel(0);
    if (labels.ShowLabel1) {
      int state = data.Label();
      if (state < pic::kLabel1) state = labels.ClearLabel1 ? pic::kBlankLabel : pic::kLabel1;
      tree.SetStateIndex(page, state);
    }
  }
  return first;
}

void ClearCutMarks(TOutlineTree& tree) {
  for (TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNext())
    if (n->Cut()) tree.SetCut(n, false);
}

void MarkCut(TOutlineTree& tree, TTreeNode* page) {
  ClearCutMarks(tree);
  if (page) tree.SetCut(page, true);
}

bool IsInsideCut(const TTreeNode* page) {
  for (const TTreeNode* n = page; n; n = n->Parent())
    if (n->Cut()) return true;
  return false;
}

int RemoveCutPages(TOutlineTree& tree) {
  std::vector<TTreeNode*> cut;
  for (TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNext())
    if (n->Cut()) cut.push_back(n);
  int removed = 0;
  TTreeNode* trash = FindTrashPage(tree);
  for (auto it = cut.rbegin(); it != cut.rend(); ++it) {
    removed += static_cast<int>(SubtreePages(*it).size());
    if (*it == trash) trash = nullptr;
    tree.Delete(*it);
  }
  if (removed && trash) UpdateTrashPicture(tree, trash);
  return removed;
}

}  // namespace nuv
