// Markdown documents: each page a heading of its depth ("#" to "######"),
// deeper pages a bold line "**" + one "#" per level + title + "**", the body
// following as it is. Reading finds the headings with a CommonMark parser, so
// a "#" line inside a fenced code block, a list or an HTML block stays body
// text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exchange/ExchangeFormat.h"

namespace nuv {

class IByteSink;
class TOutlineTree;

// Writes the whole document, UTF-8 with LF line ends. A body line that would
// read as a heading, or that would carry the rest of the file into a code or
// HTML block, gets a backslash after its indentation, which reading takes off.
TExchangeWriteResult BuildMarkdown(const TOutlineTree& tree, IByteSink& out);
TExchangeWriteResult WriteMarkdown(const std::string& path, const TOutlineTree& tree);

// Splits a Markdown text into pages in `out`, which must be empty. UTF-8 (a
// byte-order mark is skipped) or, when the bytes are not UTF-8, Shift JIS.
// Text before the first heading becomes a first page named `fileTitle`
// (Shift JIS); so does YAML front matter. An empty text gives one page "無題".
TExchangeReadResult ReadMarkdownBytes(std::string_view bytes, std::string_view fileTitle,
                                      const TExchangeReadOptions& options, TOutlineTree& out);
TExchangeReadResult ReadMarkdown(const std::string& path, const TExchangeReadOptions& options, TOutlineTree& out);

// A page boundary as the reader sees it: lines first..last (0-based) of a
// heading, and its depth.
struct TMarkdownHeading {
  int first = 0;
  int last = 0;
  int depth = 1;
  bool deep = false;  // a bold line of a page deeper than six levels
};
// The page boundaries of a UTF-8 text split into `lines` (CR LF, CR or LF).
std::vector<TMarkdownHeading> FindMarkdownHeadings(std::string_view utf8, const std::vector<std::string_view>& lines);

}  // namespace nuv
