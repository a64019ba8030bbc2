// Following links.
#include "outline/LinkOpen.h"

#include <filesystem>

#include "base/AsciiCase.h"
#include "base/Codec.h"
#include "base/Sjis.h"
#include "outline/OutlineTree.h"
#include "outline/UrlText.h"

namespace nuv {

namespace {

// Bytes a URL may carry as they are; the rest (blanks, quotes, angle
// brackets, control bytes, non-ASCII) is percent-encoded.
constexpr std::string_view kUrlKeep = ":/?#[]@!$&'()*+,;=%";

std::optional<std::string> AbsolutePath(std::string path, const std::string& documentPath) {
  namespace fs = std::filesystem;
  if (path.empty() || path.find('\0') != std::string::npos) return std::nullopt;
  // A drive letter names a Windows volume that does not exist here.
  if (path.size() > 1 && path[1] == ':') return std::nullopt;
  if (path[0] == '/') return fs::path(path).lexically_normal().string();
  const fs::path folder = fs::path(documentPath).parent_path();
  if (folder.empty() || !folder.is_absolute()) return std::nullopt;
  return (folder / path).lexically_normal().string();
}

std::string WebUrl(std::string_view token) {
  std::string url = Cp932ToUtf8(token);
  if (AsciiEqualNoCase(std::string_view(url).substr(0, 4), "www.")) url = "http://" + url;
  return PercentEncode(url, kUrlKeep);
}

}  // namespace

std::optional<std::string> ResolveLinkPath(std::string_view sjisPath, const std::string& documentPath) {
  return AbsolutePath(Cp932ToUtf8(BackslashesToSlashes(sjisPath)), documentPath);
}

std::optional<std::string> MailtoUrl(std::string_view address) {
  if (AsciiEqualNoCase(address.substr(0, kMailtoPrefix.size()), kMailtoPrefix))
    address.remove_prefix(kMailtoPrefix.size());
  if (address.empty()) return std::nullopt;
  return std::string(kMailtoPrefix) + PercentEncode(Cp932ToUtf8(address), "@+");
}

TTreeNode* FindPageByTitle(const TOutlineTree& tree, std::string_view title) {
  for (TTreeNode* page = tree.GetFirstNode(); page; page = page->GetNext())
    if (page->Text() == title) return page;
  return nullptr;
}

std::optional<TTextRange> FindLinkLine(std::string_view text, std::string_view lineText) {
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    if (line.substr(0, lineText.size()) == lineText)
      return TTextRange{static_cast<int>(start), static_cast<int>(lineText.size())};
    if (end == text.size()) break;
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    if (start == text.size()) break;  // the final line end starts no line
  }
  return std::nullopt;
}

TLinkOpen DecideLinkOpen(const TLink& link, const TOutlineTree& tree, const std::string& documentPath) {
  TLinkOpen open;
  switch (link.kind) {
    case TLinkKind::Page:
      open.page = FindPageByTitle(tree, link.title);
      if (open.page) open.action = TLinkAction::SelectPage;
      break;
    case TLinkKind::Line:
      open.action = TLinkAction::SelectLine;
      open.lineText = link.lineText;
      if (link.hasTitle) open.page = FindPageByTitle(tree, link.title);
      break;
    case TLinkKind::File:
      if (auto path = ResolveLinkPath(link.target, documentPath)) {
        open.action = TLinkAction::OpenPath;
        open.path = std::move(*path);
      }
      break;
    case TLinkKind::FileUrl:
      if (auto path = AbsolutePath(link.target, documentPath)) {
        open.action = TLinkAction::OpenPath;
        open.path = std::move(*path);
      }
      break;
    case TLinkKind::Url:
      open.action = TLinkAction::OpenUrl;
      open.url = WebUrl(link.target);
      break;
    case TLinkKind::Mail:
      if (auto url = MailtoUrl(link.target)) {
        open.action = TLinkAction::OpenUrl;
        open.url = std::move(*url);
      }
      break;
    case TLinkKind::DirectLink:
    case TLinkKind::None:
      break;
  }
  return open;
}

}  // namespace nuv
