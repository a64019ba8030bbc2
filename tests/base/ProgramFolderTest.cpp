// Where the program keeps its files: $NUV_HOME, a portable folder, or the
// user's configuration folder, seeded with the bundled files.
#include <gtest/gtest.h>

#include <cstdlib>

#include "base/FileIo.h"
#include "base/ProgramFolder.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"NUV_HOME", "XDG_CONFIG_HOME", "HOME"}) {
      const char* v = std::getenv(name);
      saved.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
    }
  }
  void TearDown() override {
    for (const auto& [name, value] : saved) {
      if (value)
        setenv(name, value->c_str(), 1);
      else
        unsetenv(name);
    }
    SetExecutablePath("/proc/self/exe");
  }
  std::vector<std::pair<const char*, std::optional<std::string>>> saved;
};

TEST_F(ProgramFolderTest, ResolutionOrder) {
  test::TTempDir dir;
  setenv("NUV_HOME", (dir.Path() + "/home/").c_str(), 1);
  EXPECT_EQ(ProgramFolder(), dir.Path() + "/home");
  unsetenv("NUV_HOME");
  ForceDirectories(dir.File("portable"));
  dir.Write("portable/nuv.ini", "");
  SetExecutablePath(dir.File("portable/nuv"));
  EXPECT_EQ(ProgramFolder(), dir.File("portable"));
  SetExecutablePath(dir.File("elsewhere/nuv"));
  setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
  EXPECT_EQ(ProgramFolder(), dir.File("config/nuv"));
  unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", dir.Path().c_str(), 1);
  EXPECT_EQ(ProgramFile("nuv.ini"), dir.File(".config/nuv/nuv.ini"));
}

TEST_F(ProgramFolderTest, PreparingCopiesBundledFilesButNotTheSampleNorTheManual) {
  test::TTempDir dir;
  setenv("NUV_HOME", dir.File("home").c_str(), 1);
  PrepareProgramFolder();
  EXPECT_TRUE(FileExists(dir.File("home/mark.dat")));
  EXPECT_FALSE(FileExists(dir.File("home/sample.txt")));
  EXPECT_FALSE(FileExists(dir.File("home/manual.html")));
  dir.Write("home/mark.dat", "mine");
  PrepareProgramFolder();
  EXPECT_EQ(dir.Read("home/mark.dat"), "mine");  // a user's own file is never replaced
  const std::string temp = TempFolder();
  EXPECT_TRUE(DirectoryExists(temp));
  EXPECT_EQ(temp, dir.File("home/__temp__"));
}

}  // namespace
}  // namespace nuv
