// Width and case conversions: tables of cases, the sound rules at NULs, lone
// lead bytes and character boundaries, and every pair checked against
// Python's Unicode compatibility normalisation.
#include <gtest/gtest.h>

#include <sstream>

#include "exchange/TextConversions.h"
#include "support/ChildProcess.h"

namespace nuv {
namespace {

using test::Sj;

TEST(TextConversionsTest, WidthCases) {
  const struct {
    std::string text;
    TWidthConversion conversion;
    std::string expected;
  } cases[] = {
      {Sj("ｶﾞｷﾞ"), {true, false, false, true}, Sj("ガギ")},
      {Sj("ﾜﾞ"), {true, false, false, true}, Sj("ワ゛")},
      {Sj("ﾊﾟﾊﾞﾊ"), {true, false, false, true}, Sj("パバハ")},
      {Sj("ﾞｶ"), {true, false, false, true}, Sj("゛カ")},
      {Sj("ガ"), {false, false, false, true}, Sj("ｶﾞ")},
      {Sj("カヴ"), {false, false, false, true}, Sj("ｶｳﾞ")},
      {Sj("a1"), {true, true, true, false}, Sj("ａ１")},
      {Sj("a1"), {true, true, false, false}, Sj("a１")},
      {Sj("ａ１ｶ"), {false, true, true, true}, Sj("a1ｶ")},
      // Hiragana, half-width punctuation and other symbols stay.
      {Sj("がｶ｡｢｣､･!?"), {true, true, true, true}, Sj("がカ｡｢｣､･!?")},
      {Sj("が。「」、・！"), {false, true, true, true}, Sj("が。「」、・！")},
      {Sj("ヵヶヮ"), {false, true, true, true}, Sj("ヵヶヮ")},
  };
  for (const auto& c : cases) EXPECT_EQ(ConvertWidth(c.text, c.conversion), c.expected) << c.text;
}

TEST(TextConversionsTest, CaseCases) {
  const struct {
    std::string text, upper, lower;
  } cases[] = {
      {Sj("Ａb"), Sj("ＡB"), Sj("Ａb")},  // full-width letters keep their case
      {"Hello, World", "HELLO, WORLD", "hello, world"},
      // Trail bytes that look like letters stay: "ア" is 83 41, "ポ" 83 7C, "ゃ" 82 E1.
      {Sj("アポゃa"), Sj("アポゃA"), Sj("アポゃa")},
      {"\x83" "a", "\x83" "a", "\x83" "a"},  // 83 61 is one character ("ヂ")
      {"\x83 a", "\x83 A", "\x83 a"},          // a lone lead byte takes nothing with it
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LowerToUpper(c.text), c.upper) << c.text;
    EXPECT_EQ(UpperToLower(c.text), c.lower) << c.text;
  }
}

TEST(TextConversionsTest, NulLoneLeadBytesAndBoundaries) {
  using namespace std::string_literals;
  const std::string withNul = "1\0" "2"s + Sj("ｶ");
  EXPECT_EQ(ConvertWidth(withNul, {}), Sj("１") + "\0"s + Sj("２カ"));
  EXPECT_EQ(LowerToUpper("a\0b"s), "A\0B"s);
  // A lone lead byte at the end, or before a byte that cannot follow it, is one byte.
  EXPECT_EQ(ConvertWidth("1\x83", {}), Sj("１") + "\x83");
  EXPECT_EQ(ConvertWidth("\x83\r1", {}), "\x83\r" + Sj("１"));
  EXPECT_EQ(ConvertWidth("\x83", {false, true, true, true}), "\x83");
  // Entries match whole characters only: "ｱ" (B1) after a lead byte is that character's trail byte.
  EXPECT_EQ(HalfToFull("\x83\xB1", TConvTable::Katakana), "\x83\xB1");
  // The bytes 82 60 (Ａ's lead) and 83 41 (ア) written apart: "\x83\x82\x60" is 83 82, then 60.
  EXPECT_EQ(FullToHalf("\x83\x82\x60", TConvTable::Letters), "\x83\x82\x60");
  EXPECT_EQ(FullToHalf("\x82\x60\x82\x60", TConvTable::Letters), "AA");
  // Megabytes of one byte convert without trouble.
  EXPECT_EQ(HalfToFull(std::string(1 << 20, '\xDE'), TConvTable::Katakana).size(), std::size_t{2} << 20);
}

TEST(TextConversionsTest, AgreesWithUnicodeNormalisation) {
  const test::TChildResult r =
      test::RunChild({"python3", std::string(NUV_TEST_DATA) + "/nfkc_width_pairs.py"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::istringstream lines(r.out);
  std::string line;
  int pairs = 0;
  while (std::getline(lines, line)) {
    const std::size_t tab1 = line.find('\t'), tab2 = line.find('\t', tab1 + 1);
    ASSERT_NE(tab2, std::string::npos) << line;
    const std::string name = line.substr(0, tab1);
    const std::string half = Sj(line.substr(tab1 + 1, tab2 - tab1 - 1));
    const std::string full = Sj(line.substr(tab2 + 1));
    const TConvTable table = name == "digits" ? TConvTable::Digits : name == "letters" ? TConvTable::Letters
                                                                                     : TConvTable::Katakana;
    // There and back again, and no other table touches it.
    EXPECT_EQ(HalfToFull(half, table), full) << line;
    EXPECT_EQ(FullToHalf(full, table), half) << line;
    for (const TConvTable other : {TConvTable::Digits, TConvTable::Letters, TConvTable::Katakana}) {
      if (other == table) continue;
      EXPECT_EQ(HalfToFull(half, other), half) << line;
      EXPECT_EQ(FullToHalf(full, other), full) << line;
    }
    ++pairs;
  }
  // 10 digits, 52 letters, 58 single kana and marks, 26 voiced pairs + ｦﾞ and ﾜﾞ.
  EXPECT_EQ(pairs, 148);
}

}  // namespace
}  // namespace nuv
