// The settings-file menu, saving under a name and per-document settings files.
#include <gtest/gtest.h>

#include "base/FileIo.h"
#include "config/SettingsFiles.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::TTempDir;

TEST(SettingsFilesTest, MenuListsTheIniFilesOfTheProgramFolder) {
  TTempDir dir;
  dir.Write("nuv.ini", "");
  dir.Write("work.INI", "");
  dir.Write("a.ini", "");
  dir.Write("notes.txt", "");
  dir.Write("ini", "");
  ASSERT_TRUE(ForceDirectories(dir.File("folder.ini")));
  const std::vector<TSettingsFile> files = ListSettingsFiles(dir.Path());
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[0].caption, "a.ini");
  EXPECT_EQ(files[1].caption, "nuv.ini");
  EXPECT_EQ(files[2].caption, "work.INI");
  EXPECT_EQ(files[1].path, dir.File("nuv.ini"));
  EXPECT_FALSE(files[0].checked);
  EXPECT_TRUE(files[1].checked);
  EXPECT_FALSE(files[2].checked);

  TTempDir upper;
  upper.Write("NUV.INI", "");
  EXPECT_TRUE(ListSettingsFiles(upper.Path()).at(0).checked);
  EXPECT_TRUE(ListSettingsFiles(dir.File("missing")).empty());
}

TEST(SettingsFilesTest, ChangeFileExt) {
  const std::pair<const char*, const char*> cases[] = {
      {"/home/u/doc.pk2", "/home/u/doc.ini"},  {"/home/u/doc", "/home/u/doc.ini"},
      {"/home/u.d/doc", "/home/u.d/doc.ini"},  {"/home/u/a.tar.gz", "/home/u/a.tar.ini"},
      {"/home/u/.pk2", "/home/u/.ini"},        {"doc.txt", "doc.ini"},
      {"/home/u/doc.", "/home/u/doc.ini"},
  };
  for (const auto& [path, expected] : cases) EXPECT_EQ(ChangeFileExt(path, ".ini"), expected) << path;
}

TEST(SettingsFilesTest, WhatADocumentLoads) {
  TTempDir dir;
  const std::string withOwn = dir.File("a.pk2");
  const std::string own = dir.Write("a.ini", "[Action]\r\nBackup=1\r\n");
  const std::string without = dir.File("b.txt");
  TnuvConfig config(dir.Path());

  EXPECT_EQ(SettingsForDocument(config, withOwn), own);
  EXPECT_EQ(SettingsForDocument(config, without), std::nullopt);
  ASSERT_TRUE(config.Load(*SettingsForDocument(config, withOwn)));
  EXPECT_EQ(config.CurrentFile(), own);
  // A document without its own file goes back to nuv.ini.
  EXPECT_EQ(SettingsForDocument(config, without), std::optional<std::string>("nuv.ini"));
}

TEST(SettingsFilesTest, SaveUnderANameForcesTheExtensionAndKeepsTheCurrentFile) {
  TTempDir program;
  TTempDir elsewhere;
  TnuvConfig config(program.Path());
  config.AskDelNode = true;

  const TSaveAsResult inside =
      SaveSettingsAs(config, program.File("work.txt"), [](TIniFile&) { /* window sections */ });
  EXPECT_TRUE(inside.written);
  EXPECT_EQ(inside.path, program.File("work.ini"));
  EXPECT_EQ(inside.menuCaption, "work.ini");
  EXPECT_NE(program.Read("work.ini").find("AskDelNode=1\r\n"), std::string::npos);
  EXPECT_EQ(config.CurrentFile(), "");

  const TSaveAsResult outside = SaveSettingsAs(config, elsewhere.File("mine"));
  EXPECT_TRUE(outside.written);
  EXPECT_EQ(outside.path, elsewhere.File("mine.ini"));
  EXPECT_EQ(outside.menuCaption, "");
  // A sub-folder of the program folder is not in the menu either.
  ASSERT_TRUE(ForceDirectories(program.File("sub")));
  EXPECT_EQ(SaveSettingsAs(config, program.File("sub/x.ini")).menuCaption, "");
  EXPECT_EQ(SaveSettingsAs(config, program.Path() + "/./y.ini").menuCaption, "y.ini");
}

}  // namespace
}  // namespace nuv
