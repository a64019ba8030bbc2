// External tools and editor: the argument vectors a real child process
// receives, the temporary files, and the read-back decisions.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "base/Process.h"
#include "config/ExternalTools.h"
#include "outline/OutlineTree.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Sj;
using Args = std::vector<std::string>;

TEST(ExternalToolsTest, ToolArgumentVectors) {
  const struct {
    TnuvTool tool;
    std::optional<Args> expected;
  } cases[] = {
      {{"Sort", "sort", "-r", ".txt"}, Args{"sort", "-r", "/t/f.txt"}},
      {{"T", "/usr/bin/tool", "", ".txt"}, Args{"/usr/bin/tool", "/t/f.txt"}},
      {{"T", "\"/opt/my tool/run\"", "a  \"b c\"\t\"\"", ""}, Args{"/opt/my tool/run", "a", "b c", "", "/t/f.txt"}},
      {{"T", "/x/My Tool", "", ""}, Args{"/x/My Tool", "/t/f.txt"}},  // the program is one word
      {{"T", "t", "$(touch x) `id` ;rm -rf ~ | a > b", ""},
       Args{"t", "$(touch", "x)", "`id`", ";rm", "-rf", "~", "|", "a", ">", "b", "/t/f.txt"}},
      {{"T", "t", "\"say \"\"hi\"\"\"", ""}, Args{"t", "say \"hi\"", "/t/f.txt"}},
      {{"T", Sj("表"), Sj("ソ\\ \"能 予\""), ""}, Args{"\xE8\xA1\xA8", "\xE3\x82\xBD\\", "\xE8\x83\xBD \xE4\xBA\x88", "/t/f.txt"}},
      {{"T", "", "-r", ".txt"}, std::nullopt},
      {{"T", "\"\"", "-r", ".txt"}, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ToolArguments(c.tool, "/t/f.txt"), c.expected) << c.tool.File << c.tool.Option;
}

TEST(ExternalToolsTest, EditorSettingIsSplitTheSameWay) {
  EXPECT_EQ(EditorArguments(kDefaultEditor, "/t/e.txt"), (Args{"x-terminal-emulator", "-e", "nano", "/t/e.txt"}));
  EXPECT_EQ(EditorArguments("\"/opt/ed it/ed\" --wait", "/t/e.txt"), (Args{"/opt/ed it/ed", "--wait", "/t/e.txt"}));
  EXPECT_EQ(EditorArguments("gedit $(id)", "/t/e.txt"), (Args{"gedit", "$(id)", "/t/e.txt"}));
  EXPECT_EQ(EditorArguments("  ", "/t/e.txt"), std::nullopt);
  EXPECT_EQ(EditorArguments("\"\" x", "/t/e.txt"), std::nullopt);
}

TEST(ExternalToolsTest, Extensions) {
  EXPECT_EQ(NormalizeToolExt(""), ".txt");
  EXPECT_EQ(NormalizeToolExt("csv"), ".csv");
  EXPECT_EQ(NormalizeToolExt(".csv"), ".csv");
  for (const char* ok : {".txt", ".tar.gz", "", ".a-b_c"}) EXPECT_TRUE(IsSafeToolExt(ok)) << ok;
  for (const char* bad : {"/x", "./../../etc/passwd", "..", ".a/b", ".a\nb", ".0123456789012345678901234567890123"})
    EXPECT_FALSE(IsSafeToolExt(bad)) << bad;
  EXPECT_FALSE(IsSafeToolExt(std::string_view(".a\0b", 4)));
}

TEST(ExternalToolsTest, TemporaryFilesAreUniqueAndPrivate) {
  test::TTempDir dir;
  const std::string temp = dir.File("__temp__");
  const auto a = CreateTempFile(temp, "tool", ".csv", "one\r\n");
  const auto b = CreateTempFile(temp, "tool", ".csv", "two\r\n");
  ASSERT_TRUE(a && b);
  EXPECT_NE(*a, *b);
  EXPECT_EQ(std::filesystem::path(*a).parent_path().string(), temp);
  EXPECT_EQ(std::filesystem::path(*a).extension().string(), ".csv");
  std::string text;
  ASSERT_EQ(ReadWholeFile(*a, text), TReadResult::Ok);
  EXPECT_EQ(text, "one\r\n");
  struct stat info {};
  ASSERT_EQ(::stat(temp.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  ASSERT_EQ(::stat(a->c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 077, 0u);

  // A folder left open to others by an older version becomes private.
  ::chmod(temp.c_str(), 0777);
  ASSERT_TRUE(CreateTempFile(temp, "editor", ".txt", ""));
  ASSERT_EQ(::stat(temp.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);

  EXPECT_FALSE(CreateTempFile(temp, "tool", "/../../escape", "x"));
  EXPECT_FALSE(CreateTempFile(temp, "../tool", ".txt", "x"));
  EXPECT_FALSE(std::filesystem::exists(dir.File("escape")));
  // A symbolic link in place of the folder is not followed.
  std::filesystem::create_directory_symlink(dir.Path(), dir.File("linked"));
  EXPECT_FALSE(CreateTempFile(dir.File("linked"), "tool", ".txt", "x"));
}

TEST(ExternalToolsTest, AStandInToolReceivesExactlyTheVector) {
  test::TTempDir dir;
  const std::string script = dir.File("stand-in");
  const std::string record = dir.File("args");
  WriteFileAtomic(script, "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > \"" + record + "\"\n");
  ::chmod(script.c_str(), 0755);
  const std::string marker = dir.File("marker");
  const TnuvTool tool{"T", script, "-x \"a b\" $(touch " + marker + ") ;touch " + marker, ".txt"};
  const auto file = CreateTempFile(dir.File("__temp__"), "tool", tool.Ext, "text\r\n");
  ASSERT_TRUE(file);
  const auto argv = ToolArguments(tool, *file);
  ASSERT_TRUE(argv);
  ASSERT_EQ(RunProgram(*argv), 0);
  EXPECT_EQ(dir.Read("args"), "[-x]\n[a b]\n[$(touch]\n[" + marker + ")]\n[;touch]\n[" + marker + "]\n[" + *file + "]\n");
  EXPECT_FALSE(std::filesystem::exists(marker));
}

TEST(ExternalToolsTest, ReadBackDecisions) {
  TOutlineTree tree;
  TTreeNode* page = tree.Add(nullptr, "P");
  TTreeNode* other = tree.Add(nullptr, "Q");
  const TToolRun run{page->Id(), 7, "old\r\n", "/t/f", true};
  const std::optional<std::string> none;
  const struct {
    uint64_t document;
    std::string now;
    std::optional<std::string> file;
    TReadBack expected;
  } cases[] = {
      {7, "old\r\n", "new\r\n", TReadBack::Replace},
      {7, "old\r\n", "old\r\n", TReadBack::Unchanged},
      {7, "edited meanwhile\r\n", "new\r\n", TReadBack::AskFirst},
      {7, "old\r\n", none, TReadBack::NoFile},
      {8, "old\r\n", "new\r\n", TReadBack::PageGone},  // another document was opened
  };
  for (const auto& c : cases) EXPECT_EQ(DecideReadBack(run, tree, c.document, c.now, c.file), c.expected) << c.now;
  tree.Delete(page);
  EXPECT_EQ(DecideReadBack(run, tree, 7, "old\r\n", std::string("new\r\n")), TReadBack::PageGone);
  EXPECT_EQ(DecideReadBack(TToolRun{other->Id(), 7, "", "/t/f", true}, tree, 7, "", std::string("x")),
            TReadBack::Replace);
}

}  // namespace
}  // namespace nuv
