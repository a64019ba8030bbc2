// Page printing: the core lays the text out, this draws it.
#include "app/PagePrinter.h"

#include <QFontMetrics>
#include <algorithm>
#include <QPainter>
#include <QPrinter>

#include "app/QtText.h"
#include "outline/PrintLayout.h"

namespace nuv {

int PrintPageText(QPrinter& printer, const TPagePrintJob& job) {
  printer.setDocName(QStringLiteral("nuv:") + ToQString(job.title));
  QPainter painter;
  if (!painter.begin(&printer)) return 0;
  QFont font(job.fontFamily);
  font.setPointSize(std::max(1, job.fontPointSize));
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.setBackground(Qt::white);
  const QFontMetrics metrics(font, &printer);
  const TPrintMetrics layoutMetrics{printer.height(), metrics.height()};
  const int lineHeight = PrintLineHeight(layoutMetrics);
  const auto sheets = LayoutPrintPages(job.text, PrintLinesPerPage(layoutMetrics), job.tabWidth);
  for (std::size_t s = 0; s < sheets.size(); ++s) {
    if (s > 0) printer.newPage();
    int top = layoutMetrics.margin;
    for (const std::string& line : sheets[s]) {
      painter.drawText(layoutMetrics.margin, top + metrics.ascent(), ToQString(line));
      top += lineHeight;
    }
  }
  painter.end();
  return static_cast<int>(sheets.size());
}

}  // namespace nuv
