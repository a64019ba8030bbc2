// Prints a page's text on a printer or into a PDF file.
#pragma once

#include <QString>
#include <string>

class QPrinter;

namespace nuv {

struct TPagePrintJob {
  std::string title;  // the title box's text; the job is named "nuv:" + title
  std::string text;   // the page's text, Shift JIS
  QString fontFamily;
  int fontPointSize = 9;
  int tabWidth = 4;
};

// Draws the text black on white, one sheet after another, with the layout
// rules of PrintLayout.h; returns the number of sheets, 0 when the printer
// could not be started.
int PrintPageText(QPrinter& printer, const TPagePrintJob& job);

}  // namespace nuv
