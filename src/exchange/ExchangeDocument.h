// One entry to the OPML, Markdown and HTML readers and writers by format, for
// the window and nuvtool.
#pragma once

#include <string>

#include "exchange/ExchangeFormat.h"

namespace nuv {

class TOutlineTree;

// Reads an OPML or Markdown file into the empty `out`.
TExchangeReadResult ReadExchangeDocument(const std::string& path, TExchangeFormat format,
                                         const TExchangeReadOptions& options, TOutlineTree& out);
// Writes the whole document as OPML, Markdown or HTML (`markdownBodies` for HTML only).
TExchangeWriteResult WriteExchangeDocument(const std::string& path, TExchangeFormat format, const TOutlineTree& tree,
                                           bool markdownBodies = false);

}  // namespace nuv
