// What following a link does: select a page, select a line, or hand one
// absolute path or one URL of a known scheme to the desktop's opener.
// Nothing in a link is ever run, and nothing goes through a shell.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "outline/Links.h"

namespace nuv {

class TOutlineTree;
class TTreeNode;

enum class TLinkAction {
  Nothing,     // not a link, or its target cannot exist here
  SelectPage,  // select `page`
  SelectLine,  // select `page` when set (else stay), then FindLinkLine on the shown text
  OpenPath,    // the desktop's opener with `path`, one absolute native path
  OpenUrl,     // the desktop's opener with `url`, ASCII
};

struct TLinkOpen {
  TLinkAction action = TLinkAction::Nothing;
  TTreeNode* page = nullptr;
  std::string lineText;  // SelectLine
  std::string path;      // OpenPath
  std::string url;       // OpenUrl
};

// Decides what following the link does. `documentPath` is the open
// document's file (native), against whose folder relative paths resolve.
TLinkOpen DecideLinkOpen(const TLink& link, const TOutlineTree& tree, const std::string& documentPath);

// The first page in tree order whose title is exactly `title`.
TTreeNode* FindPageByTitle(const TOutlineTree& tree, std::string_view title);

struct TTextRange {
  int start = 0;
  int length = 0;
  bool operator==(const TTextRange&) const = default;
};
// The first line of `text` that begins with `lineText`: its start (a byte
// offset into text, whatever its line ends) and the length of lineText.
std::optional<TTextRange> FindLinkLine(std::string_view text, std::string_view lineText);

// A link's path (Shift JIS, "\" read as "/") as an absolute native path: an
// absolute path as it stands, a relative one against the document's folder.
// Nothing for an empty path, a drive-letter path, a NUL, or a relative path
// while the document has no folder.
std::optional<std::string> ResolveLinkPath(std::string_view sjisPath, const std::string& documentPath);

// "mailto:" and the address percent-encoded, so nothing in it can add
// headers or parameters; an address that already begins with "mailto:"
// loses that prefix first. Nothing for an empty address.
std::optional<std::string> MailtoUrl(std::string_view address);

}  // namespace nuv
