// Tool processes as real children: the argument vector a stand-in tool
// receives, start errors, a window that keeps answering during the wait,
// and a wait abandoned while the program still runs.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QTimer>
#include <filesystem>

#include "app/ToolProcess.h"
#include "config/ExternalTools.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

TEST(ToolProcessTest, AStandInToolGetsTheVectorAndTheWindowKeepsAnswering) {
  test::TTempDir dir;
  const std::string script = dir.File("stand in");
  WriteFileAtomic(script, "#!/bin/sh\nsleep 0.2\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > \"$(dirname \"$0\")/args\"\n"
                          "tr a-z A-Z < \"$1\" > \"$1.new\" && mv \"$1.new\" \"$1\"\nexit 3\n");
  ::chmod(script.c_str(), 0755);
  const std::string marker = dir.File("marker");
  const TnuvTool tool{"T", "\"" + script + "\"", "$(touch " + marker + ") `touch " + marker + "`", ".txt"};
  const auto file = CreateTempFile(dir.File("__temp__"), "tool", tool.Ext, "page text\r\n");
  ASSERT_TRUE(file);
  const auto argv = ToolArguments(tool, *file);
  ASSERT_TRUE(argv);
  // The tool reads its first argument as the file: put the file first for this stand-in.
  std::vector<std::string> vector{(*argv)[0], *file};
  vector.insert(vector.end(), argv->begin() + 1, argv->end());

  TToolProcess process;
  std::string error;
  ASSERT_TRUE(process.Start(vector, error)) << error;
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(10);
  EXPECT_TRUE(process.Wait());
  EXPECT_EQ(process.ExitCode(), 3);
  EXPECT_FALSE(process.Running());
  EXPECT_GT(ticks, 0);  // events were handled while waiting
  EXPECT_EQ(dir.Read("args"), "[" + *file + "]\n[$(touch]\n[" + marker + ")]\n[`touch]\n[" + marker + "`]\n[" + *file + "]\n");
  std::string text;
  ASSERT_EQ(ReadWholeFile(*file, text), TReadResult::Ok);
  EXPECT_EQ(text, "PAGE TEXT\r\n");
  EXPECT_FALSE(std::filesystem::exists(marker));
}

TEST(ToolProcessTest, StartErrorsCarryTheSystemsReason) {
  TToolProcess process;
  std::string error;
  EXPECT_FALSE(process.Start({"/nonexistent/tool", "x"}, error));
  EXPECT_EQ(error, "No such file or directory");
  EXPECT_FALSE(process.Start({}, error));
  EXPECT_FALSE(process.Running());
}

TEST(ToolProcessTest, AnAbandonedWaitLeavesTheProgramRunning) {
  pid_t pid = 0;
  {
    TToolProcess process;
    std::string error;
    ASSERT_TRUE(process.Start({"sleep", "30"}, error)) << error;
    pid = process.Pid();
    QTimer::singleShot(20, [&] { process.Abandon(); });
    EXPECT_FALSE(process.Wait());
    EXPECT_TRUE(process.Running());
  }
  // Destroying the waiter did not end the user's program.
  EXPECT_EQ(::kill(pid, 0), 0);
  ::kill(pid, SIGTERM);
  // The next tool start reaps it.
  TToolProcess next;
  std::string error;
  ASSERT_TRUE(next.Start({"true"}, error));
  EXPECT_TRUE(next.Wait());
  EXPECT_EQ(next.ExitCode(), 0);
}

}  // namespace
}  // namespace nuv
