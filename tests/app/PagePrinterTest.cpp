// Printing a page into a PDF file, read back with poppler's pdfinfo and
// pdftotext: the sheet count, the text in order, tabs, and a font so large
// that each sheet holds one line.
#include <gtest/gtest.h>

#include <QPrinter>
#include <regex>

#include "app/PagePrinter.h"
#include "support/ChildProcess.h"

namespace nuv {
namespace {

using test::Sj;

int PdfPages(const std::string& pdf) {
  const test::TChildResult info = test::RunChild({"pdfinfo", pdf});
  std::smatch m;
  if (info.exitCode != 0 || !std::regex_search(info.out, m, std::regex("Pages:\\s+(\\d+)"))) return -1;
  return std::stoi(m[1]);
}

std::string PdfText(const std::string& pdf, int page) {
  const std::string n = std::to_string(page);
  return test::RunChild({"pdftotext", "-layout", "-f", n, "-l", n, pdf, "-"}).out;
}

int PrintToPdf(const std::string& pdf, const TPagePrintJob& job) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(pdf));
  return PrintPageText(printer, job);
}

TEST(PagePrinterTest, AHundredLinesFillTheSheetsInOrder) {
  test::TTempDir dir;
  std::string text = Sj("表ソ\t能\r\n");
  for (int i = 2; i <= 100; ++i) text += "line " + std::to_string(i) + "\r\n";
  const std::string pdf = dir.File("page.pdf");
  const int sheets = PrintToPdf(pdf, {"Plan", text, QStringLiteral("IPAGothic"), 12, 4});
  ASSERT_GE(sheets, 2);
  EXPECT_EQ(PdfPages(pdf), sheets);
  const std::string first = PdfText(pdf, 1);
  // The tab is printed as blanks (their count is the layout's, tested in the core).
  EXPECT_TRUE(std::regex_search(first, std::regex("^表ソ +能\n"))) << first;
  // Every line is on exactly one sheet, in order.
  int expectedLine = 2;
  for (int s = 1; s <= sheets; ++s) {
    const std::string sheet = PdfText(pdf, s);
    std::size_t at = 0;
    for (;; ++expectedLine) {
      const std::size_t found = sheet.find("line " + std::to_string(expectedLine) + "\n", at);
      if (found == std::string::npos) break;
      at = found;
    }
  }
  EXPECT_EQ(expectedLine, 101);
}

TEST(PagePrinterTest, AHugeFontStillPrintsOneLinePerSheet) {
  test::TTempDir dir;
  const std::string pdf = dir.File("huge.pdf");
  EXPECT_EQ(PrintToPdf(pdf, {"Big", "one\r\ntwo\r\nthree\r\n", QStringLiteral("IPAGothic"), 2000, 0}), 3);
  EXPECT_EQ(PdfPages(pdf), 3);
}

TEST(PagePrinterTest, AnEmptyPagePrintsOneSheet) {
  test::TTempDir dir;
  const std::string pdf = dir.File("empty.pdf");
  EXPECT_EQ(PrintToPdf(pdf, {"", "", QStringLiteral("IPAGothic"), 9, 4}), 1);
  EXPECT_EQ(PdfPages(pdf), 1);
}

}  // namespace
}  // namespace nuv
