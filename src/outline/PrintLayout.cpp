// Print layout.
#include "outline/PrintLayout.h"

#include <algorithm>
#include <cstdlib>

#include "base/Sjis.h"

namespace nuv {

int PrintLineHeight(const TPrintMetrics& metrics) {
  const long long height = std::llabs(static_cast<long long>(metrics.fontHeight)) + 2;
  return static_cast<int>(std::min<long long>(height, 1LL << 30));
}

int PrintLinesPerPage(const TPrintMetrics& metrics) {
  const long long usable = static_cast<long long>(metrics.pageHeight) - 2LL * metrics.margin;
  return static_cast<int>(std::max<long long>(1, usable / PrintLineHeight(metrics)));
}

std::string ExpandPrintTabs(std::string_view line, int tabWidth) {
  const std::size_t width = static_cast<std::size_t>(std::max(1, tabWidth));
  std::string out;
  out.reserve(line.size());
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t length = CharLength(line, i);
    if (length == 1 && line[i] == '\t') {
      // The TAB at 1-based column c becomes w - n + 1 spaces, n = c mod w (w when 0).
      const std::size_t column = out.size() + 1;
      const std::size_t n = column % width == 0 ? width : column % width;
      out.append(width - n + 1, ' ');
    } else {
      out.append(line.substr(i, length));
    }
    i += length;
  }
  return out;
}

std::vector<std::vector<std::string>> LayoutPrintPages(std::string_view text, int linesPerPage, int tabWidth) {
  const std::size_t perPage = static_cast<std::size_t>(std::max(1, linesPerPage));
  std::vector<std::vector<std::string>> pages(1);
  for (const std::string& line : StrToStrings(text)) {
    if (pages.back().size() == perPage) pages.emplace_back();
    pages.back().push_back(ExpandPrintTabs(line, tabWidth));
  }
  return pages;
}

}  // namespace nuv
