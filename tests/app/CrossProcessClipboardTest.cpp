// A node block copied by one nuv process is pasted by another, through a real
// X clipboard served by Xvfb.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include "support/TempDir.h"

namespace nuv::test {
namespace {

TEST(CrossProcessClipboardTest, PagesCopiedInOneWindowArePastedInAnother) {
  const QString xvfb = QStandardPaths::findExecutable("Xvfb");
  if (xvfb.isEmpty()) GTEST_SKIP() << "Xvfb is not installed";
  int display = 90;
  while (display < 120 && QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display))) ++display;
  QProcess server;
  server.start(xvfb, {QStringLiteral(":%1").arg(display), "-nolisten", "tcp"});
  ASSERT_TRUE(server.waitForStarted());
  for (int i = 0; i < 100 && !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)); ++i) QThread::msleep(50);

  TTempDir home, docs;
  const std::string doc = docs.Write("doc.txt", ".A\r\nbody\r\n..A1\r\n.B\r\n");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("DISPLAY", QStringLiteral(":%1").arg(display));
  env.insert("QT_QPA_PLATFORM", "xcb");
  env.insert("NUV_HOME", QString::fromStdString(home.Path()));
  QProcess copier, paster;
  copier.setProcessEnvironment(env);
  paster.setProcessEnvironment(env);
  copier.start(CLIPBOARD_HELPER, {"copy", QString::fromStdString(doc)});
  ASSERT_TRUE(copier.waitForReadyRead(15000)) << copier.readAllStandardError().toStdString();
  EXPECT_EQ(copier.readLine().trimmed(), "ready");
  paster.start(CLIPBOARD_HELPER, {"paste"});
  ASSERT_TRUE(paster.waitForFinished(15000));
  const std::string out = paster.readAllStandardOutput().trimmed().toStdString();
  EXPECT_EQ(out, "A .A1 " + Sj("無題"));  // the pasted subtree before the new document's own page
  copier.closeWriteChannel();
  if (!copier.waitForFinished(5000)) copier.kill();
  server.terminate();
  server.waitForFinished(3000);
}

}  // namespace
}  // namespace nuv::test
