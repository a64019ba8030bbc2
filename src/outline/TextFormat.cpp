// Hierarchical text reader and writer.
//
// The reader places each heading relative to the previous page P by a running
// depth `current`: the same depth adds a page after P, a greater one a child
// of P, a smaller one climbs from P once per step and adds after the page
// reached. Pages are built in a detached tree and handed to the document only
// when the whole file has been read.
#include "outline/TextFormat.h"

#include <charconv>
#include <filesystem>
#include <optional>
#include <vector>

#include "base/Codec.h"
#include "base/CommaText.h"
#include "base/FileIo.h"
#include "base/Sjis.h"
#include "base/Title.h"
#include "outline/LightStrings.h"
#include "outline/OutlineTexts.h"
#include "outline/OutlineTree.h"
#include "outline/PagePictures.h"
#include "outline/TrashRules.h"

namespace nuv {

namespace {

constexpr std::string_view kMetaPrefix = "##nuv##,";

bool IsMetaLine(std::string_view line) { return line.substr(0, kMetaPrefix.size()) == kMetaPrefix; }

std::optional<int> ParseDecimal(std::string_view s) {
  int value = 0;
  if (s.empty()) return std::nullopt;
  const char* begin = s.data();
  if (*begin == '+') ++begin;
  const auto [ptr, ec] = std::from_chars(begin, s.data() + s.size(), value);
  if (ec != std::errc() || ptr != s.data() + s.size() || begin == s.data() + s.size()) return std::nullopt;
  return value;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const auto& l : lines) size += l.size() + 2;
  std::string text;
  text.reserve(size);
  for (const auto& l : lines) {
    text += l;
    text += "\r\n";
  }
  return text;
}

// Builds the pages of `lines` into `out`. With `placeholder` (import), it is
// the root page that stands for the import parent: P starts there, and pages
// at the import parent's depth become root pages after it.
void BuildPages(TLightStrings& lines, const TFormatOptions& options, TOutlineTree& out, TTreeNode* placeholder) {
  int current = placeholder ? 0 : 1;
  TTreeNode* p = placeholder;
  std::vector<std::string> pending;

  auto storePending = [&] {
    if (!p || p == placeholder) return;
    auto data = std::make_unique<TNodeData>();
    data->SetBody(JoinLines(pending));
    data->SetMark(p->ImageIndex());
    data->SetLabel(LabelFromStateIndex(p->StateIndex()));
    out.SetData(p, std::move(data));
    pending.clear();
  };

  std::vector<std::string>& all = lines.Lines();
  for (std::size_t n = 0; n < all.size(); ++n) {
    std::string& line = all[n];
    std::size_t d = 0;
    while (d < line.size() && line[d] == '.') ++d;
    if (d == 0) {
      if (!IsMetaLine(line)) pending.push_back(std::move(line));
      continue;
    }
    storePending();
    pending.clear();
    std::string_view rest = TrimControl(line);
    rest.remove_prefix(std::min(d, rest.size()));
    const std::string title(CutAtCharBoundary(TrimControl(rest), kMaxTitleBytes));

    const int j = static_cast<int>(std::min<std::size_t>(d, 1 << 20)) + (placeholder ? -1 : 0);
    TTreeNode* page;
    if (!p) {
      page = out.AddChild(nullptr, title);
    } else if (j == current) {
      page = out.InsertAfter(p, title);
    } else if (j > current) {
      page = out.AddChild(p, title);
    } else {
      TTreeNode* reached = p;
      for (int step = j; step < current && reached->Parent(); ++step) reached = reached->Parent();
      page = out.InsertAfter(reached, title);
    }
    p = page;

    // A metadata line with fewer than three items, or with items that are not
    // decimal numbers, gives the defaults: every file nuv writes opens, also
    // one whose body began with the metadata mark.
    const bool hasMeta = n + 1 < all.size() && IsMetaLine(all[n + 1]);
    const auto items = hasMeta ? ParseCommaText(all[n + 1]) : std::vector<std::string>();
    const auto mark = items.size() >= 3 ? ParseDecimal(items[1]) : std::nullopt;
    const auto state = items.size() >= 3 ? ParseDecimal(items[2]) : std::nullopt;
    if (mark && state) {
      const bool root = !page->Parent() || page->Parent() == placeholder;
      out.SetImageIndex(page, SanitizeMark(*mark, root, page->Text()));
      out.SetStateIndex(page, SanitizeStateIndex(*state));
    } else {
      out.SetImageIndex(page, pic::kMemo);
      if (options.ClearLabel1) out.SetStateIndex(page, pic::kBlankLabel);
    }
    if (options.PirkaCompatible) pending.push_back(title);
    current = j;
  }
  storePending();
}

void ApplyTrashCheck(TOutlineTree& tree) {
  TTreeNode* last = tree.GetLastRootPage();
  if (last && last->Text() == texts::TrashTitle()) UpdateTrashPicture(tree, last);
}

// Loads the lines and applies the heading check: a text that does not begin
// with a heading becomes one root page named after the file.
void PrepareLines(std::string_view bytes, std::string_view fileName, TLightStrings& lines) {
  lines.LoadFromBytes(bytes);
  if (lines.Count() == 0) return;
  const std::string& first = lines.Get(0);
  if (!first.empty() && first[0] == '.') return;
  for (std::string& line : lines.Lines())
    if (!line.empty() && line[0] == '.') line.insert(0, 1, '.');
  std::string heading(1, '.');
  heading.append(fileName);
  lines.Insert(0, std::move(heading));
}

// Whether every line end of a body is CR LF, so it can be written as it is.
bool OnlyCrLf(std::string_view body) {
  for (std::size_t i = body.find('\r'); i != std::string_view::npos; i = body.find('\r', i + 1))
    if (i + 1 >= body.size() || body[i + 1] != '\n') return false;
  for (std::size_t i = body.find('\n'); i != std::string_view::npos; i = body.find('\n', i + 1))
    if (i == 0 || body[i - 1] != '\r') return false;
  return true;
}

// Writes a body as lines: CR LF, CR or LF end a line (a NUL is kept as a
// character), and a final line break gives no empty last line. `headPrefix`
// goes in front of the first line; false when the body has no line at all.
bool AppendBodyLines(IByteSink& out, std::string_view body, std::string_view headPrefix) {
  if (body.empty()) return false;
  out.Append(headPrefix);
  if (OnlyCrLf(body)) {
    out.Append(body);
    if (body.size() < 2 || body.substr(body.size() - 2) != "\r\n") out.Append("\r\n");
    return true;
  }
  std::size_t start = 0;
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] != '\r' && body[i] != '\n') continue;
    out.Append(body.substr(start, i - start));
    out.Append("\r\n");
    if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < body.size()) {
    out.Append(body.substr(start));
    out.Append("\r\n");
  }
  return true;
}

void AppendMeta(IByteSink& out, const TTreeNode* page) {
  const std::string line = std::string(kMetaPrefix) + std::to_string(page->ImageIndex()) + "," +
                           std::to_string(page->StateIndex()) + "\r\n";
  out.Append(line);
}

}  // namespace

bool ReadTextBytes(std::string_view bytes, std::string_view fileName, const TFormatOptions& options,
                   TOutlineTree& out) {
  TLightStrings lines;
  PrepareLines(bytes, fileName, lines);
  BuildPages(lines, options, out, nullptr);
  if (!out.GetFirstNode()) {
    TTreeNode* page = out.AddChild(nullptr, texts::Untitled());
    out.SetImageIndex(page, pic::kMemo);
  }
  ApplyTrashCheck(out);
  out.FitChildren();
  return true;
}

bool ReadText(const std::string& path, const TFormatOptions& options, TOutlineTree& out) {
  TMappedFile file;
  if (file.Open(path) != TReadResult::Ok) return false;
  return ReadTextBytes(file.Bytes(), FileNameTitle(path), options, out);
}

TTreeNode* ImportTextBytes(std::string_view bytes, std::string_view fileName, const TFormatOptions& options,
                           TOutlineTree& doc, TTreeNode* importParent, bool& ok) {
  ok = false;
  TLightStrings lines;
  PrepareLines(bytes, fileName, lines);
  TOutlineTree scratch;
  TTreeNode* placeholder = scratch.AddChild(nullptr, std::string_view());
  BuildPages(lines, options, scratch, placeholder);
  ok = true;
  TTreeNode* first = placeholder->GetFirstChild() ? placeholder->GetFirstChild() : placeholder->GetNextSibling();
  if (!first) return nullptr;

  doc.BeginUpdate();
  // Children of the placeholder go under the import parent; the other root
  // pages of the scratch tree follow the import parent as its siblings.
  TTreeNode* siblingParent = importParent ? importParent->Parent() : nullptr;
  const int siblingIndex = importParent ? importParent->Index() + 1 : doc.RootCount();
  if (importParent)
    doc.AdoptChildren(importParent, importParent->Count(), scratch, placeholder);
  else
    doc.AdoptChildren(nullptr, doc.RootCount(), scratch, placeholder);
  scratch.Delete(placeholder);
  doc.AdoptChildren(siblingParent, importParent ? siblingIndex : doc.RootCount(), scratch, nullptr);
  ApplyTrashCheck(doc);
  doc.EndUpdate();
  return first;
}

TTreeNode* ImportText(const std::string& path, const TFormatOptions& options, TOutlineTree& doc,
                      TTreeNode* importParent, bool& ok) {
  TMappedFile file;
  if (file.Open(path) != TReadResult::Ok) {
    ok = false;
    return nullptr;
  }
  return ImportTextBytes(file.Bytes(), FileNameTitle(path), options, doc, importParent, ok);
}

bool BuildText(const TOutlineTree& tree, bool noTitles, const TTreeNode* subtreeRoot,
               const TFormatOptions& options, IByteSink& out) {
  const TTreeNode* start = subtreeRoot ? subtreeRoot : tree.GetFirstNode();
  if (!start) return false;
  const TTreeNode* end = subtreeRoot ? NextAfterSubtree(subtreeRoot) : nullptr;
  TLevelWalk levels;
  const int base = levels.LevelOf(start);
  const bool headingCarriesBody = options.PirkaCompatible || noTitles;
  std::string prefix;
  for (const TTreeNode* page = start; page != end; page = page->GetNext()) {
    prefix.assign(static_cast<std::size_t>(levels.LevelOf(page) - base + 1), '.');
    if (!headingCarriesBody) {
      out.Append(prefix);
      out.Append(page->Text());
      out.Append("\r\n");
      if (options.TextSaveWithData) AppendMeta(out, page);
      if (!page->Data())
        out.Append("\r\n");
      else
        AppendBodyLines(out, page->Data()->Body(), std::string_view());
      continue;
    }
    // The heading is the dots followed by the body's first line. A page
    // without a record or with an empty body still gets its heading, so it
    // and its children keep their places.
    const std::string_view body = page->Data() ? std::string_view(page->Data()->Body()) : std::string_view();
    const std::size_t firstEnd = std::min(body.find_first_of("\r\n"), body.size());
    std::size_t restStart = firstEnd;
    if (restStart < body.size()) restStart += (body[restStart] == '\r' && restStart + 1 < body.size() && body[restStart + 1] == '\n') ? 2 : 1;
    out.Append(prefix);
    out.Append(body.substr(0, firstEnd));
    out.Append("\r\n");
    if (options.TextSaveWithData) AppendMeta(out, page);
    AppendBodyLines(out, body.substr(restStart), std::string_view());
  }
  return true;
}

std::optional<std::size_t> TextHeadingMarkCount(const TOutlineTree& tree, const TTreeNode* subtreeRoot) {
  const TTreeNode* start = subtreeRoot ? subtreeRoot : tree.GetFirstNode();
  if (!start) return 0;
  const TTreeNode* end = subtreeRoot ? NextAfterSubtree(subtreeRoot) : nullptr;
  TLevelWalk levels;
  const int base = levels.LevelOf(start);
  std::size_t marks = 0;
  for (const TTreeNode* page = start; page != end; page = page->GetNext()) {
    marks += static_cast<std::size_t>(levels.LevelOf(page) - base + 1);
    if (marks > kMaxTextHeadingMarks) return std::nullopt;
  }
  return marks;
}

std::string BuildText(const TOutlineTree& tree, bool noTitles, const TTreeNode* subtreeRoot,
                      const TFormatOptions& options) {
  std::string text;
  TStringSink sink(text);
  BuildText(tree, noTitles, subtreeRoot, options, sink);
  return text;
}

TTextWriteResult WriteText(const std::string& path, const TOutlineTree& tree, bool noTitles,
                           const TTreeNode* subtreeRoot, const TFormatOptions& options) {
  const TTreeNode* start = subtreeRoot ? subtreeRoot : tree.GetFirstNode();
  if (!start) return TTextWriteResult::Empty;
  if (!TextHeadingMarkCount(tree, subtreeRoot)) return TTextWriteResult::TooLarge;
  TAtomicFileWriter writer(path);
  BuildText(tree, noTitles, subtreeRoot, options, writer);
  return writer.Commit() ? TTextWriteResult::Written : TTextWriteResult::Failed;
}

std::string FileNameTitle(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  std::u16string wide = Utf8ToUtf16(name);
  for (char16_t& c : wide)
    if (!CanEncodeCp932(std::u16string_view(&c, 1))) c = u'?';
  return EncodeCp932(wide).value_or(std::string());
}

}  // namespace nuv
