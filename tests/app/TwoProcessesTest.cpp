// Two real nuv processes on the same document: the second finds the first
// through its document socket and asks it to come to the front.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include "app/DocumentRegistry.h"
#include "outline/BinaryFormat.h"
#include "support/OutlineFixtures.h"

namespace nuv::test {
namespace {

QProcessEnvironment Environment(const TTempDir& home, const char* answer) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("NUV_HOME", QString::fromStdString(home.Path()));
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("NUV_TRACE_ACTIVATION", "1");
  if (answer) env.insert("NUV_PREOPEN_ANSWER", answer);
  return env;
}

bool WaitFor(const std::function<bool()>& condition, int ms = 10000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > ms) return false;
    QThread::msleep(20);
  }
  return true;
}

TEST(TwoProcessesTest, TheSecondWindowFindsTheFirstAndActivatesIt) {
  TTempDir home, docs;
  TOutlineTree tree;
  BuildPlanExample(tree);
  const std::string doc = docs.File("plan.pk2");
  ASSERT_TRUE(WriteBinary(doc, tree, nullptr));

  QProcess first;
  first.setProcessEnvironment(Environment(home, nullptr));
  first.start(NUV_PROGRAM, {QString::fromStdString(doc)});
  ASSERT_TRUE(first.waitForStarted());
  ASSERT_TRUE(WaitFor([&] { return TDocumentRegistry::IsOpen(doc); }));

  QProcess second;
  second.setProcessEnvironment(Environment(home, "1"));  // activate the open window
  second.start(NUV_PROGRAM, {QString::fromStdString(doc)});
  ASSERT_TRUE(second.waitForFinished(10000));
  EXPECT_EQ(second.exitCode(), 0);
  QByteArray said;
  EXPECT_TRUE(WaitFor([&] {
    first.waitForReadyRead(50);
    said += first.readAllStandardError();
    return said.contains("nuv: activated");
  }));

  // Cancel at start-up ends the second program too; the first keeps the document.
  QProcess third;
  third.setProcessEnvironment(Environment(home, "3"));
  third.start(NUV_PROGRAM, {QString::fromStdString(doc)});
  ASSERT_TRUE(third.waitForFinished(10000));
  EXPECT_TRUE(TDocumentRegistry::IsOpen(doc));
  first.terminate();
  if (!first.waitForFinished(5000)) first.kill();
}

}  // namespace
}  // namespace nuv::test
