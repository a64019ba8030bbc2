// Matching: leftmost-longest results, anchors, the compiled-pattern cache and
// its error reset, and the limits that keep hostile patterns and texts cheap.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "base/Codec.h"
#include "regex/AwkStr.h"
#include "regex/RegExpError.h"
#include "regex/RegExpTexts.h"
#include "support/TempDir.h"
#include "ReferenceMatcher.h"

namespace nuv {
namespace {

using test::Sj;

struct TCase {
  std::string pattern, text;
  int position, length;
  bool fuzzy = false;
};

TEST(MatchTest, LeftmostLongest) {
  const TCase cases[] = {
      {"a*", "baa", 1, 0},
      {"a*", "aab", 1, 2},
      {"ab|abcd", "xabcde", 2, 4},
      {"(a|ab)(c|bcd)", "abcd", 1, 4},
      {"a+", "caaab", 2, 3},
      {"x", "abc", 0, 0},
      {"", "abc", 1, 0},
      {"", "", 1, 0},
      {"b*", "", 1, 0},
      {"a?b", "xxab", 3, 2},
      {"[a-c]+", "xxbcax", 3, 3},
      {"^a", "ba", 0, 0},
      {"^a", "ab", 1, 1},
      {"a^", "a^", 1, 2},
      {"^^a", "^a", 1, 2},
      {"a$", "xa", 2, 1},
      {"a$", "ab", 0, 0},
      {"$", "abc", 4, 0},
      {"$", "", 1, 0},
      {"^$", "", 1, 0},
      {"^$", "a", 0, 0},
      {"x|^b", "b", 1, 1},
      {"^b", "a\nb", 3, 1},
      {"^a|b", "xb", 2, 1},
      {"a$", "a\rb", 1, 1},
      {"$", "ab\rc", 3, 0},
      {"a$|ab", "ab", 1, 2},
      {"(^a|a)b*", "abbb", 1, 4},
      // An empty alternative matches an empty line even when the anchored
      // one cannot.
      {"^a|", "", 1, 0},
      {"^a|b*", "", 1, 0},
      // Literal anchors are characters of their own, cut out of "." and classes.
      {"x(^b|.c)", "x^b", 1, 3},
      {"a$b|a.c", "a$b", 1, 3},
      {"a.c|a$b", "a$b", 1, 3},
      {"[^x]b$c", "^b$c", 1, 4},
      // Double-byte text: trail bytes are never characters of their own.
      {Sj("表"), Sj("ソ表"), 3, 2},
      {"\\\\", Sj("表"), 0, 0},
      {"\\\\", Sj("表\\"), 3, 1},
      {"A", Sj("ア"), 0, 0},
      {"A", Sj("アA"), 3, 1},
      {Sj("[ァ-ヶ]+研究"), Sj("これはソフトウェア研究です"), 7, 16},
      {Sj("[^ア]"), Sj("アアイ"), 5, 2},
      {".", "\x82", 1, 1},
      {"..", "\x82 ", 1, 2},
      {"[\\x82]", "a\x82", 2, 1},
      // A fixed text is found only where the text's characters are its own.
      {"[\\x82]A", "\x82" "A", 0, 0},
      {"A[\\x82]", "A\x82\xA0", 0, 0},
      {"A[\\x82]", "xA\x82", 2, 2},
      {Sj("研究"), "\x8C" + Sj("研究"), 0, 0},
      {Sj("研究"), "\x8C" + Sj("x研究"), 3, 4},  // 8C 78 is one character
      {"[^a]", "a\rb", 3, 1},
      {".", "\n\r", 0, 0},
      {"[^\\x01-\\x7f]", Sj("abcあ"), 4, 2},
      {"[^\\x01-\\xfcfc]", "abc", 0, 0},
      {"x[^\\x01-\\xfcfc]?", "xy", 1, 1},
      // Code 0 never matches: the text ends at its first zero byte.
      {"\\0", "abc", 0, 0},
      {"a\\0*", "ab", 1, 1},
      {"[\\x00-\\x7f]*", "ab", 1, 2},
      {"b", std::string("a\0b", 3), 0, 0},
      {"\\xfffc", "abc", 0, 0},
      // Fuzzy.
      {Sj("ア"), Sj("いあう"), 3, 2, true},
      {"A", Sj("xａ"), 2, 2, true},
      {Sj("ｶﾞ"), Sj("が"), 1, 2, true},
      {Sj("か゛"), Sj("xｶﾞ"), 2, 2, true},
      {Sj("ヴァイオリン"), Sj("ばいおりん"), 1, 10, true},
      {"a*", Sj("Ａａa"), 1, 5, true},
      {Sj("[ア]"), Sj("あア"), 3, 2, true},
  };
  TAWKStr matcher;
  for (const TCase& c : cases) {
    matcher.SetUseFuzzyCharDic(c.fuzzy);
    matcher.SetRegExp(c.pattern);
    int position = -1, length = -1;
    const int result = matcher.Match(c.text, position, length);
    EXPECT_EQ(position, c.position) << Cp932ToUtf8(c.pattern) << " on " << Cp932ToUtf8(c.text);
    EXPECT_EQ(length, c.length) << Cp932ToUtf8(c.pattern) << " on " << Cp932ToUtf8(c.text);
    EXPECT_EQ(result, position);
  }
}

TEST(MatchTest, LineFeedSeparatorEndsLinesAtLineFeed) {
  TAWKStr matcher;
  matcher.SetRegExp("a$");
  std::size_t start = 0, end = 0;
  EXPECT_TRUE(matcher.MatchEX("a\rb", start, end));
  matcher.SetLineSeparator(mcls_LF);
  EXPECT_FALSE(matcher.MatchEX("a\rb", start, end));
  EXPECT_TRUE(matcher.MatchEX("ba\nb", start, end));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 2u);
  // MatchStd ignores anchors altogether.
  EXPECT_FALSE(matcher.MatchStd("ba", start, end));
  EXPECT_EQ(start, TMatchCORE::kNoMatch);
}

TEST(PatternCacheTest, CompilesOncePerPatternAndEvictsTheOldestInserted) {
  TAWKStr matcher;
  const std::size_t base = matcher.CompileCount();
  matcher.SetRegExp("abc");
  matcher.SetRegExp("abc");
  EXPECT_EQ(matcher.CompileCount(), base + 1);
  for (int i = 1; i < 29; ++i) matcher.SetRegExp("p" + std::to_string(i));
  std::vector<std::string> cached = matcher.CachedPatterns();
  ASSERT_EQ(cached.size(), 30u);
  EXPECT_EQ(cached[0], "");
  EXPECT_EQ(cached[1], "p28");
  EXPECT_EQ(cached[29], "abc");
  // A pattern found again becomes current without moving or compiling.
  matcher.SetRegExp("p5");
  EXPECT_EQ(matcher.CompileCount(), base + 29);
  EXPECT_EQ(matcher.CachedPatterns(), cached);
  EXPECT_EQ(matcher.CurrentIndex(), 24u);
  // The 30th distinct pattern pushes out the oldest inserted one.
  matcher.SetRegExp("new");
  cached = matcher.CachedPatterns();
  EXPECT_EQ(cached.size(), 30u);
  EXPECT_EQ(cached[1], "new");
  EXPECT_EQ(cached[29], "p1");
  EXPECT_EQ(std::find(cached.begin(), cached.end(), "abc"), cached.end());
  // The empty pattern stays at the front.
  matcher.SetRegExp("");
  EXPECT_EQ(matcher.CurrentIndex(), 0u);
}

TEST(PatternCacheTest, ErrorLeavesTheEmptyPatternCurrent) {
  TAWKStr matcher;
  matcher.SetRegExp("x");
  try {
    matcher.SetRegExp("a(b");
    ADD_FAILURE();
  } catch (const ERegExpParser& e) {
    EXPECT_EQ(e.Message(), retext::NeedRightParen());
  }
  EXPECT_EQ(matcher.RegExp(), "");
  EXPECT_EQ(matcher.CurrentIndex(), 0u);
  EXPECT_EQ(matcher.CachedPatterns(), (std::vector<std::string>{"", "x"}));
  int position = 0, length = 0;
  EXPECT_EQ(matcher.Match("xyz", position, length), 1);  // the empty pattern
  EXPECT_EQ(length, 0);
  // An error from the preprocessor resets the same way, and switching fuzzy
  // on recompiles what is current.
  matcher.SetRegExp("x");
  EXPECT_THROW(matcher.SetRegExp("["), ERegExpParser);
  EXPECT_EQ(matcher.RegExp(), "");
  matcher.SetRegExp("a");
  matcher.SetUseFuzzyCharDic(true);
  EXPECT_EQ(matcher.RegExp(), "a");
  EXPECT_EQ(matcher.CachedPatterns()[1], Sj("(Ａ|ａ|A|a)"));
  EXPECT_EQ(matcher.Match(Sj("xＡ"), position, length), 2);
  EXPECT_EQ(length, 2);
  matcher.SetUseFuzzyCharDic(false);
  EXPECT_EQ(matcher.Match(Sj("xＡ"), position, length), 0);
}

TEST(PatternCacheTest, ErrorWhenFullKeepsTheEvictionDone) {
  TAWKStr matcher;
  for (int i = 0; i < 29; ++i) matcher.SetRegExp("p" + std::to_string(i));
  ASSERT_EQ(matcher.CachedPatterns().size(), 30u);
  EXPECT_THROW(matcher.SetRegExp("(("), ERegExpParser);
  EXPECT_EQ(matcher.CachedPatterns().size(), 29u);
  EXPECT_EQ(matcher.CachedPatterns().back(), "p1");
}

std::string RandomText(std::mt19937& rng, std::size_t size, std::string_view alphabet) {
  std::string text(size, ' ');
  for (char& c : text) c = alphabet[rng() % alphabet.size()];
  return text;
}

TEST(MatchLimitsTest, ExponentialSubsetsStayWithinTheStateBudget) {
  std::string pattern = "(a|b)*a";
  for (int i = 0; i < 20; ++i) pattern += "(a|b)";
  TAWKStr matcher;
  matcher.SetRegExp(pattern);
  std::mt19937 rng(3);
  const std::string text = RandomText(rng, 300000, "ab");
  int position = 0, length = 0;
  matcher.Match(text, position, length);
  // The match runs from the start to the last position 21 after an "a".
  std::size_t end = text.size();
  while (text[end - 21] != 'a') --end;
  EXPECT_EQ(position, 1);
  EXPECT_EQ(static_cast<std::size_t>(length), end);
  EXPECT_GT(matcher.GetCurrentDFA().FlushCount(), 0u);

  // Short texts agree with the reference whether or not the states were dropped.
  test::TReferenceMatcher reference(pattern);
  for (int round = 0; round < 40; ++round) {
    const std::string t = RandomText(rng, 10 + rng() % 60, "abc");
    const auto expected = reference.Match(t);
    matcher.Match(t, position, length);
    ASSERT_EQ(position, expected ? static_cast<int>(expected->first) + 1 : 0) << t;
    if (expected) {
      ASSERT_EQ(static_cast<std::size_t>(length), expected->second - expected->first) << t;
    }
  }
}

TEST(MatchLimitsTest, PathologicalTextsStayLinear) {
  // Each of these is quadratic when every start walks on to the end alone.
  const std::string as(1 << 20, 'a');
  const struct {
    std::string pattern, text;
    int position, length;
  } cases[] = {
      {"a.*z", as, 0, 0},
      {"x", as, 0, 0},
      {"a*b|c", as + "c", static_cast<int>(as.size()) + 1, 1},
      {"(a|aa)*b", as, 0, 0},
      {"a*$x|q", as, 0, 0},
      {"^a*b|a", as, 1, 1},
      {Sj("研究"), std::string(1 << 19, '\x8C') + Sj("研究"), (1 << 19) + 1, 4},
  };
  TAWKStr matcher;
  for (const auto& c : cases) {
    matcher.SetRegExp(c.pattern);
    int position = 0, length = 0;
    matcher.Match(c.text, position, length);
    EXPECT_EQ(position, c.position) << c.pattern;
    EXPECT_EQ(length, c.length) << c.pattern;
  }
}

TEST(MatchLimitsTest, AutomatonBudgetGivesTheEnginesError) {
  std::string nested = "a";
  for (int i = 0; i < 30; ++i) nested = "(" + nested + ")+";
  TAWKStr matcher;
  try {
    matcher.SetRegExp(nested);
    ADD_FAILURE();
  } catch (const ERegExpLimit& e) {
    EXPECT_EQ(e.Message(), retext::PatternTooComplex());
  }
  EXPECT_EQ(matcher.CurrentIndex(), 0u);
  // So do long concatenations beyond the state budget, and overlapping or
  // negated ranges beyond the work budget.
  std::string concatenation(100 * 1024, 'a');
  for (std::size_t i = 0; i < concatenation.size(); i += 3) concatenation[i] = 'b';
  std::string overlapping, negated = "[^";
  for (int i = 1; i < 8000; ++i) {
    char range[32];
    std::snprintf(range, sizeof range, "[\\x%x-\\x%x]", i, 0xF000 - i);
    overlapping += range;
    std::snprintf(range, sizeof range, "\\x%x", 2 * i + 0x100);
    negated += range;
  }
  negated += "]";
  for (const std::string& pattern : {concatenation, overlapping, negated}) {
    try {
      matcher.SetRegExp(pattern);
      ADD_FAILURE();
    } catch (const ERegExpLimit& e) {
      EXPECT_EQ(e.Message(), retext::PatternTooComplex());
    }
  }
  matcher.SetRegExp(concatenation.substr(0, 50 * 1024));
  int position = 0, length = 0;
  EXPECT_EQ(matcher.Match("x" + concatenation, position, length), 2);
  EXPECT_EQ(length, 50 * 1024);
  // A large but sane pattern compiles, also with fuzzy rewriting.
  std::string big;
  const char* words[] = {"ア", "研究", "の", "kana", "1", "ﾃﾞ"};
  while (big.size() < 2000) big += Sj(words[big.size() % 6]);
  matcher.SetRegExp(big);
  matcher.SetUseFuzzyCharDic(true);
  EXPECT_EQ(matcher.Match(big, position, length), 1);
  EXPECT_EQ(static_cast<std::size_t>(length), big.size());
}

}  // namespace
}  // namespace nuv
