// The window's own sections of nuv.ini: what is written, what is skipped on
// reading, and the maximised-window rule.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/SessionState.h"
#include "base/IniFile.h"
#include "support/WindowFixture.h"

namespace nuv::test {
namespace {

TEST(SessionStateTest, HistoriesSkipMissingFilesAndEmptyEntries) {
  TTempDir dir;
  const std::string kept = dir.Write("kept.pk2", "x");
  TIniFile ini;
  ini.LoadFromBytes("[History]\r\nFile0=" + dir.File("gone.pk2") + "\r\nFile1=\r\nFile2=" + kept +
                    "\r\nFind0=abc\r\nFind3=\x95\x5c\r\n[TextHistory]\r\nFile0=" + kept + "\r\n");
  TSessionState s;
  s.Load(ini);
  EXPECT_EQ(s.FileHistory, std::vector<std::string>{kept});
  EXPECT_EQ(s.TextHistory, std::vector<std::string>{kept});
  EXPECT_EQ(s.FindHistory, (std::vector<std::string>{"abc", "\x95\x5c"}));
  EXPECT_FALSE(s.Bars[6].Visible);  // the date bar starts hidden
  EXPECT_TRUE(s.Bars[0].Visible);
  EXPECT_EQ(s.WinPosX, kKeepOwnValue);
}

TEST(SessionStateTest, SaveErasesBothHistoriesSoRemovedEntriesStayGone) {
  TIniFile ini;
  ini.LoadFromBytes("[History]\r\nFile5=/old\r\n[TextHistory]\r\nFile7=/stale\r\n[Mine]\r\nkeep=1\r\n");
  TSessionState s;
  s.FileHistory = {"/a.pk2"};
  s.TextHistory = {"/b.txt"};
  s.WindowState = 2;
  s.WinPosX = 5;
  s.Save(ini);
  EXPECT_FALSE(ini.ValueExists("History", "File5"));
  EXPECT_EQ(ini.ReadString("History", "File0", ""), "/a.pk2");
  EXPECT_EQ(ini.ReadString("TextHistory", "File0", ""), "/b.txt");
  EXPECT_FALSE(ini.ValueExists("TextHistory", "File7"));
  EXPECT_FALSE(ini.ValueExists("Window", "WinPosX"));  // not while maximised
  EXPECT_EQ(ini.ReadInteger("Window", "WindowState", 0), 2);
  EXPECT_EQ(ini.ReadString("Mine", "keep", ""), "1");
}

TEST(SessionStateTest, AddToHistoryPutsThePathFirstWithoutDuplicates) {
  std::vector<std::string> h = {"a", "b", "c"};
  AddToHistory(h, "c", 3);
  EXPECT_EQ(h, (std::vector<std::string>{"c", "a", "b"}));
  AddToHistory(h, "d", 3);
  EXPECT_EQ(h, (std::vector<std::string>{"d", "c", "a"}));
}

TEST_F(WindowTest, AMaximisedWindowComesBackWithItsLastNormalBounds) {
  Start();
  window->resize(640, 420);
  window->move(30, 40);
  QApplication::processEvents();
  ASSERT_TRUE(Close());
  TIniFile first(home.File("nuv.ini"));
  EXPECT_EQ(first.ReadInteger("Window", "WinWidth", 0), 640);
  EXPECT_EQ(first.ReadInteger("Window", "WindowState", -1), 0);
  Destroy();
  Create();
  Start();
  window->showMaximized();
  QApplication::processEvents();
  ASSERT_TRUE(Close());
  TIniFile second(home.File("nuv.ini"));
  EXPECT_EQ(second.ReadInteger("Window", "WindowState", -1), 2);
  EXPECT_EQ(second.ReadInteger("Window", "WinWidth", 0), 640);
  Destroy();
  Create();
  Start();
  EXPECT_TRUE(window->isMaximized());
  window->showNormal();
  QApplication::processEvents();
  EXPECT_EQ(window->size(), QSize(640, 420));
}

}  // namespace
}  // namespace nuv::test
