// The ini engine: reading rules, in-place writes that keep foreign lines byte
// for byte, and refusals of values that would inject keys.
#include <gtest/gtest.h>

#include "base/FileIo.h"
#include "base/IniFile.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

TIniFile FromBytes(std::string_view bytes) {
  TIniFile ini;
  ini.LoadFromBytes(bytes);
  return ini;
}

TEST(IniFileTest, ReadingRules) {
  const TIniFile ini = FromBytes(
      "top=ignored\r\n"
      "[Window]\r\n"
      "  WinPosX = 12 \r\n"
      "quoted=\" padded \"\r\n"
      "single='x'\r\n"
      "; comment=1\r\n"
      "empty=\r\n"
      "[window]\r\n"
      "WinPosX=99\r\n"
      "Second=1\n"
      "[Other]\r\n"
      "winposx=5");
  EXPECT_EQ(ini.ReadString("WINDOW", "winposx", "d"), "12");
  EXPECT_EQ(ini.ReadString("Window", "quoted", "d"), " padded ");
  EXPECT_EQ(ini.ReadString("Window", "single", "d"), "x");
  EXPECT_EQ(ini.ReadString("Window", "; comment", "d"), "d");
  EXPECT_EQ(ini.ReadString("Window", "empty", "d"), "");
  // The first matching section wins: keys of a later duplicate are not seen.
  EXPECT_EQ(ini.ReadString("Window", "Second", "d"), "d");
  EXPECT_EQ(ini.ReadString("Other", "WinPosX", "d"), "5");
  EXPECT_EQ(ini.ReadString("None", "top", "d"), "d");
}

TEST(IniFileTest, IntegersThatAreNotWhole32BitNumbersReadAsTheDefault) {
  const TIniFile ini = FromBytes(
      "[S]\r\nok=-2147483643\r\nbig=2147483648\r\nfrac=1.5\r\ntext=abc\r\nplus=+7\r\nhuge=99999999999999\r\n"
      "b0=0\r\nb2=2\r\n");
  EXPECT_EQ(ini.ReadInteger("S", "ok", 1), -2147483643);
  EXPECT_EQ(ini.ReadInteger("S", "big", 1), 1);
  EXPECT_EQ(ini.ReadInteger("S", "frac", 1), 1);
  EXPECT_EQ(ini.ReadInteger("S", "text", 1), 1);
  EXPECT_EQ(ini.ReadInteger("S", "plus", 1), 7);
  EXPECT_EQ(ini.ReadInteger("S", "huge", -9999), -9999);
  EXPECT_FALSE(ini.ReadBool("S", "b0", true));
  EXPECT_TRUE(ini.ReadBool("S", "b2", false));
  EXPECT_TRUE(ini.ReadBool("S", "missing", true));
}

TEST(IniFileTest, WritesKeepEveryOtherLineByteForByte) {
  const std::string original =
      "; written by hand\n"
      "[Foreign]\r\n"
      "Key = value with spaces  \r\n"
      "\r\n"
      "[Window]\n"
      "WinPosX=1\n"
      "Unknown=\xe0\x40\n"
      "\n"
      "[Tail]\r\n"
      "x=1";
  TIniFile ini = FromBytes(original);
  EXPECT_TRUE(ini.WriteInteger("window", "WINPOSX", 30));  // the file's spelling stays
  EXPECT_TRUE(ini.WriteInteger("Window", "WinPosY", 40));  // appended after the last key
  EXPECT_TRUE(ini.WriteString("New", "A", "b"));           // a new section at the end
  EXPECT_EQ(ini.ToBytes(),
            "; written by hand\n"
            "[Foreign]\r\n"
            "Key = value with spaces  \r\n"
            "\r\n"
            "[Window]\n"
            "WinPosX=30\n"
            "Unknown=\xe0\x40\n"
            "WinPosY=40\n"
            "\n"
            "[Tail]\r\n"
            "x=1\r\n"
            "[New]\r\n"
            "A=b\r\n");
  TIniFile same = FromBytes(original);
  EXPECT_TRUE(same.WriteInteger("Window", "WinPosX", 1));
  EXPECT_FALSE(same.Modified());
}

TEST(IniFileTest, ValuesThatWouldInjectKeysAreRefused) {
  TIniFile ini = FromBytes("[S]\r\nA=1\r\n");
  EXPECT_FALSE(ini.WriteString("S", "A", "x\r\n[Evil]\r\nB=2"));
  EXPECT_FALSE(ini.WriteString("S", "A", "x\ny"));
  EXPECT_FALSE(ini.WriteString("S", "K=V", "1"));
  EXPECT_FALSE(ini.WriteString("S]", "K", "1"));
  EXPECT_FALSE(ini.WriteString("S", "", "1"));
  EXPECT_EQ(ini.ToBytes(), "[S]\r\nA=1\r\n");
}

TEST(IniFileTest, ValuesReadBackAsWritten) {
  TIniFile ini;
  const std::string values[] = {"", " lead", "trail ", "\"quoted\"", "'q'", "a=b", "\x95\x5c\x83\x5c", "; x"};
  for (std::size_t i = 0; i < std::size(values); ++i)
    ASSERT_TRUE(ini.WriteString("S", "K" + std::to_string(i), values[i]));
  const TIniFile back = FromBytes(ini.ToBytes());
  for (std::size_t i = 0; i < std::size(values); ++i)
    EXPECT_EQ(back.ReadString("S", "K" + std::to_string(i), "?"), values[i]) << i;
}

TEST(IniFileTest, EraseSectionRemovesEveryCopy) {
  TIniFile ini = FromBytes("[A]\r\nx=1\r\n[B]\r\ny=2\r\n[a]\r\nz=3\r\n");
  ini.EraseSection("a");
  EXPECT_EQ(ini.ToBytes(), "[B]\r\ny=2\r\n");
  ini.DeleteKey("B", "Y");
  EXPECT_EQ(ini.ToBytes(), "[B]\r\n");
  EXPECT_EQ(ini.ReadSection("B").size(), 0u);
}

TEST(IniFileTest, SaveReplacesTheFileAndAFailedSaveLeavesItIntact) {
  test::TTempDir dir;
  const std::string path = dir.Write("nuv.ini", "[S]\r\nA=1\r\n");
  TIniFile ini(path);
  ini.WriteInteger("S", "A", 2);
  testhooks::FailWritesAfter(3);
  EXPECT_FALSE(ini.Save());
  testhooks::FailWritesAfter(-1);
  EXPECT_EQ(dir.Read("nuv.ini"), "[S]\r\nA=1\r\n");
  EXPECT_TRUE(ini.Save());
  EXPECT_EQ(dir.Read("nuv.ini"), "[S]\r\nA=2\r\n");
  TIniFile missing(dir.File("none.ini"));
  EXPECT_EQ(missing.ReadInteger("S", "A", 5), 5);
}

}  // namespace
}  // namespace nuv
