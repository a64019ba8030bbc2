// Reading and writing links.
#include "outline/Links.h"

#include <filesystem>

#include "base/AsciiCase.h"
#include "base/Codec.h"
#include "base/Sjis.h"
#include "base/Title.h"
#include "outline/UrlText.h"

namespace nuv {

namespace {

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return AsciiEqualNoCase(s.substr(0, prefix.size()), prefix);
}

// The text between a bracket prefix and the token's closing ">": the bracket
// ends at the first ">", and a token cut before its ">" is taken whole.
std::string_view BracketInner(std::string_view token, std::size_t prefixLength) {
  const std::string_view rest = token.substr(prefixLength);
  const std::size_t close = FindAtBoundary(rest, ">");
  return close == std::string_view::npos ? rest : rest.substr(0, close);
}

// Whether a name holds a character that ends a bracket or a line.
bool BreaksBracket(std::string_view name) {
  for (std::size_t i = 0; i < name.size(); i += CharLength(name, i)) {
    const char c = name[i];
    if (CharLength(name, i) == 1 && (c == '>' || c == '\r' || c == '\n')) return true;
  }
  return false;
}

bool LooksLikeMail(std::string_view token) {
  const std::size_t at = token.find('@');
  return at != std::string_view::npos && at > 0 && at + 1 < token.size();
}

bool IsWebUrl(std::string_view token) {
  for (std::string_view scheme : {"http:", "https:", "ftp:", "www."})
    if (StartsWithNoCase(token, scheme) && token.size() > scheme.size()) return true;
  return false;
}

std::optional<std::string> BracketLink(std::string_view prefix, const std::string& nativePath) {
  const std::optional<std::string> sjis = Utf8ToCp932(nativePath);
  if (!sjis || sjis->empty() || BreaksBracket(*sjis)) return std::nullopt;
  return std::string(prefix) + *sjis + ">";
}

}  // namespace

TLink ParseLink(std::string_view token) {
  TLink link;
  if (StartsWith(token, kNodeLinkPrefix) || StartsWith(token, kNodeLinkCompatPrefix)) {
    link.kind = TLinkKind::Page;
    link.title = BracketInner(token, kNodeLinkPrefix.size());
    link.hasTitle = true;
  } else if (StartsWith(token, kLineLinkPrefix)) {
    link.kind = TLinkKind::Line;
    std::string_view text = BracketInner(token, kLineLinkPrefix.size());
    const std::size_t separator = FindAtBoundary(text, kLineLinkNodeSeparator);
    if (separator != std::string_view::npos) {
      link.title = text.substr(separator + kLineLinkNodeSeparator.size());
      link.hasTitle = true;
      text = text.substr(0, separator);
    }
    link.lineText = text;
  } else if (StartsWith(token, kFileLinkPrefix)) {
    link.kind = TLinkKind::File;
    link.target = BracketInner(token, kFileLinkPrefix.size());
  } else if (StartsWith(token, kDirectLinkPrefix)) {
    link.kind = TLinkKind::DirectLink;
    link.target = BracketInner(token, kDirectLinkPrefix.size());
  } else if (StartsWithNoCase(token, kFileUrlPrefix)) {
    std::optional<std::string> path = FileUrlPath(token.substr(kFileUrlPrefix.size()));
    if (path) {
      link.kind = TLinkKind::FileUrl;
      link.target = std::move(*path);
    }
  } else if (IsWebUrl(token)) {
    link.kind = TLinkKind::Url;
    link.target = token;
  } else if (StartsWithNoCase(token, kMailtoPrefix) || LooksLikeMail(token)) {
    link.kind = TLinkKind::Mail;
    link.target = token;
  }
  return link;
}

std::optional<std::string> MakePageLink(std::string_view title, bool compatible) {
  if (BreaksBracket(title)) return std::nullopt;
  return std::string(compatible ? kNodeLinkCompatPrefix : kNodeLinkPrefix) + std::string(title) + ">";
}

std::optional<std::string> MakeLineLink(std::string_view lineText, std::optional<std::string_view> title) {
  // A "/node:" inside the text would read back as the start of a title.
  if (BreaksBracket(lineText) || FindAtBoundary(lineText, kLineLinkNodeSeparator) != std::string_view::npos)
    return std::nullopt;
  std::string link = std::string(kLineLinkPrefix) + std::string(lineText);
  if (title) {
    if (BreaksBracket(*title)) return std::nullopt;
    link += kLineLinkNodeSeparator;
    link += *title;
  }
  return link + ">";
}

std::optional<std::string> MakeFileLink(const std::string& nativePath) { return BracketLink(kFileLinkPrefix, nativePath); }

std::optional<std::string> MakeDirectLink(const std::string& nativePath) {
  return BracketLink(kDirectLinkPrefix, nativePath);
}

std::string MakeFileUrl(const std::string& absoluteNativePath) {
  return std::string(kFileUrlPrefix) + PercentEncode(absoluteNativePath, "/");
}

std::string LinkPathFor(const std::string& targetNativePath, const std::string& documentPath, bool relative) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(documentPath).parent_path();
  if (!relative || folder.empty() || !folder.is_absolute()) return targetNativePath;
  const fs::path rel = fs::path(targetNativePath).lexically_relative(folder);
  if (rel.empty()) return targetNativePath;
  const std::string text = rel.string();
  return StartsWith(text, "..") ? text : "./" + text;
}

std::optional<std::string> TitleFromFileName(const std::string& nativePath) {
  const std::size_t slash = nativePath.find_last_of('/');
  const std::string name = slash == std::string::npos ? nativePath : nativePath.substr(slash + 1);
  const std::optional<std::string> sjis = Utf8ToCp932(name);
  if (!sjis) return std::nullopt;
  std::string title = CleanTitle(DeriveTitle(*sjis));
  if (title.empty()) return std::nullopt;
  return title;
}

std::string BackslashesToSlashes(std::string_view sjis) {
  std::string out(sjis);
  for (std::size_t i = 0; i < out.size(); i += CharLength(out, i))
    if (out[i] == '\\') out[i] = '/';
  return out;
}

}  // namespace nuv
