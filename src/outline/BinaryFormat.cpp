// Binary document reader and writer.
//
// All integers are 32-bit little-endian and signed. The reader checks every
// length against the bytes that remain, so a damaged file fails the read
// instead of allocating or reading past the end.
#include "outline/BinaryFormat.h"

#include <cstdint>
#include <vector>

#include "base/FileIo.h"
#include "base/LittleEndian.h"
#include "outline/LightStrings.h"
#include "outline/OutlineTexts.h"
#include "outline/OutlineTree.h"
#include "outline/PagePictures.h"
#include "outline/TrashRules.h"

namespace nuv {

namespace {

// Builds the pages of the tree block in tree order; false for a line more
// than one level deeper than the line before it (the first line is a root
// page whatever its level). `path` holds the page at each level of the line
// before, so a climb costs one step whatever the depth. A page that leaves
// the path gets no more children: its child list is fitted then, while it
// is still in the cache.
bool BuildTree(TLineCursor lines, TOutlineTree& out) {
  std::vector<TTreeNode*> path;
  for (std::string_view line; lines.Next(line);) {
    std::size_t level = 0;
    while (level < line.size() && (line[level] == '\t' || line[level] == ' ')) ++level;
    const std::string_view title = line.substr(level);
    if (path.empty()) level = 0;
    if (level > path.size()) return false;
    for (std::size_t i = level; i < path.size(); ++i) out.FitChildren(path[i]);
    path.resize(level);
    path.push_back(out.AppendLast(level ? path.back() : nullptr, title));
  }
  for (TTreeNode* page : path) out.FitChildren(page);
  out.FitChildren(nullptr);
  return true;
}

// The title as written: leading blanks would read back as deeper levels.
std::string_view WrittenTitle(const TTreeNode* page) {
  std::string_view title = page->Text();
  while (!title.empty() && (title[0] == '\t' || title[0] == ' ')) title.remove_prefix(1);
  return title;
}

}  // namespace

TBinaryReadResult ReadBinaryBytes(std::string_view bytes, const TFormatOptions& options, TOutlineTree& out) {
  TBinaryReadResult result;
  TLittleEndianReader reader(bytes);
  int32_t treeSize = 0;
  std::string_view block;
  if (!reader.ReadInt32(treeSize) || !reader.ReadBytes(treeSize, block)) return result;
  const TLineCursor lines = TLineCursor::ForText(block);
  const std::size_t pages = lines.Remaining();
  // Each page needs a record of at least 12 bytes: refuse early what cannot fit.
  if (pages > reader.Remaining() / 12) return result;
  out.Reserve(pages);
  if (!BuildTree(lines, out)) return result;

  for (TTreeNode* page = out.GetFirstNode(); page; page = page->GetNext()) {
    int32_t bodyLength = 0, markLabel = 0, viewWord = 0;
    std::string_view body;
    if (!reader.ReadInt32(bodyLength) || !reader.ReadBytes(bodyLength, body) || !reader.ReadInt32(markLabel) ||
        !reader.ReadInt32(viewWord))
      return result;
    TNodeData& data = out.EnsureData(page);
    data.SetBody(std::string(body));
    data.SetMarkLabel(static_cast<uint32_t>(markLabel));
    data.SetViewState(viewWord);
    if (body.substr(0, 12) == "<DirectLink:") out.SetOverlayIndex(page, 0);
    // On the first page the view word is the selected page, elsewhere 1 for an expanded page.
    if (page != out.GetFirstNode() && viewWord != 0 && page->HasChildren()) out.Expand(page);

    const int mark = SanitizeMark(data.Mark(), page->Parent() == nullptr, page->Text());
    data.SetMark(mark);
    out.SetImageIndex(page, mark);
    out.SetStateIndex(page, StateIndexForLabel(data.Label(), options));
    if (data.Label() < pic::kLabel1 || data.Label() > pic::kLabel8) data.SetLabel(0);
  }
  // Every page of the block got its record; without any, the document is one new page.
  if (!out.GetFirstNode()) {
    TTreeNode* page = out.AddChild(nullptr, texts::Untitled());
    out.SetImageIndex(page, pic::kMemo);
  } else {
    const int selected = out.GetFirstNode()->Data()->ViewState();
    result.selectedIndex = (selected >= 0 && selected < out.Count()) ? selected : 0;
  }
  result.ok = true;
  return result;
}

TBinaryReadResult ReadBinary(const std::string& path, const TFormatOptions& options, TOutlineTree& out) {
  TMappedFile file;
  if (file.Open(path) != TReadResult::Ok) return TBinaryReadResult{};
  return ReadBinaryBytes(file.Bytes(), options, out);
}

std::optional<std::size_t> BinaryTreeBlockSize(const TOutlineTree& tree) {
  std::size_t size = 0;
  TLevelWalk levels;
  for (const TTreeNode* page = tree.GetFirstNode(); page; page = page->GetNext()) {
    size += static_cast<std::size_t>(levels.LevelOf(page)) + WrittenTitle(page).size() + 2;
    if (size > kMaxBinaryLength) return std::nullopt;
    if (page->Data() && page->Data()->Body().size() > kMaxBinaryLength) return std::nullopt;
  }
  return size;
}

bool BuildBinary(const TOutlineTree& tree, const TTreeNode* selected, IByteSink& out, const TBodyOverride& shown) {
  // Measured first: a tree too deep or too long is refused before a byte is
  // built, where building it would take gigabytes first.
  const std::optional<std::size_t> blockSize = BinaryTreeBlockSize(tree);
  if (!blockSize || shown.body.size() > kMaxBinaryLength) return false;
  std::string word;
  auto appendInt = [&](int32_t value) {
    word.clear();
    AppendInt32LE(word, value);
    out.Append(word);
  };
  appendInt(static_cast<int32_t>(*blockSize));
  std::string line;
  TLevelWalk levels;
  for (const TTreeNode* page = tree.GetFirstNode(); page; page = page->GetNext()) {
    line.assign(static_cast<std::size_t>(levels.LevelOf(page)), '\t');
    line += WrittenTitle(page);
    line += "\r\n";
    out.Append(line);
  }
  const int selectedIndex = selected ? tree.AbsoluteIndexOf(selected) : 0;
  for (const TTreeNode* page = tree.GetFirstNode(); page; page = page->GetNext()) {
    const TNodeData* data = page->Data();
    if (page == shown.page) {
      // The record the page switch would store: the editor's text, the
      // picture's mark, and the record's label (0 for a page without one).
      appendInt(static_cast<int32_t>(shown.body.size()));
      out.Append(shown.body);
      const uint32_t label = data ? data->MarkLabel() & 0xFFFF0000u : 0;
      appendInt(static_cast<int32_t>(label | (static_cast<uint32_t>(page->ImageIndex()) & 0xFFFFu)));
      appendInt(page == tree.GetFirstNode() ? selectedIndex : (page->Expanded() && page->HasChildren() ? 1 : 0));
      continue;
    }
    if (!data) {
      appendInt(0);
      appendInt(0);
      appendInt(0);
      continue;
    }
    appendInt(static_cast<int32_t>(data->Body().size()));
    out.Append(data->Body());
    appendInt(static_cast<int32_t>(data->MarkLabel()));
    const bool first = page == tree.GetFirstNode();
    appendInt(first ? selectedIndex : (page->Expanded() && page->HasChildren() ? 1 : 0));
  }
  return true;
}

bool BuildBinary(const TOutlineTree& tree, const TTreeNode* selected, std::string& out) {
  out.clear();
  TStringSink sink(out);
  return BuildBinary(tree, selected, sink);
}

bool WriteBinary(const std::string& path, const TOutlineTree& tree, const TTreeNode* selected) {
  if (!BinaryTreeBlockSize(tree)) return false;
  TAtomicFileWriter writer(path);
  return BuildBinary(tree, selected, writer) && writer.Commit();
}

}  // namespace nuv
