// The pattern dialect: character helpers, escapes, the parse tree (compared as
// canonical dumps), leaf normalisation and the parser's messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "base/Sjis.h"
#include "regex/RegExpError.h"
#include "regex/RegExpLimits.h"
#include "regex/RegExpParser.h"
#include "regex/RegExpTexts.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Sj;

std::string Parse(std::string_view pattern) {
  TREParser parser(pattern);
  parser.Run();
  return DumpTree(parser.ParseTree().Root());
}

TEST(WCharTest, StepsOverDoubleByteCharactersAndLoneLeadBytes) {
  const std::string text = "\x95\x5C" "a\x82";  // 表 a, then a lone lead byte
  std::size_t i = 0;
  EXPECT_EQ(GetWChar(text, i), 0x955C);
  EXPECT_EQ(GetWChar(text, i), 'a');
  EXPECT_EQ(GetWChar(text, i), 0x82);
  EXPECT_EQ(i, 4u);
  EXPECT_EQ(GetWChar(text, i), 0);
  EXPECT_EQ(i, 4u);
  UnGetWChar(text, i);
  EXPECT_EQ(i, 3u);
  i = 2;
  UnGetWChar(text, i);
  EXPECT_EQ(i, 0u);

  const char* p = "\x83\x41";
  EXPECT_EQ(PCharGetWChar(p), 0x8341);
  EXPECT_EQ(PCharGetWChar(p), 0);
  EXPECT_EQ(PCharGetWChar(p), 0);  // stays on the terminator
  EXPECT_EQ(WCharToStr(0x82A0), "\x82\xA0");
  EXPECT_EQ(WCharToStr('x'), "x");
  EXPECT_EQ(HexWCharToInt('f'), 15);
  EXPECT_EQ(HexWCharToInt('G'), -1);
  EXPECT_EQ(OctWCharToInt('7'), 7);
  EXPECT_EQ(OctWCharToInt('8'), -1);

  EXPECT_EQ(QuoteMetaWChar("a.b(c)"), "a\\.b\\(c\\)");
  EXPECT_EQ(QuoteMetaWChar("^|+*?[]$\\"), "\\^\\|\\+\\*\\?\\[\\]\\$\\\\");
  EXPECT_EQ(QuoteMetaWChar(Sj("表ソ")), Sj("表ソ"));  // their trail bytes are not backslashes
  std::size_t k = 0;
  const std::string list = Sj("表,ab,");
  EXPECT_EQ(WCharGetToken(list, k, ','), Sj("表"));
  EXPECT_EQ(WCharGetToken(list, k, ','), "ab");
  EXPECT_EQ(WCharGetToken(list, k, ','), "");
}

TEST(WCharTest, LocalBoundaryTestAgreesWithScanningFromTheStart) {
  const unsigned char bytes[] = {0x41, 0x5C, 0x81, 0x95, 0xE0, 0x0A, 0xFC, 0x7F};
  std::string s;
  for (int length = 1; length <= 6; ++length) {
    std::vector<int> digits(length, 0);
    for (;;) {
      s.clear();
      for (int d : digits) s += static_cast<char>(bytes[d]);
      for (std::size_t from = 0; from < s.size(); from = from + CharLength(s, from))
        for (std::size_t i = from; i <= s.size(); ++i) {
          const bool boundary = i == s.size() || CharStart(s, i) == i;
          ASSERT_EQ(IsCharBoundaryFrom(s, from, i), boundary) << "length " << length << " at " << i;
        }
      int d = 0;
      while (d < length && ++digits[d] == static_cast<int>(sizeof bytes)) digits[d++] = 0;
      if (d == length) break;
    }
  }
}

TEST(ScannerTest, TokensOutsideAndInsideBrackets) {
  TREScanner scanner("a[^b-d-]\\.$");
  const REToken_t expected[] = {retk_Char, retk_LBraNeg, retk_CharClass, retk_Char, retk_RBra, retk_Char, retk_LTail, retk_End};
  for (const REToken_t token : expected) EXPECT_EQ(scanner.GetToken(), token);
  scanner.SetRegExpStr("[b-d]");
  scanner.GetToken();
  EXPECT_EQ(scanner.GetToken(), retk_CharClass);
  EXPECT_EQ(scanner.Char(), 'b');
  EXPECT_EQ(scanner.LastChar(), 'd');
  // A zero byte ends the pattern.
  scanner.SetRegExpStr(std::string_view("a\0b", 3));
  EXPECT_EQ(scanner.GetToken(), retk_Char);
  EXPECT_EQ(scanner.GetToken(), retk_End);
}

TEST(ParserTest, TreesOfTheGrammar) {
  const struct {
    std::string pattern, dump;
  } cases[] = {
      {"", "empty{}"},
      {"ab", "cat{lit{a},lit{b}}"},
      {"abc", "cat{cat{lit{a},lit{b}},lit{c}}"},
      {"a|", "alt{lit{a},empty{}}"},
      {"|a", "alt{empty{},lit{a}}"},
      {"a|b|c", "alt{alt{lit{a},lit{b}},lit{c}}"},
      {"a*", "star{lit{a}}"},
      {"a+", "cat{lit{a},star{lit{a}}}"},
      {"a?", "alt{lit{a},empty{}}"},
      {"(ab)*", "star{cat{lit{a},lit{b}}}"},
      {"()", "empty{}"},
      {"^a$", "cat{cat{bol{},lit{a}},eol{}}"},
      {"[abc]", "alt{alt{lit{a},lit{b}},lit{c}}"},
      {"[a-]", "alt{lit{a},lit{\\-}}"},
      {"[--/]", "cc{\\--/}"},
      {"\\x41", "lit{A}"},
      {"\\x41g", "cat{lit{A},lit{g}}"},
      {"\\x123456", "cat{cat{lit{\\x{1234}},lit{5}},lit{6}}"},
      {"\\101", "lit{A}"},
      {"\\.", "lit{.}"},
      {"\\8", "lit{8}"},
      {"\\n\\t\\r\\b", "cat{cat{cat{lit{\\x{a}},lit{\\x{9}}},lit{\\x{d}}},lit{\\x{8}}}"},
      {"\\x82a0", Sj("lit{あ}")},
      {Sj("\\あ"), Sj("lit{あ}")},
      {Sj("[ぁ-ん]"), Sj("cc{ぁ-ん}")},
      {".", "alt{alt{cc{\\x{1}-\\x{9}},cc{\\x{b}-\\x{c}}},cc{\\x{e}-\xFC\xFC}}"},
      {"[^a]", "alt{alt{alt{cc{\\x{b}-\\x{c}},cc{\\x{1}-\\x{9}}},cc{\\x{e}-`}},cc{b-\xFC\xFC}}"},
      {"[^\\x01-\\x7f]", "cc{\\x{80}-\xFC\xFC}"},
      // A negated class that leaves nothing is a leaf no text can match.
      {"[^\\x01-\\xfcfc]", "lit{\\x{fffc}}"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Parse(c.pattern), c.dump) << c.pattern;
  }
}

TEST(ParserTest, LeavesAreMadeDisjoint) {
  // "b-y" and "a-z" overlap with "a": the pieces are shared leaves.
  EXPECT_EQ(Parse("a[b-y][a-z]"), "cat{cat{lit{a},cc{b-y}},alt{lit{a},alt{cc{b-y},lit{z}}}}");
  EXPECT_EQ(Parse("(ab|ac)d"), "cat{alt{cat{lit{a},lit{b}},cat{lit{a},lit{c}}},lit{d}}");
  // A literal "^" or "$" is cut out of "." like any character.
  EXPECT_EQ(Parse("(^b|.)"),
            "alt{cat{bol{},lit{b}},alt{alt{cc{\\x{1}-\\x{9}},cc{\\x{b}-\\x{c}}},"
            "alt{alt{alt{alt{cc{\\x{e}-]},lit{^}},cc{_-a}},lit{b}},cc{c-\xFC\xFC}}}}");

  std::mt19937 rng(7);
  const char* pieces[] = {"a", "[a-f]", "[c-x]", ".", "[^b]", "^", "$", "[\\x01-\\x7f]", "\\x82a0", "[\\x80-\\x82ff]", "|", "*"};
  for (int round = 0; round < 300; ++round) {
    std::string pattern;
    for (int k = 0; k < 6; ++k) pattern += pieces[rng() % std::size(pieces)];
    TREParser parser(pattern);
    try {
      parser.Run();
    } catch (const ERegExpParser&) {
      continue;
    }
    const auto& leaves = parser.ParseTree().Leaves();
    for (std::size_t i = 0; i < leaves.size(); ++i)
      for (std::size_t j = i + 1; j < leaves.size(); ++j) {
        const RECharClass_t a = leaves[i]->CharClass, b = leaves[j]->CharClass;
        ASSERT_TRUE(a.EndChar < b.StartChar || b.EndChar < a.StartChar) << pattern;
      }
  }
}

TEST(ParserTest, ErrorMessagesAreTheFixedTexts) {
  const struct {
    std::string pattern;
    const std::string& (*message)();
  } cases[] = {
      {"ab\x82", retext::BadDoubleByte},
      {"ab\\", retext::NeedCharAfterBackslash},
      {"[a\\", retext::NeedCharAfterBackslash},
      {"\\xg", retext::BadHexCode},
      {"\\x", retext::BadHexCode},
      {"\\200000", retext::BadOctalCode},
      {"[", retext::NeedRightBracket},
      {"[ab", retext::NeedRightBracket},
      {"[a-", retext::NeedRightBracket},
      {"[z-a]", retext::BadCharRange},
      {"[]a]", retext::BadCharClass},
      {"[^]", retext::BadCharClass},
      {"(ab", retext::NeedRightParen},
      {"a**", retext::NeedCharOrLeftParen},
      {"a+?", retext::NeedCharOrLeftParen},
      {"*a", retext::NeedCharOrLeftParen},
      {"a|*", retext::NeedCharOrLeftParen},
      {"]", retext::NeedCharOrLeftParen},
      {"a)", retext::ExtraChars},
      // The reserved automaton codes cannot be written.
      {"\\xfffd", retext::BadHexCode},
      {"[\\x01-\\xffff]", retext::BadHexCode},
      {"\\177777", retext::BadOctalCode},
  };
  for (const auto& c : cases) {
    TREParser parser(c.pattern);
    try {
      parser.Run();
      ADD_FAILURE() << "no error for " << c.pattern;
    } catch (const ERegExpParser& e) {
      EXPECT_EQ(e.Message(), c.message()) << c.pattern;
      EXPECT_GE(e.Position(), 1u);
      EXPECT_LE(e.Position(), c.pattern.size() + 1);
    }
  }
  EXPECT_EQ(retext::NeedCharAfterBackslash(), Sj("\"\\\"の次には文字が必要です。"));
  EXPECT_EQ(retext::NeedRightBracket(), Sj("右ブラケット\"]\"が必要です"));
  EXPECT_EQ(retext::NeedCharOrLeftParen(), Sj("普通の文字、または左括弧\"(\"が必要です"));
  EXPECT_EQ(retext::BadDoubleByte(), "\x95\x73\x90\xB3\x82\xC8\x82\x51\x83\x6F\x83\x43\x83\x67\x95\xB6\x8E\x9A"
                                     "\x83\x52\x81\x5B\x83\x68\x82\xC5\x82\xB7\x81\x42");
}

TEST(ParserTest, HugePatternsNeitherRecurseDeeplyNorCrash) {
  // A 100 KB concatenation and alternation parse; their trees are left-deep.
  std::string concat(100 * 1024, 'a');
  for (std::size_t i = 0; i < concat.size(); i += 7) concat[i] = 'b';
  EXPECT_NO_THROW(Parse(concat));
  std::string alternation;
  while (alternation.size() < 100 * 1024) alternation += "ab|";
  EXPECT_NO_THROW(Parse(alternation));
  // Deep nesting is refused before it can exhaust the stack.
  const std::string nested = std::string(50 * 1024, '(') + "a" + std::string(50 * 1024, ')');
  try {
    Parse(nested);
    ADD_FAILURE();
  } catch (const ERegExpParser& e) {
    EXPECT_EQ(e.Message(), retext::NestingTooDeep());
  }
  const std::string fine = std::string(kMaxNestingDepth, '(') + "a" + std::string(kMaxNestingDepth, ')');
  EXPECT_EQ(Parse(fine), "lit{a}");
  try {
    Parse(std::string(kMaxPatternLength + 1, 'a'));
    ADD_FAILURE();
  } catch (const ERegExpParser& e) {
    EXPECT_EQ(e.Message(), retext::PatternTooLong());
  }
}

}  // namespace
}  // namespace nuv
