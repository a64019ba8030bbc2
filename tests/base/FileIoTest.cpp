// Atomic file replacement: a failed write never touches the old file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "base/FileIo.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

TEST(FileIoTest, FailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  test::TTempDir dir;
  const std::string path = dir.Write("doc.pk2", "old contents");
  for (long long after : {0LL, 1LL, 5LL}) {
    testhooks::FailWritesAfter(after);
    EXPECT_FALSE(WriteFileAtomic(path, "new contents that are longer"));
    testhooks::FailWritesAfter(-1);
    EXPECT_EQ(dir.Read("doc.pk2"), "old contents");
  }
  std::size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path())) {
    (void)e;
    ++files;
  }
  EXPECT_EQ(files, 1u);
}

TEST(FileIoTest, WriteKeepsPermissionsAndFollowsSymbolicLinks) {
  test::TTempDir dir;
  const std::string target = dir.Write("real.txt", "a");
  ::chmod(target.c_str(), 0640);
  const std::string link = dir.File("link.txt");
  ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
  ASSERT_TRUE(WriteFileAtomic(link, "b"));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(dir.Read("real.txt"), "b");
  struct stat st {};
  ::stat(target.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(FileIoTest, ReadResults) {
  test::TTempDir dir;
  std::string out;
  EXPECT_EQ(ReadWholeFile(dir.File("missing"), out), TReadResult::Missing);
  EXPECT_EQ(ReadWholeFile(dir.Path(), out), TReadResult::Error);
  dir.Write("x", std::string("a\0b", 3));
  EXPECT_EQ(ReadWholeFile(dir.File("x"), out), TReadResult::Ok);
  EXPECT_EQ(out, std::string("a\0b", 3));
  EXPECT_TRUE(ForceDirectories(dir.File("a/b/c")));
  EXPECT_TRUE(DirectoryExists(dir.File("a/b/c")));
  EXPECT_FALSE(WriteFileAtomic(dir.File("no/such/folder/x"), "y"));
}

TEST(FileIoTest, AFailureKeepsTheSystemsReasonUntilTheNextCall) {
  test::TTempDir dir;
  std::string out;
  const std::string file = dir.Write("x", "a");
  EXPECT_FALSE(WriteFileAtomic(dir.File("no/such/folder/x"), "y"));
  EXPECT_EQ(LastFileError(), ENOENT);
  EXPECT_EQ(ReadWholeFile(dir.Path(), out), TReadResult::Error);
  EXPECT_EQ(LastFileError(), EISDIR);
  EXPECT_EQ(ReadWholeFile(file, out), TReadResult::Ok);
  EXPECT_EQ(LastFileError(), 0);
  // The write fault stands for a full disk, with the system's own words.
  testhooks::FailWritesAfter(0);
  EXPECT_FALSE(WriteFileAtomic(file, "b"));
  testhooks::FailWritesAfter(-1);
  EXPECT_EQ(LastFileError(), ENOSPC);
  EXPECT_EQ(FileErrorText(ENOSPC), std::strerror(ENOSPC));
  EXPECT_EQ(FileErrorText(0), "");
  TMappedFile mapped;
  EXPECT_EQ(mapped.Open(dir.File("missing")), TReadResult::Missing);
  EXPECT_EQ(LastFileError(), ENOENT);
}

}  // namespace
}  // namespace nuv
