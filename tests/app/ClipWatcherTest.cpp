// Auto-clipping on the real (offscreen) clipboard: nothing when listening
// starts, one text per change, texts held while the window is busy and
// handed over when it is idle.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>

#include "app/ClipWatcher.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Sj;

// Handles events until `done` or a generous deadline.
template <typename Done>
bool ProcessUntil(Done done) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < 10000) QApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

TEST(ClipWatcherTest, OneTextPerChangeNoneAtStartHeldWhileBusy) {
  bool busy = false;
  TClipWatcher watcher([&busy] { return busy; });
  std::vector<std::string> pages;
  QObject::connect(&watcher, &TClipWatcher::ClipText, [&](const std::string& text) {
    pages.push_back(text);
    if (text == "makes busy") busy = true;  // the new page's title edit
  });

  QApplication::clipboard()->setText(QStringLiteral("before"));
  QApplication::processEvents();
  EXPECT_TRUE(pages.empty());  // not listening
  watcher.SetListening(true);
  QApplication::processEvents();
  EXPECT_TRUE(pages.empty());  // the text already there stays a clipping of the past

  QApplication::clipboard()->setText(QStringLiteral("表ソ one"));
  QApplication::clipboard()->setText(QStringLiteral("two"));
  ASSERT_TRUE(ProcessUntil([&] { return pages.size() == 2; }));
  EXPECT_EQ(pages[0], Sj("表ソ one"));
  EXPECT_EQ(pages[1], "two");

  busy = true;
  QApplication::clipboard()->setText(QStringLiteral("makes busy"));
  QApplication::clipboard()->setText(QStringLiteral("after it"));
  QApplication::processEvents();
  EXPECT_EQ(pages.size(), 2u);
  busy = false;
  ASSERT_TRUE(ProcessUntil([&] { return pages.size() == 3; }));
  EXPECT_EQ(pages[2], "makes busy");
  // That page's title edit holds the next text back until it ends.
  QApplication::processEvents();
  EXPECT_EQ(pages.size(), 3u);
  busy = false;
  ASSERT_TRUE(ProcessUntil([&] { return pages.size() == 4; }));
  EXPECT_EQ(pages[3], "after it");

  watcher.SetListening(false);
  QApplication::clipboard()->setText(QStringLiteral("off"));
  QApplication::processEvents();
  EXPECT_EQ(pages.size(), 4u);
}

}  // namespace
}  // namespace nuv
