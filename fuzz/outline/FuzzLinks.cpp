// Fuzzes the link reader, the link writers, following links and the date
// patterns: every link written reads back as its target, and what following
// a link opens is one absolute path or one clean ASCII URL.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "outline/CaretPos.h"
#include "outline/DateTimeFormat.h"
#include "outline/LinkOpen.h"
#include "outline/Links.h"
#include "outline/OutlineTree.h"

// A broken invariant ends the run as a crash the fuzzer reports.
#define CHECK(condition) \
  if (!(condition)) std::abort()

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nuv;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
  const std::string_view first = bytes.substr(0, cut), second = bytes.substr(cut);

  TOutlineTree tree;
  tree.Add(nullptr, first);
  tree.Add(nullptr, second);
  const TLink link = ParseLink(bytes);
  const TLinkOpen open = DecideLinkOpen(link, tree, size % 2 ? "/doc/folder/outline.pk2" : "");
  if (open.action == TLinkAction::OpenPath) CHECK(!open.path.empty() && open.path[0] == '/' && open.path.find('\0') == std::string::npos);
  if (open.action == TLinkAction::OpenUrl)
    for (const char c : open.url) CHECK(c > 0x20 && c < 0x7F && c != '"' && c != '<' && c != '>' && c != '\\');
  if (open.action == TLinkAction::SelectPage) CHECK(open.page && open.page->Text() == link.title);
  (void)FindLinkLine(second, first);

  // Written links read back as what they were made from.
  if (const auto page = MakePageLink(first, size % 3 == 0)) {
    const TLink back = ParseLink(*page);
    CHECK(back.kind == TLinkKind::Page && back.title == first);
  }
  if (const auto line = MakeLineLink(first, second)) {
    const TLink back = ParseLink(*line);
    CHECK(back.kind == TLinkKind::Line && back.lineText == first && back.hasTitle && back.title == second);
  }
  const std::string url = MakeFileUrl("/" + std::string(second));
  const TLink fileUrl = ParseLink(url);
  if (second.find('\0') == std::string_view::npos) CHECK(fileUrl.kind == TLinkKind::FileUrl);

  TDateTimeParts when;
  when.weekday = static_cast<int>(size % 7);
  (void)FormatDateTime(bytes, when);
  const int caret = ClampCaretPos(second, static_cast<int64_t>(cut) - 3);
  CHECK(caret >= 0 && static_cast<std::size_t>(caret) <= second.size());
  return 0;
}
