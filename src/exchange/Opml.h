// OPML 2.0 documents: each page an `outline` element whose `text` is the
// title and `_note` the body; marks, labels and expanded pages hidden from
// the head's `expansionState` in attributes of the nuv namespace.
#pragma once

#include <string>
#include <string_view>

#include "exchange/ExchangeFormat.h"

namespace nuv {

class IByteSink;
class TOutlineTree;
class TTreeNode;

// The namespace of the nuv attributes.
inline constexpr std::string_view kNuvOpmlNamespace = "urn:x-nuv:opml";

// Writes the whole document; `name` (UTF-8) is the head's title.
TExchangeWriteResult BuildOpml(const TOutlineTree& tree, std::string_view name, IByteSink& out);
TExchangeWriteResult WriteOpml(const std::string& path, const TOutlineTree& tree);

// Reads a document into `out`, which must be empty. Nothing outside the
// bytes is ever read: a DOCTYPE's external parts and external entities are
// not resolved. An empty body gives one page "無題".
TExchangeReadResult ReadOpmlBytes(std::string_view bytes, const TExchangeReadOptions& options, TOutlineTree& out);
TExchangeReadResult ReadOpml(const std::string& path, const TExchangeReadOptions& options, TOutlineTree& out);

}  // namespace nuv
