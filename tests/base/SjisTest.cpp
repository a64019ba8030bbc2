// Shift JIS helpers and the title rule: lead and trail bytes are decided by
// scanning from the start, and cuts never split a character.
#include <gtest/gtest.h>

#include "base/Prompts.h"
#include "base/Sjis.h"
#include "base/Title.h"

namespace nuv {
namespace {

TEST(SjisTest, LeadAndTrailAreDecidedFromTheStart) {
  const std::string kyaKya = "\x83\x83\x83\x83";  // "ャャ": the second 83 is a trail byte
  EXPECT_TRUE(IsDBCS1(kyaKya, 0));
  EXPECT_TRUE(IsDBCS2(kyaKya, 1));
  EXPECT_TRUE(IsDBCS1(kyaKya, 2));
  EXPECT_TRUE(IsDBCS2(kyaKya, 3));
  const std::string hyou = "a\x95\x5C" "b";  // "表" has a backslash trail byte
  EXPECT_FALSE(IsDBCS1(hyou, 0));
  EXPECT_TRUE(IsDBCS1(hyou, 1));
  EXPECT_TRUE(IsDBCS2(hyou, 2));
  EXPECT_FALSE(IsDBCS2(hyou, 3));
  EXPECT_EQ(IndexChar(hyou, 2), 1u);
  EXPECT_EQ(IndexChar(hyou, 3), 2u);
  EXPECT_EQ(CharCount(hyou), 3u);
  EXPECT_EQ(CharStart(hyou, 2), 1u);
}

TEST(SjisTest, LoneLeadByteIsOneCharacterAndNeverReadsPastTheEnd) {
  const std::string s = "ab\x82";
  EXPECT_EQ(CharLength(s, 2), 1u);
  EXPECT_FALSE(IsDBCS1(s, 2));
  EXPECT_EQ(CharCount(s), 3u);
  // A lead byte followed by a byte that cannot be a trail stands alone too.
  const std::string t = "\x82\x0D" "x";
  EXPECT_EQ(CharLength(t, 0), 1u);
  EXPECT_EQ(CharCount(t), 3u);
}

TEST(SjisTest, SearchesStepOverTrailBytes) {
  const std::string hyou = "\x95\x5C";
  EXPECT_FALSE(IsInclude("\\", hyou));
  EXPECT_TRUE(IsInclude("\\", hyou + "\\"));
  EXPECT_FALSE(IsInclude("", hyou));
  const std::string a = "\x83\x41";  // "ア": trail byte is "A"
  EXPECT_FALSE(IsInclude("A", a));
  EXPECT_EQ(IncludeCharCount(a + "A\tA", 'A'), 2u);
  EXPECT_EQ(FindAtBoundary("\x83\x83\x83\x83", "\x83\x83"), 0u);
  EXPECT_EQ(FindAtBoundary("x\x83\x83\x83\x83", "\x83\x83", 2), 3u);
}

TEST(SjisTest, BlanksAndLines) {
  EXPECT_EQ(TopSpace(" \t\x81\x40x "), 4u);
  EXPECT_EQ(TopSpace("\x81\x41"), 0u);
  EXPECT_EQ(TrimLeftDBCS("\x81\x40 \x01x y"), "x y");
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\nc\r\n", {"a", "b", "c"}},
      {"a\n\n", {"a", ""}},
      {"\r\n", {""}},
  };
  for (const auto& c : cases) EXPECT_EQ(StrToStrings(c.text), c.lines) << c.text;
}

TEST(TitleTest, DerivedTitleIsTrimmedAndCutAt250WithoutSplitting) {
  EXPECT_EQ(DeriveTitle(" \t title \x01"), "title");
  // 249 ASCII bytes then a double-byte character at bytes 250-251: cut to 249.
  const std::string lead = std::string(249, 'a') + "\x82\xa0";
  EXPECT_EQ(DeriveTitle(lead).size(), 249u);
  // Byte 250 a single-byte character: 250 bytes.
  EXPECT_EQ(DeriveTitle(std::string(251, 'b')).size(), 250u);
  // Byte 250 a trail byte: 250 bytes, ending with the whole character.
  const std::string trail = std::string(248, 'c') + "\x82\xa0" + "d";
  EXPECT_EQ(DeriveTitle(trail), trail.substr(0, 250));
}

TEST(TitleTest, TitlesNeverCarryLineBreaks) {
  EXPECT_EQ(CleanTitle("one\r\ntwo"), "one");
  EXPECT_EQ(CleanTitle("a\nb"), "a");
  EXPECT_EQ(CleanTitle(std::string("x\0y", 3)), "x");
  EXPECT_EQ(CleanTitle("plain"), "plain");
}

TEST(PromptsTest, MessageTextIsCutAt1023BytesWithoutSplittingACharacter) {
  const std::string arg = std::string(1022, 'x') + "\x82\xa0";
  EXPECT_EQ(FormatMessageText("%s", arg.c_str()).size(), 1022u);
  const std::string fits = std::string(1021, 'x') + "\x82\xa0";
  EXPECT_EQ(FormatMessageText("%s", fits.c_str()), fits);
  EXPECT_EQ(FormatMessageText("%d:%s", 7, "ok"), "7:ok");
}

}  // namespace
}  // namespace nuv
