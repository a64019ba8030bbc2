// F1 opens the user manual, shipped in the bundled files, in the desktop's browser.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QTest>
#include <QUrl>

#include "base/FileIo.h"
#include "base/ProgramFolder.h"
#include "support/WindowFixture.h"

namespace nuv::test {
namespace {

// Stands in for the desktop's browser.
class TUrlCatcher : public QObject {
  Q_OBJECT
 public slots:
  void Open(const QUrl& url) { urls.append(url); }

 public:
  QList<QUrl> urls;
};

TEST_F(WindowTest, F1OpensTheManualInTheBrowser) {
  TUrlCatcher browser;
  QDesktopServices::setUrlHandler("file", &browser, "Open");
  Start();
  QApplication::setActiveWindow(window.get());
  QTest::keyClick(window.get(), Qt::Key_F1);
  QDesktopServices::unsetUrlHandler("file");
  ASSERT_EQ(browser.urls.size(), 1);
  const std::string manual = browser.urls[0].toLocalFile().toStdString();
  EXPECT_EQ(manual, ShareFolder() + "/manual.html");
  std::string html;
  ASSERT_EQ(ReadWholeFile(manual, html), TReadResult::Ok);
  // Japanese with English beside it, and the whole macro reference.
  for (const char* part : {"lang=\"ja\"", "User manual", "id=\"macro-ref\"", "GetNodeText", "StrToFloat", "SelLength"})
    EXPECT_NE(html.find(part), std::string::npos) << part;
}

}  // namespace
}  // namespace nuv::test

#include "HelpTest.moc"
