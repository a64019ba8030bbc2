// Number texts and case mapping of the macro language.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "macro/PPConvert.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Sj;

TEST(PPConvertTest, FloatToStrUsesFifteenDigitsGeneralFormat) {
  // Expectations taken from Free Pascal's FloatToStr.
  struct Case {
    double value;
    const char* text;
  } cases[] = {
      {0.1, "0.1"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {1e20, "1E20"},
      {1e15, "1E15"},
      {1e14, "100000000000000"},
      {123456789012345.0, "123456789012345"},
      {1234567890123456.0, "1.23456789012346E15"},
      {0.0001, "0.0001"},
      {0.00001, "0.00001"},
      {9.999999999999999e-6, "0.00001"},
      {1.5e-5, "0.000015"},
      {1e-6, "1E-6"},
      {1.5e-7, "1.5E-7"},
      {-2.5, "-2.5"},
      {0.0, "0"},
      {100.0, "100"},
      {12345.678, "12345.678"},
      {1e100, "1E100"},
      {1.23e-100, "1.23E-100"},
      {1.7976931348623157e308, "1.79769313486232E308"},
      {-1e-10, "-1E-10"},
  };
  for (const auto& c : cases) EXPECT_EQ(PPFloatToStr(c.value), c.text) << c.value;
  EXPECT_EQ(PPFormatG(2.5), "2.5");
  EXPECT_EQ(PPFormatG(1e20), "1e+20");
}

TEST(PPConvertTest, IntegerTexts) {
  struct Case {
    const char* text;
    bool ok64;
    int64_t v64;
    bool ok32;
    int32_t v32;
  } cases[] = {
      {"12", true, 12, true, 12},
      {"  -12", true, -12, true, -12},
      {"+7", true, 7, true, 7},
      {"$1F", true, 31, true, 31},
      {"0x1f", true, 31, true, 31},
      {"$FFFFFFFF", true, 0xFFFFFFFFll, true, -1},
      {"2147483648", true, 2147483648ll, false, 0},
      {"-2147483648", true, INT64_C(-2147483648), true, INT32_MIN},
      {"9223372036854775807", true, INT64_MAX, false, 0},
      {"-9223372036854775808", true, INT64_MIN, false, 0},
      {"9223372036854775808", false, 0, false, 0},
      {"$FFFFFFFFFFFFFFFF", true, -1, false, 0},
      {"12 ", false, 0, false, 0},
      {"1x", false, 0, false, 0},
      {"", false, 0, false, 0},
      {"$", false, 0, false, 0},
      {"-", false, 0, false, 0},
  };
  for (const auto& c : cases) {
    int64_t v64 = 0;
    int32_t v32 = 0;
    EXPECT_EQ(PPStrToInt64(c.text, v64), c.ok64) << c.text;
    if (c.ok64) {
      EXPECT_EQ(v64, c.v64) << c.text;
    }
    EXPECT_EQ(PPStrToInt(c.text, v32), c.ok32) << c.text;
    if (c.ok32) {
      EXPECT_EQ(v32, c.v32) << c.text;
    }
  }
  int32_t v = 0;
  EXPECT_TRUE(PPIntegerLiteral("2147483648", v));
  EXPECT_EQ(v, INT32_MIN);
  EXPECT_FALSE(PPIntegerLiteral("2147483649", v));
  EXPECT_FALSE(PPIntegerLiteral("$100000000", v));
  EXPECT_FALSE(PPIntegerLiteral("$", v));
}

TEST(PPConvertTest, RealTextsAndConversions) {
  struct Case {
    const char* text;
    bool ok;
    double value;
  } cases[] = {{"1.5", true, 1.5}, {" -2e3 ", true, -2000}, {".5", true, 0.5}, {"1.", true, 1},
               {"1e-400", true, 0}, {"1e400", false, 0}, {"inf", false, 0}, {"nan", false, 0},
               {"1e", false, 0},     {"", false, 0},         {"1,5", false, 0}, {"+3", true, 3}};
  for (const auto& c : cases) {
    double v = -99;
    EXPECT_EQ(PPStrToFloat(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.text;
    }
  }
  int32_t out = 0;
  EXPECT_TRUE(PPTruncToInt32(-3.7, out));
  EXPECT_EQ(out, -3);
  EXPECT_TRUE(PPTruncToInt32(1e10, out));
  EXPECT_EQ(out, 1410065408);  // wrapped as an Int64 assigned to an Integer
  EXPECT_FALSE(PPTruncToInt32(std::nan(""), out));
  EXPECT_FALSE(PPTruncToInt32(1e19, out));
  EXPECT_FALSE(PPTruncToInt32(std::numeric_limits<double>::infinity(), out));
  const double halves[][2] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {2.4, 2}, {2.6, 3}};
  for (const auto& h : halves) {
    EXPECT_TRUE(PPRoundToInt32(h[0], out));
    EXPECT_EQ(out, h[1]) << h[0];
  }
  EXPECT_EQ(PPTruncOrZero(std::nan("")), 0);
}

TEST(PPConvertTest, CaseMappingIsDoubleByteSafe) {
  EXPECT_EQ(PPUpperCase(Sj("abcＡｂｃαωабяё表ソ")), Sj("ABCＡＢＣΑΩАБЯЁ表ソ"));
  EXPECT_EQ(PPLowerCase(Sj("ABCＡＢＣΑΩАБЯЁ表ソ")), Sj("abcａｂｃαωабяё表ソ"));
  // A trail byte that looks like a letter stays: "ア" is 83 41.
  EXPECT_EQ(PPLowerCase(Sj("ア")), Sj("ア"));
  // A lone lead byte at the end is one byte and never read past.
  EXPECT_EQ(PPUpperCase(std::string("a\x83", 2)), std::string("A\x83", 2));
}

TEST(PPConvertTest, StringLiterals) {
  struct Case {
    const char* token;
    std::string value;
  } cases[] = {{"'abc'", "abc"},       {"'it''s'", "it's"}, {"''", ""},       {"''''", "'"},
               {"'open", "open"},      {"'", ""},           {"#65", "A"},     {"#$41", "A"},
               {"#1234", "{"},         {"#999", ""},        {"#$1FF", ""},    {"#", ""},
               {"#$", ""},             {"#0", std::string(1, '\0')}};
  for (const auto& c : cases) EXPECT_EQ(PPStringLiteral(c.token), c.value) << c.token;
  EXPECT_EQ(PPTrim(" \t a b \r\n"), "a b");
  EXPECT_EQ(PPTrimLeft("  a "), "a ");
  EXPECT_EQ(PPTrimRight("  a "), "  a");
}

}  // namespace
}  // namespace nuv
