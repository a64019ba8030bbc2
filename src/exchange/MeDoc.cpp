// The MeDoc text with its index, its writer, and reading Palm DOC files back
// into pages.
//
// Lines are counted the same way on both sides (CR LF, CR or LF end a line,
// a final line break adds no empty line), and the Palm DOC conversion keeps
// every line break as one, so the line numbers of the index written here find
// the same lines when the file is read back.
#include "exchange/MeDoc.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <optional>

#include "base/FileIo.h"
#include "base/Sjis.h"
#include "base/Title.h"
#include "exchange/ExportNames.h"
#include "outline/LightStrings.h"
#include "outline/OutlineTexts.h"
#include "outline/OutlineTree.h"
#include "outline/PagePictures.h"
#include "outline/TrashRules.h"

namespace nuv {

namespace {

constexpr std::string_view kIndexHead = "#!Medoc index ";

std::optional<std::size_t> ParseCount(std::string_view s) {
  std::size_t value = 0;
  if (s.empty() || s.size() > 9) return std::nullopt;
  const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || ptr != s.data() + s.size()) return std::nullopt;
  return value;
}

std::string JoinBody(const std::vector<std::string>& lines, std::size_t begin, std::size_t end) {
  std::string body;
  for (std::size_t i = begin; i < end; ++i) {
    body += lines[i];
    body += "\r\n";
  }
  return body;
}

std::string StoredTitle(std::string_view text) { return std::string(CutAtCharBoundary(CleanTitle(text), kMaxTitleBytes)); }

// Makes the pages of `entries` in `out`: an entry one level deeper than the
// one before is its child; a deeper jump is taken as one level.
void BuildPages(const std::vector<TMeDocEntry>& entries, const TFormatOptions& options, TOutlineTree& out) {
  std::vector<TTreeNode*> open;  // open[d] is the latest page at depth d + 1
  out.BeginUpdate();
  for (const TMeDocEntry& e : entries) {
    const std::size_t depth = std::min(static_cast<std::size_t>(std::max(e.dots, 1)), open.size() + 1);
    open.resize(depth - 1);
    auto data = std::make_unique<TNodeData>();
    data->SetBody(e.body);
    TTreeNode* page = out.AddChildObject(open.empty() ? nullptr : open.back(), StoredTitle(e.title), std::move(data));
    out.SetImageIndex(page, pic::kMemo);
    if (options.ClearLabel1) out.SetStateIndex(page, pic::kBlankLabel);
    page->Data()->SetMark(pic::kMemo);
    page->Data()->SetLabel(LabelFromStateIndex(page->StateIndex()));
    open.push_back(page);
  }
  if (!out.GetFirstNode()) {
    TTreeNode* page = out.AddChild(nullptr, texts::Untitled());
    out.SetImageIndex(page, pic::kMemo);
  }
  TTreeNode* last = out.GetLastRootPage();
  if (last->Text() == texts::TrashTitle()) UpdateTrashPicture(out, last);
  out.EndUpdate();
}

}  // namespace

std::vector<TMeDocEntry> CollectMeDocEntries(const TOutlineTree& tree, const TTreeNode* start, TMeDocScope scope) {
  std::vector<TMeDocEntry> entries;
  auto add = [&](const TTreeNode* page, int dots) {
    entries.push_back({page->Text(), dots, page->Data() ? page->Data()->Body() : std::string()});
  };
  if (scope == TMeDocScope::Children) {
    const int count = start ? start->Count() : tree.RootCount();
    for (int i = 0; i < count; ++i) add(start ? start->Item(i) : tree.RootPage(i), 0);
    return entries;
  }
  const TTreeNode* first = start ? start : tree.GetFirstNode();
  if (!first) return entries;
  // Levels come from the walk itself: asking each page would climb a deep tree once per page.
  TLevelWalk levels;
  const int startLevel = levels.LevelOf(first);
  int top = startLevel;
  const TTreeNode* end = scope == TMeDocScope::Subtree ? NextAfterSubtree(first) : nullptr;
  for (const TTreeNode* page = first; page != end; page = page->GetNext()) {
    const int level = levels.LevelOf(page);
    top = std::min(top, level);
    add(page, level - top + 1);
  }
  return entries;
}

std::string BuildMeDocText(const std::vector<TMeDocEntry>& entries) {
  std::vector<std::vector<std::string>> bodies;
  bodies.reserve(entries.size());
  std::size_t size = 32;
  for (const TMeDocEntry& e : entries) {
    bodies.push_back(StrToStrings(e.body));
    size += e.title.size() + e.body.size() + static_cast<std::size_t>(std::max(e.dots, 0)) + 16;
  }
  std::string text;
  text.reserve(size);
  text += kIndexHead;
  text += std::to_string(entries.size());
  text += "\r\n";
  std::size_t line = entries.size() + 2;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    text += std::to_string(line);
    text += ':';
    text.append(static_cast<std::size_t>(std::max(entries[i].dots, 0)), '.');
    text += entries[i].title;
    text += "\r\n";
    line += bodies[i].size();
  }
  for (const auto& lines : bodies) text += JoinBody(lines, 0, lines.size());
  return text;
}

bool ParseMeDocText(std::string_view text, std::vector<TMeDocEntry>& entries) {
  entries.clear();
  if (text.substr(0, kIndexHead.size()) != kIndexHead) return false;
  const std::vector<std::string> lines = StrToStrings(text);
  const auto count = ParseCount(TrimControl(std::string_view(lines[0]).substr(kIndexHead.size())));
  if (!count || *count > lines.size() - 1) return false;
  // Without entries, any text after the index line would belong to no page.
  if (*count == 0 && lines.size() > 1) return false;

  std::vector<std::size_t> starts;  // 0-based first line of each body
  starts.reserve(*count + 1);
  for (std::size_t k = 0; k < *count; ++k) {
    const std::string_view line = lines[1 + k];
    const std::size_t colon = line.find(':');
    const auto number = colon == std::string_view::npos ? std::nullopt : ParseCount(line.substr(0, colon));
    if (!number) return false;
    const std::size_t first = k == 0 ? *count + 2 : starts.back() + 1;
    if (k == 0 ? *number != first : *number < first) return false;
    if (*number > lines.size() + 1) return false;
    starts.push_back(*number - 1);
    std::size_t dots = colon + 1;
    while (dots < line.size() && line[dots] == '.') ++dots;
    TMeDocEntry e;
    e.dots = static_cast<int>(std::min<std::size_t>(dots - colon - 1, 1 << 20));
    e.title = std::string(line.substr(dots));
    entries.push_back(std::move(e));
  }
  starts.push_back(lines.size());
  for (std::size_t k = 0; k < entries.size(); ++k) entries[k].body = JoinBody(lines, starts[k], starts[k + 1]);
  return true;
}

TPalmDocResult WriteMeDoc(const std::string& path, const TOutlineTree& tree, const TTreeNode* start,
                          TMeDocScope scope, std::string_view databaseName) {
  const std::string text = BuildMeDocText(CollectMeDocEntries(tree, start, scope));
  return WritePalmDocFile(path, text, databaseName, TPalmDocOptions{});
}

TPalmDocResult WriteMeDocDocument(const std::string& path, const TOutlineTree& tree) {
  return WriteMeDoc(path, tree, nullptr, TMeDocScope::FromPage, DatabaseNameFromPath(path));
}

TPalmDocResult ReadPalmDocPagesBytes(std::string_view image, const TFormatOptions& options, TOutlineTree& out) {
  std::string text;
  TPalmDocInfo info;
  const TPalmDocResult r = DecodePalmDoc(image, TPalmDocOptions{}, text, &info);
  if (r != TPalmDocResult::Ok) return r;
  std::vector<TMeDocEntry> entries;
  if (!ParseMeDocText(text, entries)) {
    TLightStrings lines;
    lines.LoadFromBytes(text);
    entries.assign(1, TMeDocEntry{info.name, 1, lines.GetTextStr()});
  }
  BuildPages(entries, options, out);
  return TPalmDocResult::Ok;
}

TPalmDocResult ReadPalmDocLines(const std::string& path, std::string& text) {
  std::string decoded;
  const TPalmDocResult r = ReadPalmDocFile(path, TPalmDocOptions{}, decoded);
  if (r != TPalmDocResult::Ok) return r;
  TLightStrings lines;
  lines.LoadFromBytes(decoded);
  text = lines.GetTextStr();
  return TPalmDocResult::Ok;
}

TPalmDocResult ReadPalmDocPages(const std::string& path, const TFormatOptions& options, TOutlineTree& out) {
  std::string image;
  if (ReadWholeFile(path, image) != TReadResult::Ok) return TPalmDocResult::OpenFailed;
  return ReadPalmDocPagesBytes(image, options, out);
}

}  // namespace nuv
