// The settings store: defaults, file resolution, the special sections, the
// checks on values read, and foreign lines kept byte for byte.
#include <gtest/gtest.h>

#include <chrono>
#include <algorithm>
#include <map>
#include <set>

#include "base/AsciiCase.h"
#include "base/Codec.h"
#include "base/FileIo.h"
#include "base/IniFile.h"
#include "config/ConfigKeys.h"
#include "config/NuvConfig.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Sj;
using test::TTempDir;

// "Section.Key" -> value, as the store sees it.
std::string ValueOf(const TnuvConfig& config, std::string_view dotted) {
  for (const TConfigEntry& e : config.Entries())
    if (e.section + "." + e.key == dotted) return e.value;
  ADD_FAILURE() << "no key " << dotted;
  return std::string();
}

// The listing nuvtool prints: one "Section.Key=value" line per key, UTF-8.
std::string Listing(const TnuvConfig& config) {
  std::string out;
  for (const TConfigEntry& e : config.Entries()) out += e.section + "." + e.key + "=" + Cp932ToUtf8(e.value) + "\n";
  return out;
}

std::string ReadFile(const std::string& path) {
  std::string bytes;
  ReadWholeFile(path, bytes);
  return bytes;
}

struct TLine {
  std::string text;
  std::string eol;
  bool operator==(const TLine&) const = default;
};

std::vector<TLine> Lines(std::string_view bytes) {
  std::vector<TLine> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    const std::size_t len = (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
    lines.push_back({std::string(bytes.substr(start, i - start)), std::string(bytes.substr(i, len))});
    i += len - 1;
    start = i + 1;
  }
  if (start < bytes.size()) lines.push_back({std::string(bytes.substr(start)), std::string()});
  return lines;
}

TEST(NuvConfigTest, EveryKeyOfAnEmptyOrMissingFileHasItsDefault) {
  TTempDir dir;
  const std::string golden = ReadFile(std::string(NUV_TEST_DATA) + "/defaults.txt");
  ASSERT_FALSE(golden.empty());

  TnuvConfig fresh(dir.Path());
  EXPECT_EQ(Listing(fresh), golden);

  TnuvConfig fromEmpty(dir.Path());
  fromEmpty.FontSize = 30;  // an editor key: a missing key keeps the current value
  fromEmpty.ResetToDefaults();
  ASSERT_TRUE(fromEmpty.Load(dir.Write("empty.ini", "")));
  EXPECT_EQ(Listing(fromEmpty), golden);

  TnuvConfig fromMissing(dir.Path());
  ASSERT_TRUE(fromMissing.Load("nuv.ini"));
  EXPECT_EQ(Listing(fromMissing), golden);
  EXPECT_EQ(fromMissing.Labels[0], Sj("なし"));
  EXPECT_EQ(fromMissing.TreeFontFace, Sj("ＭＳ Ｐゴシック"));
}

// "Section.Key=value" lines of an ini file, in file order, values in UTF-8;
// ";" comments and blank lines skipped.
std::vector<std::string> IniPairs(std::string_view bytes, bool sjis) {
  std::vector<std::string> pairs;
  std::string section;
  for (const TLine& line : Lines(bytes)) {
    const std::string& t = line.text;
    if (t.empty() || t[0] == ';') continue;
    if (t[0] == '[') {
      section = t.substr(1, t.find(']') - 1);
      continue;
    }
    pairs.push_back(section + "." + (sjis ? Cp932ToUtf8(t) : t));
  }
  return pairs;
}

TEST(NuvConfigTest, AFreshStoreSavesTheDefaultsOfTheSettingsTables) {
  // Where nuv departs from the tables on purpose: key -> why.
  const std::map<std::string, std::string> departures = {
      {"Path.Editor", "notepad.exe does not exist here; a terminal editor is the default"},
  };
  TTempDir dir;
  TnuvConfig fresh(dir.Path());
  ASSERT_TRUE(fresh.Save(dir.File("saved.ini")));
  const std::vector<std::string> saved = IniPairs(ReadFile(dir.File("saved.ini")), true);
  const std::vector<std::string> expected =
      IniPairs(ReadFile(std::string(NUV_TEST_DATA) + "/defaults.ini"), false);
  ASSERT_GT(expected.size(), 200u);
  std::vector<std::string> got;
  for (std::size_t i = 0; i < saved.size(); ++i) {
    const std::string key = saved[i].substr(0, saved[i].find('='));
    if (departures.count(key) == 0) got.push_back(saved[i]);
  }
  std::vector<std::string> want;
  for (const std::string& pair : expected) {
    if (departures.count(pair.substr(0, pair.find('='))) == 0) want.push_back(pair);
  }
  EXPECT_EQ(got, want);
  for (const auto& departure : departures) {
    const std::string prefix = departure.first + "=";
    EXPECT_NE(std::find_if(saved.begin(), saved.end(), [&](const std::string& p) { return p.starts_with(prefix); }),
              saved.end())
        << departure.first << " (" << departure.second << ") is not saved";
  }
}

TEST(NuvConfigTest, KeyTableIsConsistent) {
  TnuvConfig config;
  std::set<std::string> seen;
  std::vector<std::string> sections;
  for (const TConfigKey& key : ConfigKeys()) {
    const TFieldRef ref = key.field(config);
    switch (key.type) {
      case TKeyType::Text: EXPECT_TRUE(std::holds_alternative<std::string*>(ref)) << key.key; break;
      case TKeyType::Int:
      case TKeyType::Color: EXPECT_TRUE(std::holds_alternative<int32_t*>(ref)) << key.key; break;
      case TKeyType::Bool: EXPECT_TRUE(std::holds_alternative<bool*>(ref)) << key.key; break;
      case TKeyType::Style: EXPECT_TRUE(std::holds_alternative<TStyleBit>(ref)) << key.key; break;
    }
    EXPECT_TRUE(seen.insert(AsciiLower(key.section + "." + key.key)).second) << "twice: " << key.key;
    if (sections.empty() || sections.back() != key.section) sections.push_back(key.section);
  }
  const std::vector<std::string> order = {"EditView", "EditColors", "Colors", "Brackets", "Label",
                                          "Format",   "Action",     "EditMode", "Path"};
  EXPECT_EQ(sections, order);
  // Two distinct members for the two keys called Backup.
  config.Backup = true;
  config.Path.Backup = "b/";
  EXPECT_EQ(ValueOf(config, "Action.Backup"), "1");
  EXPECT_EQ(ValueOf(config, "Path.Backup"), "b/");
}

// A hand-written file with comments, foreign sections, unknown keys, an LF
// line, odd spacing and no final line end.
constexpr std::string_view kForeignFile =
    "; nuv settings, kept by hand\r\n"
    "[Window]\r\n"
    "WinPosX=10\r\n"
    "\r\n"
    "[EditView]\r\n"
    "; the editor font\r\n"
    "FontSize = 12\r\n"
    "Unknown=keep me\r\n"
    "TreeFontFace=Sans\n"
    "\r\n"
    "[Foreign]\r\n"
    "a=b\r\n"
    ";comment in foreign\r\n"
    "[Brackets]\r\n"
    "; my brackets\r\n"
    "BracketsStr8=<node@\r\n"
    "BracketsEnd8=>\r\n"
    "BracketsStr15=old\r\n"
    "Custom=x\r\n"
    "[Tools]\r\n"
    "Count=1\r\n"
    "Title0=sort\r\n"
    "Title7=stale\r\n"
    "[History]\r\n"
    "File0=/x.pk2";

TEST(NuvConfigTest, SavingKeepsEveryLineNuvDoesNotOwn) {
  TTempDir dir;
  const std::string path = dir.Write("foreign.ini", kForeignFile);
  TnuvConfig config(dir.Path());
  ASSERT_TRUE(config.Load(path));
  EXPECT_EQ(config.FontSize, 12);
  EXPECT_EQ(config.TreeFontFace, "Sans");
  ASSERT_EQ(config.Tools.size(), 1u);
  EXPECT_EQ(config.Tools[0].Title, "sort");
  config.FontSize = 14;
  ASSERT_TRUE(config.Save("nuv.ini"));  // goes to the current file
  const std::string saved = ReadFile(path);

  // Up to the first key nuv adds, the file is the original but for the one value changed.
  EXPECT_EQ(saved.rfind(
                "; nuv settings, kept by hand\r\n[Window]\r\nWinPosX=10\r\n\r\n[EditView]\r\n; the editor font\r\n"
                "FontSize =14\r\nUnknown=keep me\r\nTreeFontFace=Sans\n",
                0),
            0u)
      << saved;
  EXPECT_NE(saved.find("\r\n[Foreign]\r\na=b\r\n;comment in foreign\r\n[Brackets]\r\n; my brackets\r\nCustom=x\r\n"),
            std::string::npos);
  EXPECT_NE(saved.find("[History]\r\nFile0=/x.pk2\r\n"), std::string::npos);
  EXPECT_EQ(saved.find("BracketsStr15"), std::string::npos);
  EXPECT_EQ(saved.find("Title7"), std::string::npos);

  // Every line nuv does not write comes through in order, line end and all.
  const std::vector<TLine> out = Lines(saved);
  std::size_t at = 0;
  for (const TLine& line : Lines(kForeignFile)) {
    const bool rewritten = line.text.starts_with("FontSize") || line.text.starts_with("Brackets") ||
                           line.text.starts_with("Count") || line.text.starts_with("Title");
    if (rewritten) continue;
    TLine expected = line;
    if (expected.eol.empty()) expected.eol = "\r\n";  // the last line gets a line end when sections follow
    while (at < out.size() && !(out[at] == expected)) ++at;
    ASSERT_LT(at, out.size()) << "lost or changed: " << line.text;
    ++at;
  }

  TnuvConfig back(dir.Path());
  ASSERT_TRUE(back.Load(path));
  EXPECT_EQ(back, config);
  // A second save changes nothing.
  ASSERT_TRUE(back.Save("nuv.ini"));
  EXPECT_EQ(ReadFile(path), saved);
}

TEST(NuvConfigTest, ValuesReadBackAfterSave) {
  TTempDir dir;
  TnuvConfig config(dir.Path());
  config.Labels[0] = Sj("表示");  // trail byte 0x5C
  config.Labels[1] = " padded ";
  config.Labels[2] = "\"quoted\"";
  config.Labels[3] = "a=b;c";
  config.Labels[4] = "";
  config.Date = "yyyy\\mm";
  config.LastFile = Sj("/home/u/文書.pk2");
  config.TabSpace = 8;
  config.TreeBkColor = kColorNone;
  config.Comment = {255, 0, kStyleBold | kStyleUnderline};
  config.Brackets[10] = {"<<", ">>", 1, 2, kStyleItalic};
  config.EditModes[9] = {"Perl", "P", "perl.rsv"};
  config.Tools = {{"sort", "/usr/bin/sort", "-r", ".txt"}, {"wc", "wc", "", ".csv"}};
  config.ShowLabel1 = true;
  config.WrapRight = false;
  const std::string path = dir.File("out.ini");
  ASSERT_TRUE(config.Save(path));

  TnuvConfig back(dir.Path());
  ASSERT_TRUE(back.Load(path));
  EXPECT_EQ(back.CurrentFile(), path);
  EXPECT_EQ(config.CurrentFile(), "");  // saving elsewhere leaves the current file alone
  TnuvConfig expected = config;
  expected.Load(path);
  EXPECT_EQ(back, expected);
  EXPECT_EQ(back.Labels, config.Labels);
  EXPECT_EQ(back.Brackets, config.Brackets);
  EXPECT_EQ(back.Tools, config.Tools);
  EXPECT_EQ(back.Comment, config.Comment);
  EXPECT_EQ(back.TreeBkColor, kColorNone);
  // Bytes on disk are Shift JIS, style bits three booleans, tools from 0.
  const std::string saved = ReadFile(path);
  EXPECT_NE(saved.find("Label1=" + Sj("表示") + "\r\n"), std::string::npos);
  EXPECT_NE(saved.find("CommentBold=1\r\nCommentItalic=0\r\nCommentUnderline=1\r\n"), std::string::npos);
  EXPECT_NE(saved.find("[Tools]\r\nCount=2\r\nTitle0=sort\r\nFile0=/usr/bin/sort\r\nOption0=-r\r\nExt0=.txt\r\n"
                       "Title1=wc\r\n"),
            std::string::npos);
  EXPECT_NE(saved.find("Name10=Perl\r\nAccelerator10=P\r\nFile10=perl.rsv\r\n"), std::string::npos);
  EXPECT_NE(saved.find("BracketsStr11=<<\r\nBracketsEnd11=>>\r\n"), std::string::npos);
  EXPECT_EQ(saved.find("Name0="), std::string::npos);
  EXPECT_EQ(saved.find("BracketsStr0"), std::string::npos);
}

TEST(NuvConfigTest, NumbersThatAreNotWhole32BitIntegersReadAsTheDefault) {
  struct TCase {
    const char* value;
    int32_t scrollLine;
    bool imeMode;
  };
  const TCase cases[] = {
      {"2147483648", 1, false}, {"-2147483649", 1, false}, {"12abc", 1, false}, {"0x10", 1, false},
      {"", 1, false},           {"7", 7, true},            {" +5 ", 5, true},   {"-1", 1, true},
      {"yes", 1, false},        {"0", 1, false},
  };
  for (const TCase& c : cases) {
    TIniFile ini;
    ini.LoadFromBytes(std::string("[Action]\r\nScrollLine=") + c.value + "\r\nIMEMode=" + c.value + "\r\n");
    TnuvConfig config;
    config.ReadFrom(ini);
    EXPECT_EQ(config.ScrollLine, c.scrollLine) << c.value;  // -1 and 0 are clamped to 1
    EXPECT_EQ(config.IMEMode, c.imeMode) << c.value;
  }
}

TEST(NuvConfigTest, NumbersAreBroughtIntoTheirRanges) {
  struct TCase {
    const char* section;
    const char* key;
    const char* value;
    const char* expected;
  };
  const TCase cases[] = {
      {"EditView", "TreeFontSize", "0", "1"},
      {"EditView", "FontSize", "5000", "200"},
      {"EditView", "TabSpace", "3", "2"},
      {"EditView", "TabSpace", "7", "6"},
      {"EditView", "TabSpace", "-4", "2"},
      {"EditView", "TabSpace", "100", "8"},
      {"EditView", "RulerRange", "9", "8"},
      {"EditView", "RulerRange", "11", "10"},
      {"EditView", "WrapByte", "5", "20"},
      {"EditView", "WrapByte", "999", "250"},
      {"EditView", "MarginLeft", "-3", "0"},
      {"EditView", "MarginChar", "101", "100"},
      {"EditView", "MarginRightPos", "-1", "0"},
      {"EditView", "LineNoMode", "5", "1"},
      {"EditView", "LineNoMode", "-5", "1"},
      {"Action", "ExecLinkMode", "3", "1"},
      {"Action", "ExecLinkMode", "-1", "1"},
      {"Action", "ExecLinkMode", "2", "2"},
      {"Action", "ScrollLine", "1000", "100"},
      {"EditColors", "AnkColor", "16777216", "0"},                // not a colour
      {"EditColors", "SpColor", "-2147483643", "-2147483643"},  // system colour 5
      {"Colors", "TreeFontColor", "-2147483617", "-2147483640"},  // system index 31 does not exist
      {"Colors", "ListBkColor", "536870911", "536870911"},      // the editor's "no colour"
      {"Path", "Editor", "NOTEPAD.EXE", kDefaultEditor},
      {"Path", "Editor", "gedit --wait", "gedit --wait"},
  };
  for (const TCase& c : cases) {
    TIniFile ini;
    ini.LoadFromBytes(std::string("[") + c.section + "]\r\n" + c.key + "=" + c.value + "\r\n");
    TnuvConfig config;
    config.ReadFrom(ini);
    EXPECT_EQ(ValueOf(config, std::string(c.section) + "." + c.key), c.expected) << c.key << "=" << c.value;
  }
}

TEST(NuvConfigTest, MissingEditorKeysKeepTheCurrentValueOthersTakeTheirDefault) {
  TIniFile ini;
  ini.LoadFromBytes("[Action]\r\nUseTrash=0\r\n");
  TnuvConfig config;
  config.FontSize = 20;  // the editor's keys
  config.Ank.BkColor = 255;
  config.URL.Style = kStyleBold;
  config.ShowRuler = false;
  config.TreeFontSize = 30;  // the window's keys
  config.WrapRight = false;
  config.Labels[0] = "x";
  config.Tools = {{"t", "", "", ""}};
  config.ReadFrom(ini);
  EXPECT_EQ(config.FontSize, 20);
  EXPECT_EQ(config.Ank.BkColor, 255);
  EXPECT_EQ(config.URL.Style, kStyleBold);
  EXPECT_FALSE(config.ShowRuler);
  EXPECT_EQ(config.TreeFontSize, 9);
  EXPECT_TRUE(config.WrapRight);
  EXPECT_EQ(config.Labels[0], Sj("なし"));
  EXPECT_TRUE(config.Tools.empty());
  EXPECT_FALSE(config.UseTrash);
}

TEST(NuvConfigTest, StaleBracketsSectionsGiveTheDefaultSlots) {
  const TnuvConfig defaults;
  struct TCase {
    const char* file;
    bool kept;
  };
  const TCase cases[] = {
      {"[Brackets]\r\nBracketsStr1=((\r\nBracketsEnd1=))\r\n", false},
      {"[Brackets]\r\nBracketsStr1=((\r\nBracketsEnd1=))\r\nBracketsStr8=<node:\r\n", false},
      {"[Brackets]\r\nBracketsStr1=((\r\nBracketsEnd1=))\r\nBracketsStr8=<NODE@\r\n", false},  // exact text only
      {"[Brackets]\r\nBracketsStr1=((\r\nBracketsEnd1=))\r\nbracketsstr8=<node@\r\n", true},
  };
  for (const TCase& c : cases) {
    TIniFile ini;
    ini.LoadFromBytes(c.file);
    TnuvConfig config;
    config.Brackets[12] = {"x", "y", 1, 1, 1};
    config.ReadFrom(ini);
    if (c.kept) {
      EXPECT_EQ(config.Brackets[0].Str, "((");
      EXPECT_EQ(config.Brackets[0].End, "))");
      EXPECT_EQ(config.Brackets[7].End, ">");  // its missing keys take the slot's default
      EXPECT_EQ(config.Brackets[12], defaults.Brackets[12]);
    } else {
      EXPECT_EQ(config.Brackets, defaults.Brackets) << c.file;
    }
  }
}

TEST(NuvConfigTest, OnlyCompleteBracketSlotsAreSaved) {
  TTempDir dir;
  const std::string path = dir.File("b.ini");
  TnuvConfig config(dir.Path());
  config.Brackets[1].End.clear();  // slot 2: no end text
  config.Brackets[11] = {"[[", "", 1, 2, 0};
  config.Brackets[12] = {"<<", ">>", 1, 2, 0};
  ASSERT_TRUE(config.Save(path));
  std::string saved = ReadFile(path);
  EXPECT_EQ(saved.find("BracketsStr2="), std::string::npos);
  EXPECT_EQ(saved.find("BracketsColor2="), std::string::npos);
  EXPECT_EQ(saved.find("BracketsStr12="), std::string::npos);
  EXPECT_NE(saved.find("BracketsStr13=<<\r\nBracketsEnd13=>>\r\nBracketsColor13=1\r\nBracketsBkColor13=2\r\n"
                       "BracketsBold13=0\r\nBracketsItalic13=0\r\nBracketsUnderline13=0\r\n"),
            std::string::npos);

  // A slot emptied later disappears from the file on the next save.
  config.Brackets[12] = {};
  ASSERT_TRUE(config.Save(path));
  saved = ReadFile(path);
  EXPECT_EQ(saved.find("BracketsStr13"), std::string::npos);
  EXPECT_EQ(saved.find("BracketsColor13"), std::string::npos);
}

TEST(NuvConfigTest, ToolCountsAreCappedAndToolsCountFromZero) {
  struct TCase {
    const char* count;
    std::size_t tools;
  };
  const TCase cases[] = {{"2000000000", kMaxTools}, {"2147483647", kMaxTools}, {"-5", 0}, {"3", 3}, {"x", 0}};
  for (const TCase& c : cases) {
    TIniFile ini;
    ini.LoadFromBytes(std::string("[Tools]\r\nCount=") + c.count + "\r\nTitle0=zero\r\nTitle2=two\r\n");
    TnuvConfig config;
    const auto start = std::chrono::steady_clock::now();
    config.ReadFrom(ini);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    ASSERT_EQ(config.Tools.size(), c.tools) << c.count;
    if (c.tools == 3) {
      EXPECT_EQ(config.Tools[0].Title, "zero");
      EXPECT_EQ(config.Tools[1], TnuvTool{});
      EXPECT_EQ(config.Tools[2].Title, "two");
    }
  }
}

TEST(NuvConfigTest, SavingRemovesToolsThatWereDeleted) {
  TTempDir dir;
  const std::string path = dir.File("t.ini");
  TnuvConfig config(dir.Path());
  config.Tools = {{"a", "a", "", ".txt"}, {"b", "b", "", ".txt"}, {"c", "c", "", ".txt"}};
  ASSERT_TRUE(config.Save(path));
  config.Tools.erase(config.Tools.begin());
  ASSERT_TRUE(config.Save(path));
  const std::string saved = ReadFile(path);
  EXPECT_NE(saved.find("Count=2\r\nTitle0=b\r\n"), std::string::npos) << saved;
  EXPECT_EQ(saved.find("Title2"), std::string::npos);
  TnuvConfig back(dir.Path());
  ASSERT_TRUE(back.Load(path));
  EXPECT_EQ(back.Tools, config.Tools);
}

TEST(NuvConfigTest, FileResolution) {
  TTempDir dir;
  const std::string defaultFile = dir.File("nuv.ini");
  dir.Write("nuv.ini", "[Action]\r\nUseTrash=0\r\n");
  const std::string documentFile = dir.Write("doc.ini", "[Action]\r\nBackup=1\r\n");

  TnuvConfig config(dir.Path());
  ASSERT_TRUE(config.Load("nuv.ini"));
  EXPECT_FALSE(config.UseTrash);
  EXPECT_EQ(config.CurrentFile(), "");
  EXPECT_EQ(config.FileForSave("nuv.ini"), defaultFile);

  // A per-document file becomes current: leaving saves into it, not into nuv.ini.
  ASSERT_TRUE(config.Load(documentFile));
  EXPECT_TRUE(config.Backup);
  EXPECT_TRUE(config.UseTrash);
  EXPECT_EQ(config.CurrentFile(), documentFile);
  config.ExpandAll = false;
  const std::string before = ReadFile(defaultFile);
  ASSERT_TRUE(config.Save("nuv.ini"));
  EXPECT_EQ(ReadFile(defaultFile), before);
  EXPECT_NE(ReadFile(documentFile).find("ExpandAll=0\r\n"), std::string::npos);

  // The name is compared exactly: any other spelling is a path of its own.
  EXPECT_EQ(config.FileForLoad("NUV.INI"), "NUV.INI");

  // Loading the default name again makes the current file empty.
  ASSERT_TRUE(config.Load("nuv.ini"));
  EXPECT_EQ(config.CurrentFile(), "");
}

TEST(NuvConfigTest, SwitchingSavesTheCurrentFileFirst) {
  TTempDir dir;
  const std::string other = dir.Write("other.ini", "[Action]\r\nBackup=1\r\n");
  TnuvConfig config(dir.Path());
  ASSERT_TRUE(config.Load("nuv.ini"));
  config.NoAskSave = true;  // changed in the settings dialog, not saved yet
  ASSERT_TRUE(config.SwitchTo(other));
  EXPECT_TRUE(config.Backup);
  EXPECT_FALSE(config.NoAskSave);
  TnuvConfig back(dir.Path());
  ASSERT_TRUE(back.Load("nuv.ini"));
  EXPECT_TRUE(back.NoAskSave);
}

TEST(NuvConfigTest, ValuesWithLineBreaksAreNotWritten) {
  TTempDir dir;
  const std::string path = dir.Write("x.ini", "[Label]\r\nLabel2=old\r\n");
  TnuvConfig config(dir.Path());
  ASSERT_TRUE(config.Load(path));
  config.Labels[1] = "two\r\n[Path]\r\nEditor=rm";
  config.Tools = {{"t\nx", "", "", ""}};
  std::vector<std::string> refused;
  ASSERT_TRUE(config.Save(path, {}, &refused));
  EXPECT_EQ(refused, (std::vector<std::string>{"Label.Label2", "Tools.Title0"}));
  const std::string saved = ReadFile(path);
  EXPECT_NE(saved.find("Label2=old\r\n"), std::string::npos);
  EXPECT_EQ(saved.find("Editor=rm"), std::string::npos);
  TnuvConfig back(dir.Path());
  ASSERT_TRUE(back.Load(path));
  EXPECT_EQ(back.Path.Editor, kDefaultEditor);
}

TEST(NuvConfigTest, UnreadableFilesChangeNothing) {
  TTempDir dir;
  const std::string folderAsFile = dir.File("sub.ini");
  ASSERT_TRUE(ForceDirectories(folderAsFile));
  TnuvConfig config(dir.Path());
  config.UseTrash = false;
  const TnuvConfig before = config;
  EXPECT_FALSE(config.Load(folderAsFile));
  EXPECT_EQ(config, before);
  EXPECT_FALSE(config.Save(folderAsFile));
  EXPECT_TRUE(DirectoryExists(folderAsFile));
}

TEST(NuvConfigTest, AFailedWriteKeepsTheOldFileAndAnUnchangedFileIsNotRewritten) {
  TTempDir dir;
  const std::string path = dir.File("w.ini");
  TnuvConfig config(dir.Path());
  ASSERT_TRUE(config.Save(path));
  const std::string first = ReadFile(path);

  testhooks::FailWritesAfter(0);
  EXPECT_TRUE(config.Save(path));  // nothing changed: no write is attempted
  config.ScrollLine = 5;
  EXPECT_FALSE(config.Save(path));
  testhooks::FailWritesAfter(-1);
  EXPECT_EQ(ReadFile(path), first);
}

TEST(NuvConfigTest, OtherSectionsGoIntoTheSameSave) {
  TTempDir dir;
  const std::string path = dir.File("named.ini");
  TnuvConfig config(dir.Path());
  ASSERT_TRUE(config.Save(path, [](TIniFile& ini) { ini.WriteInteger("Window", "WinPosX", 40); }));
  const std::string saved = ReadFile(path);
  EXPECT_EQ(saved.rfind("[Window]\r\nWinPosX=40\r\n[EditView]\r\n", 0), 0u) << saved;
}

}  // namespace
}  // namespace nuv
