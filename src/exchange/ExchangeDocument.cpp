// Dispatch of the exchange readers and writers by format.
#include "exchange/ExchangeDocument.h"

#include "exchange/HtmlExport.h"
#include "exchange/Markdown.h"
#include "exchange/Opml.h"

namespace nuv {

TExchangeReadResult ReadExchangeDocument(const std::string& path, TExchangeFormat format,
                                         const TExchangeReadOptions& options, TOutlineTree& out) {
  if (format == TExchangeFormat::Opml) return ReadOpml(path, options, out);
  return ReadMarkdown(path, options, out);
}

TExchangeWriteResult WriteExchangeDocument(const std::string& path, TExchangeFormat format, const TOutlineTree& tree,
                                           bool markdownBodies) {
  switch (format) {
    case TExchangeFormat::Opml: return WriteOpml(path, tree);
    case TExchangeFormat::Markdown: return WriteMarkdown(path, tree);
    case TExchangeFormat::Html: return WriteHtml(path, tree, markdownBodies);
    case TExchangeFormat::None: break;
  }
  return {};
}

}  // namespace nuv
