// The small helpers around the store (fonts, the window-edge wrap width, the
// outline core's switches, folder values) and the nuvtool config command.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "base/Codec.h"
#include "config/FontFallback.h"
#include "config/NuvConfig.h"
#include "config/OutlineSettings.h"
#include "config/WrapRight.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Sj;
using test::TTempDir;

TEST(FontFallbackTest, MissingFontsFallBackToInstalledCounterparts) {
  struct TCase {
    const char* stored;  // UTF-8 here, Shift JIS in the settings
    std::set<std::string> installed;
    const char* expected;
  };
  const TCase cases[] = {
      {"ＭＳ ゴシック", {"ＭＳ ゴシック", "IPAGothic"}, "ＭＳ ゴシック"},
      {"ＭＳ ゴシック", {"IPAGothic", "IPAPGothic"}, "IPAGothic"},
      {"ＭＳ Ｐゴシック", {"IPAGothic", "IPAPGothic"}, "IPAPGothic"},
      {"ＭＳ Ｐゴシック", {"IPAGothic"}, "IPAGothic"},
      {"ＭＳ 明朝", {"IPAGothic"}, "IPAGothic"},
      {"Nonexistent Sans", {"IPAGothic"}, "IPAGothic"},
      {"", {"IPAGothic"}, "IPAGothic"},
      {"Nonexistent Sans", {}, "monospace"},
      {"DejaVu Sans Mono", {"DejaVu Sans Mono"}, "DejaVu Sans Mono"},
  };
  for (const TCase& c : cases) {
    const auto exists = [&](const std::string& family) { return c.installed.count(family) > 0; };
    EXPECT_EQ(FontFamilyFor(Sj(c.stored), exists), c.expected) << c.stored;
  }
}

TEST(WrapRightTest, WidthFromTheWindowAndNothingWithoutADivisor) {
  TWrapRightGeometry g;
  g.editorWidth = 800;
  g.marginLeft = 8;
  g.scrollBarWidth = 16;
  g.charWidth = 6;
  EXPECT_EQ(WrapRightWidth(g), (800 - 8 - 16 - 8) / 6);
  g.lineNumbersShown = true;
  g.leftbarColumns = 4;
  g.leftbarLeftMargin = 8;
  g.leftbarRightMargin = 4;
  EXPECT_EQ(WrapRightWidth(g), (800 - 8 - 16 - (24 + 12) - 8) / 6);
  g.marginChar = 2;
  EXPECT_EQ(WrapRightWidth(g), (800 - 8 - 16 - (24 + 12) - 8) / 8);

  TWrapRightGeometry narrow = g;
  narrow.editorWidth = 10;  // a negative width is raised to the editor's minimum
  EXPECT_EQ(WrapRightWidth(narrow), 20);
  TWrapRightGeometry wide = g;
  wide.editorWidth = 100000;
  EXPECT_EQ(WrapRightWidth(wide), 250);

  for (const auto& [charWidth, marginChar] : {std::pair{0, 0}, {6, -6}, {-1, 0}, {2, -9}}) {
    TWrapRightGeometry none = g;
    none.charWidth = charWidth;
    none.marginChar = marginChar;
    EXPECT_EQ(WrapRightWidth(none), std::nullopt) << charWidth << " " << marginChar;
  }
}

TEST(OutlineSettingsTest, SwitchesComeFromTheConfig) {
  TnuvConfig config;
  EXPECT_FALSE(FormatOptionsOf(config).TextSaveWithData);
  config.TextSaveWithData = config.PirkaCompatible = config.ShowLabel1 = config.ClearLabel1 = true;
  config.AlwaysSave = config.AskSaveDL = true;
  const TFormatOptions format = FormatOptionsOf(config);
  EXPECT_TRUE(format.TextSaveWithData && format.PirkaCompatible && format.ShowLabel1 && format.ClearLabel1);
  const TPageSwitchSettings page = PageSwitchSettingsOf(config);
  EXPECT_TRUE(page.PirkaCompatible && page.AlwaysSave && page.AskSaveDL);
  config.AlwaysSave = false;
  EXPECT_FALSE(PageSwitchSettingsOf(config).AlwaysSave);
}

TEST(FolderSettingTest, TrailingSlash) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""}, {"/", "/"}, {"a", "a"}, {"/home/u", "/home/u/"}, {"/home/u/", "/home/u/"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(WithTrailingSlash(in), out) << in;
  EXPECT_EQ(WithTrailingSlash(Sj("/データ")), Sj("/データ/"));
}

#ifdef NUVTOOL_PATH
std::string RunNuvtool(const std::string& args, int& status) {
  std::string out;
  FILE* pipe = ::popen((std::string(NUVTOOL_PATH) + " " + args + " 2>&1").c_str(), "r");
  if (!pipe) return out;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  status = ::pclose(pipe);
  return out;
}

TEST(NuvtoolConfigTest, PrintsEveryKeyAsTheStoreSeesIt) {
  TTempDir dir;
  dir.Write("nuv.ini",
            "[EditView]\r\nTabSpace=7\r\n[Label]\r\nLabel3=" + Sj("表示") +
                "\r\n[Tools]\r\nCount=1\r\nTitle0=sort\r\nExt0=.csv\r\n");
  int status = -1;
  // A bare file name is the file in the working folder, not the program folder's.
  const std::string out = RunNuvtool("config " + dir.File("nuv.ini"), status);
  EXPECT_EQ(status, 0) << out;

  TnuvConfig config(dir.Path() + "/unused");
  ASSERT_TRUE(config.Load(dir.File("nuv.ini")));
  std::string expected;
  for (const TConfigEntry& e : config.Entries()) expected += e.section + "." + e.key + "=" + Cp932ToUtf8(e.value) + "\n";
  EXPECT_EQ(out, expected);
  EXPECT_NE(out.find("\nEditView.TabSpace=6\n"), std::string::npos);
  EXPECT_NE(out.find("\nLabel.Label3=表示\n"), std::string::npos);
  EXPECT_NE(out.find("\nTools.Count=1\nTools.Title0=sort\nTools.File0=\nTools.Option0=\nTools.Ext0=.csv\n"),
            std::string::npos);

  EXPECT_NE(RunNuvtool("config " + dir.File("none.ini"), status).find("no such file"), std::string::npos);
  EXPECT_NE(status, 0);
}
#endif

}  // namespace
}  // namespace nuv
