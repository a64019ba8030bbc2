// OPML, Markdown and HTML from the window: reading with the question before
// characters Shift JIS cannot hold are replaced, writing with the warning
// about control bytes that XML cannot hold, and import at the selected page.
#pragma once

#include <string>

#include "exchange/ExchangeFormat.h"

namespace nuv {

class IWindowServices;
class TOutlineTree;

// Reads an OPML or Markdown file into the empty `out`. A character Shift JIS
// cannot hold asks whether to replace it by "〓"; the errors are shown.
// False when nothing was read.
bool ReadExchangeFile(IWindowServices& window, const std::string& path, TExchangeFormat format, TOutlineTree& out);
// Writes the document; shows the error box, or the warning that names the
// first page whose control bytes were left out. True when written.
bool WriteExchangeFile(IWindowServices& window, const std::string& path, TExchangeFormat format,
                       bool markdownBodies = false);
// Imports the file's pages after the selected page and selects the first.
bool ImportExchangeFile(IWindowServices& window, const std::string& path, TExchangeFormat format);

}  // namespace nuv
