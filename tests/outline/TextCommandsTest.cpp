// The rules behind the text commands: date patterns, counts, caret offsets
// from files, the print layout and auto-clipping's decisions.
#include <gtest/gtest.h>

#include "outline/CaretPos.h"
#include "outline/ClipDecider.h"
#include "outline/DateTimeFormat.h"
#include "outline/PrintLayout.h"
#include "outline/TextCounts.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Sj;

TEST(DateTimeFormatTest, Patterns) {
  // Friday 2026-03-06 09:05:07.
  const TDateTimeParts when{2026, 3, 6, 5, 9, 5, 7};
  const struct {
    std::string pattern, expected;
  } cases[] = {
      {"yyyy/mm/dd(ddd)", Sj("2026/03/06(金)")},
      {"hh:nn:ss", "09:05:07"},
      {"yyyy/mm/dd(ddd)hh:nn:ss", Sj("2026/03/06(金)09:05:07")},
      {"yy-m-d h:n:s", "26-3-6 9:5:7"},
      {"YYYY.MM.DD", "2026.03.06"},
      {"dddd", Sj("金曜日")},
      {"hh:mm", "09:05"},  // minutes right after an hour
      {"mm hh", "03 09"},
      {"'yyyy' \"mm\" yyyy", "yyyy mm 2026"},
      {"'open", "open"},
      // Trail bytes are never pattern letters: ハ 83 6E, ド 83 68, ノ 83 6D, ピ 83 73, ペ 83 79, ヅ 83 64.
      {Sj("ハドノピペヅ"), Sj("ハドノピペヅ")},
      {Sj("yyyy年m月d日(ddd)ハ"), Sj("2026年3月6日(金)ハ")},
      {Sj("'ハ'n"), Sj("ハ5")},
      {"\x83", "\x83"},     // a lone lead byte is copied
      {"\x83n", "\x83n"},   // 6E is the trail byte of this character
      {"\x83 n", "\x83 5"}, // a space ends the lone lead byte
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.pattern, when), c.expected) << c.pattern;
  EXPECT_EQ(FormatDateTime(std::string(1 << 20, 'y'), when), "2026");
  EXPECT_EQ(FormatDateTime("'" + std::string(1 << 20, '\x83'), when), std::string(1 << 20, '\x83'));
  const TDateTimeParts sunday{2026, 3, 1, 0, 23, 59, 59};
  EXPECT_EQ(FormatDateTime("ddd", sunday), Sj("日"));
}

TEST(TextCountsTest, CountsLinesCharactersAndSize) {
  const struct {
    std::string text;
    TTextCounts expected;
  } cases[] = {
      {"", {0, 0, 0}},
      {Sj("あa\r\n"), {5, 3, 2}},
      {"abc\r\nde\r\n", {9, 5, 5}},
      {"abc\nde", {9, 5, 5}},  // whatever the line ends
      {"\r\n\r\n", {4, 0, 0}},
      // A lead byte at a line's end counts one and takes no line break with it.
      {"a\x83\r\nb\r\n", {7, 3, 3}},
      {"\x83", {3, 1, 1}},
      {"\x83\x83\x83", {5, 3, 2}},
  };
  for (const auto& c : cases) EXPECT_EQ(CountText(c.text), c.expected) << c.text;
  EXPECT_EQ(CharCountMessage({5, 3, 2}), Sj("サイズ　　：          5\n\nバイト数 ：          3\n文字数　：          2"));
  EXPECT_EQ(PageCountMessage(12), Sj("ページ数： 12ページ"));
}

TEST(CaretPosTest, ClampedToTheTextAndToCharacters) {
  const std::string text = Sj("aあ\r\nb");  // 61 82 A0 0D 0A 62
  const struct {
    int64_t pos;
    int expected;
  } cases[] = {{-5, 0}, {0, 0}, {1, 1}, {2, 1}, {3, 3}, {4, 3}, {5, 5}, {6, 6}, {7, 6}, {INT64_MAX, 6}};
  for (const auto& c : cases) EXPECT_EQ(ClampCaretPos(text, c.pos), c.expected) << c.pos;
  EXPECT_EQ(ClampCaretPos("", 3), 0);
}

TEST(PrintLayoutTest, TabsExpandToTheNextStop) {
  const struct {
    std::string line;
    int width;
    std::string expected;
  } cases[] = {
      {"\tx", 4, "    x"},
      {"ab\tx", 4, "ab  x"},
      {"abcd\tx", 4, "abcd    x"},
      {Sj("あ\tx"), 4, Sj("あ  x")},  // a double-byte character is two columns
      {"a\t\tb", 3, "a     b"},
      {"\tx", 0, " x"},  // a width below 1 counts as 1
      {"\tx", -7, " x"},
      {"\x83\tx", 4, "\x83   x"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandPrintTabs(c.line, c.width), c.expected) << c.line;
}

TEST(PrintLayoutTest, PagesHoldAtLeastOneLine) {
  EXPECT_EQ(PrintLineHeight({1000, -12, 20}), 14);
  EXPECT_EQ(PrintLinesPerPage({1000, -12, 20}), 68);
  EXPECT_EQ(PrintLinesPerPage({1000, 5000, 20}), 1);  // a huge font
  EXPECT_EQ(PrintLinesPerPage({10, 12, 20}), 1);      // margins larger than the page
  EXPECT_EQ(PrintLinesPerPage({1000, INT32_MIN, 20}), 1);

  std::string text;
  for (int i = 1; i <= 100; ++i) text += "line " + std::to_string(i) + "\r\n";
  const auto pages = LayoutPrintPages(text, 60, 4);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].size(), 60u);
  EXPECT_EQ(pages[1].front(), "line 61");
  EXPECT_EQ(pages[1].back(), "line 100");
  EXPECT_EQ(LayoutPrintPages(text, 0, 4).size(), 100u);
  EXPECT_EQ(LayoutPrintPages("", 60, 4).size(), 1u);
  // A long double-byte line is kept whole.
  std::string wide;
  for (int i = 0; i < 600; ++i) wide += Sj("表");
  EXPECT_EQ(LayoutPrintPages(wide, 60, 4)[0][0], wide);
}

TEST(ClipDeciderTest, OncePerChangeNeverAtStartQueuedWhileBusy) {
  TClipDecider clip;
  EXPECT_EQ(clip.Notice("before", 0, false), TClipDecision::Ignore);  // not listening
  clip.SetListening(true, "on the clipboard", 1000);
  EXPECT_EQ(clip.Notice("on the clipboard", 1010, false), TClipDecision::Ignore);  // the notice of joining
  EXPECT_EQ(clip.Notice("first", 2000, false), TClipDecision::AddPage);
  EXPECT_EQ(clip.Notice("first", 2100, false), TClipDecision::Ignore);  // a manager takes it back
  EXPECT_EQ(clip.Notice("first", 3000, false), TClipDecision::AddPage);  // copied again later
  EXPECT_EQ(clip.Notice("", 3100, false), TClipDecision::Ignore);       // no text (pages copied)

  EXPECT_EQ(clip.Notice("during a dialog", 4000, true), TClipDecision::Queued);
  EXPECT_EQ(clip.Notice("during a dialog", 4200, true), TClipDecision::Ignore);
  EXPECT_EQ(clip.Notice("second", 4300, true), TClipDecision::Queued);
  EXPECT_EQ(clip.TakeQueued(), "during a dialog");
  EXPECT_EQ(clip.TakeQueued(), "second");
  EXPECT_EQ(clip.TakeQueued(), std::nullopt);

  for (int i = 0; i < 100; ++i) clip.Notice("t" + std::to_string(i), 5000 + i, true);
  int queued = 0;
  std::string first;
  while (auto text = clip.TakeQueued()) {
    if (queued++ == 0) first = *text;
  }
  EXPECT_EQ(queued, static_cast<int>(TClipDecider::kMaxQueued));
  EXPECT_EQ(first, "t36");

  clip.Notice("pending", 9000, true);
  clip.SetListening(false);
  EXPECT_FALSE(clip.HasQueued());
  EXPECT_EQ(clip.Notice("after", 9100, false), TClipDecision::Ignore);
}

}  // namespace
}  // namespace nuv
