// How a page's text is laid out on printed sheets: lines, tabs and page
// breaks. The window draws what this decides.
//
// Lines are not wrapped; text past the sheet's width is cut by the printer.
// Every sheet holds at least one line whatever the font, and a tab width
// below 1 counts as 1, so no layout divides by zero or loops.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nuv {

struct TPrintMetrics {
  int pageHeight = 0;  // printable height in printer units
  int fontHeight = 0;  // the font's height; its absolute value is used
  int margin = 20;     // left and top margin
};

// The line height: |font height| + 2.
int PrintLineHeight(const TPrintMetrics& metrics);
// (page height - 2 margins) / line height, at least 1.
int PrintLinesPerPage(const TPrintMetrics& metrics);

// A line with every TAB replaced by spaces up to the next multiple of the
// tab width (counted in bytes, a double-byte character being two columns).
std::string ExpandPrintTabs(std::string_view line, int tabWidth);

// The text's lines, tabs expanded, grouped into sheets of linesPerPage; an
// empty text prints one empty sheet.
std::vector<std::vector<std::string>> LayoutPrintPages(std::string_view text, int linesPerPage, int tabWidth);

}  // namespace nuv
