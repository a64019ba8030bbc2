// The light string list: how text is split into lines and joined again.
#include <gtest/gtest.h>

#include "base/Error.h"
#include "outline/LightStrings.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

TEST(LightStringsTest, SetTextStrSplitsAtLineEndsAndStopsAtNul) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
      {"a\r\n", {"a"}},
      {"a\r\n\r\n", {"a", ""}},
      {"\n\r", {"", ""}},
      {"a\r\rb\r", {"a", "", "b"}},
      {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
  };
  for (const auto& c : cases) {
    TLightStrings list;
    list.SetTextStr(c.text);
    EXPECT_EQ(list.Lines(), c.lines);
    // A reader that counts the lines first finds as many as it then walks.
    EXPECT_EQ(TLineCursor::ForText(c.text).Remaining(), c.lines.size()) << c.text;
  }
}

TEST(LightStringsTest, GetTextStrEndsEveryLineWithCrLf) {
  TLightStrings list;
  list.Add("a");
  list.Add("");
  EXPECT_EQ(list.GetTextStr(), "a\r\n\r\n");
  list.Clear();
  EXPECT_EQ(list.GetTextStr(), "");
}

TEST(LightStringsTest, IndexOutsideTheListRaisesTheFixedMessage) {
  TLightStrings list;
  list.Add("x");
  list.Insert(1, "y");
  EXPECT_EQ(list.Get(1), "y");
  try {
    list.Get(2);
    FAIL() << "no error";
  } catch (const ENuvError& e) {
    EXPECT_EQ(e.Message(), test::Sj("インデックスがリストの範囲を超えています"));
  }
  EXPECT_THROW(list.Delete(-1), ENuvError);
  EXPECT_THROW(list.Insert(3, "z"), ENuvError);
  EXPECT_THROW(list.Put(2, "z"), ENuvError);
}

TEST(LightStringsTest, LoadFromFileKeepsNulAndEndsAtATrailingEofMark) {
  test::TTempDir dir;
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {std::string("a\0b\r\nc", 6), {std::string("a\0b", 3), "c"}},
      {"a\r\nb\x1A", {"a", "b"}},
      {"a\r\n\x1A\x1A\r\n", {"a"}},
      // A 0x1A inside the text is a character, so a written body reads back whole.
      {"a\x1A" "b\r\nc\r\n", {"a\x1A" "b", "c"}},
      {"x\ry\n", {"x", "y"}},
  };
  for (const auto& c : cases) {
    TLightStrings list;
    ASSERT_TRUE(list.LoadFromFile(dir.Write("t.txt", c.bytes)));
    EXPECT_EQ(list.Lines(), c.lines);
    EXPECT_EQ(TLineCursor::ForFile(c.bytes).Remaining(), c.lines.size()) << c.bytes;
  }
}

TEST(LightStringsTest, CrLfAcrossThe8192ByteBufferIsOneLineBreak) {
  test::TTempDir dir;
  const std::string first(8191, 'a');
  TLightStrings list;
  ASSERT_TRUE(list.LoadFromFile(dir.Write("t.txt", first + "\r\nb\r\n")));
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Get(0), first);
  EXPECT_EQ(list.Get(1), "b");
  EXPECT_TRUE(list.SaveToFile(dir.File("out.txt")));
  EXPECT_EQ(dir.Read("out.txt"), first + "\r\nb\r\n");
  EXPECT_FALSE(list.LoadFromFile(dir.File("missing.txt")));
}

}  // namespace
}  // namespace nuv
