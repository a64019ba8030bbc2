// Registering nuv for ".pk2" files, checked with the desktop's own tools in a
// temporary data folder.
#include <gtest/gtest.h>

#include <cstdlib>

#include "config/FileTypeRegistration.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

TEST(FileTypeRegistrationTest, TheExecLineQuotesTheProgramPath) {
  EXPECT_EQ(QuoteDesktopExecArgument("/usr/bin/nuv"), "\"/usr/bin/nuv\"");
  EXPECT_EQ(QuoteDesktopExecArgument("/opt/my \"nuv\"/$x%"), "\"/opt/my \\\\\"nuv\\\\\"/\\\\$x%%\"");
  const std::string entry = DesktopEntryText(".pk2", "/opt/n u v/nuv");
  EXPECT_NE(entry.find("Exec=\"/opt/n u v/nuv\" %f\n"), std::string::npos);
  EXPECT_NE(entry.find("MimeType=application/x-nuv-pk2;\n"), std::string::npos);
  EXPECT_NE(MimePackageText(".pk2").find("<glob pattern=\"*.pk2\"/>"), std::string::npos);
}

TEST(FileTypeRegistrationTest, XdgMimeReportsNuvAsTheDefault) {
  test::TTempDir dir;
  const std::string data = dir.File("data"), config = dir.File("config");
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  TFileTypeFiles files;
  ASSERT_TRUE(RegisterFileType(".pk2", "/opt/nuv dir/nuv", data, &files));
  EXPECT_TRUE(FileExists(files.desktopEntry));
  EXPECT_TRUE(FileExists(files.mimePackage));
  const std::string globs = dir.Read("data/mime/globs2");
  EXPECT_NE(globs.find("application/x-nuv-pk2:*.pk2"), std::string::npos);
  const test::TChildResult r = test::RunChild({"xdg-mime", "query", "default", "application/x-nuv-pk2"});
  EXPECT_EQ(r.out, "nuv.desktop\n");
  EXPECT_FALSE(RegisterFileType("pk2", "/x", data));
  EXPECT_FALSE(RegisterFileType(".", "/x", data));
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace nuv
