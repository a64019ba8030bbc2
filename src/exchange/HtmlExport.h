// The document as one self-contained UTF-8 HTML file: a table of contents
// of nested lists linking to every page, then one section per page with its
// heading and body, styled for the reader's light or dark preference.
#pragma once

#include <string>
#include <string_view>

#include "exchange/ExchangeFormat.h"

namespace nuv {

class IByteSink;
class TOutlineTree;

struct THtmlOptions {
  std::string title;            // UTF-8: the document's name
  bool markdownBodies = false;  // render bodies as CommonMark; raw HTML in them is shown as text
};

TExchangeWriteResult BuildHtml(const TOutlineTree& tree, const THtmlOptions& options, IByteSink& out);
// The title defaults to the file's name without its extension.
TExchangeWriteResult WriteHtml(const std::string& path, const TOutlineTree& tree, bool markdownBodies);

// A Markdown text (UTF-8) as safe HTML: raw HTML blocks and inline tags
// become text, and links of unsafe schemes are dropped.
std::string RenderMarkdownSafely(std::string_view utf8);

}  // namespace nuv
