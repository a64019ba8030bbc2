// Links written into page text: their syntax, how a token is read as a link,
// and how the links the commands insert are written.
//
// A link is a token the editor reports (a bracket run such as "<node:Plan>",
// a URL or a mail address). Titles, line texts and paths are Shift JIS and
// compared byte for byte. Reading never cuts a trail byte: only a closing ">"
// is removed, and a token without one is taken as it stands. Writing refuses
// a name that would make the link point elsewhere (">", CR, LF, and "/node:"
// inside a line text), so every link written reads back as the same target.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nuv {

enum class TLinkKind {
  None,        // not a link
  Page,        // "<node:" title ">" or "<node@" title ">"
  Line,        // "<line:" text ">" or "<line:" text "/node:" title ">"
  File,        // "<file@" path ">"
  FileUrl,     // "file://" path (percent-encoded)
  Url,         // "http:", "https:", "ftp:" or "www." as the editor recognises them
  Mail,        // a mail address, with or without "mailto:"
  DirectLink,  // "<DirectLink:" path ">", a page body's first line
};

struct TLink {
  TLinkKind kind = TLinkKind::None;
  // Page: the title. Line: the page's title when the link names one.
  std::string title;
  bool hasTitle = false;
  // Line: the text the line begins with.
  std::string lineText;
  // File and DirectLink: the path as written (Shift JIS). FileUrl: the
  // decoded path as native bytes. Url and Mail: the token's text.
  std::string target;
};

// The link prefixes, byte for byte.
inline constexpr std::string_view kNodeLinkPrefix = "<node:";
inline constexpr std::string_view kNodeLinkCompatPrefix = "<node@";
inline constexpr std::string_view kLineLinkPrefix = "<line:";
inline constexpr std::string_view kLineLinkNodeSeparator = "/node:";
inline constexpr std::string_view kFileLinkPrefix = "<file@";
inline constexpr std::string_view kFileUrlPrefix = "file://";
inline constexpr std::string_view kDirectLinkPrefix = "<DirectLink:";
inline constexpr std::string_view kMailtoPrefix = "mailto:";

// Reads a token's whole text (delimiters included) as a link.
TLink ParseLink(std::string_view token);

// Whether the pointer over this token becomes the hand: every link that
// following can act on (a direct link's line is not followed).
inline bool IsFollowableLink(std::string_view token) {
  const TLinkKind kind = ParseLink(token).kind;
  return kind != TLinkKind::None && kind != TLinkKind::DirectLink;
}

// ---- writing links. Each returns nothing when the name cannot be written
// so that it reads back as the same target.

// "<node:" title ">", or "<node@" title ">" in the compatible form.
std::optional<std::string> MakePageLink(std::string_view title, bool compatible);
// "<line:" text ">", or with "/node:" title when a page is named.
std::optional<std::string> MakeLineLink(std::string_view lineText, std::optional<std::string_view> title);
// "<file@" path ">" from a native path (refused when Shift JIS cannot hold it).
std::optional<std::string> MakeFileLink(const std::string& nativePath);
// "<DirectLink:" path ">" from a native path.
std::optional<std::string> MakeDirectLink(const std::string& nativePath);
// "file://" + the absolute native path, percent-encoded (ASCII only).
std::string MakeFileUrl(const std::string& absoluteNativePath);

// The path a link stores for a target: absolute, or relative to the
// document's folder ("./x", "../x") when `relative` and the document has a
// folder; native bytes.
std::string LinkPathFor(const std::string& targetNativePath, const std::string& documentPath, bool relative);

// A page title from a file name (the last path component, extension kept):
// through the codec, then the title rule; nothing when Shift JIS cannot hold it.
std::optional<std::string> TitleFromFileName(const std::string& nativePath);

// Every "\" character (never a trail byte) as "/".
std::string BackslashesToSlashes(std::string_view sjis);

}  // namespace nuv
