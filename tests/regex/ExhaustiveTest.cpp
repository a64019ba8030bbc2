// The engine against the reference matcher (its own parser, backtracking):
// every pattern up to a small size over a small alphabet, then random larger
// ones with escapes, classes and anchors anywhere, on every short text over an
// alphabet with a double-byte character, a trail byte 0x5C, "^", "$" and a
// line feed. Parse failures must agree too, message and all.
#include <gtest/gtest.h>

#include <random>

#include "base/Codec.h"
#include "base/Sjis.h"
#include "regex/AwkStr.h"
#include "regex/RegExpError.h"
#include "ReferenceMatcher.h"

namespace nuv {
namespace {

const std::string kHyou = "\x95\x5C";  // 表, its trail byte is a backslash

std::vector<std::string> AllStrings(const std::vector<std::string>& alphabet, int maxLength) {
  std::vector<std::string> out{""};
  std::vector<std::string> layer{""};
  for (int length = 1; length <= maxLength; ++length) {
    std::vector<std::string> next;
    for (const auto& prefix : layer)
      for (const auto& symbol : alphabet) next.push_back(prefix + symbol);
    out.insert(out.end(), next.begin(), next.end());
    layer = std::move(next);
  }
  return out;
}

// Compares the engine with the reference for one pattern over all texts;
// returns false when the pattern does not parse (both must agree on that,
// and on the message).
bool Compare(TAWKStr& matcher, const std::string& pattern, const std::vector<std::string>& texts) {
  std::optional<test::TReferenceMatcher> reference;
  std::string referenceError;
  try {
    reference.emplace(pattern);
  } catch (const test::TReferenceMatcher::EBadPattern& e) {
    referenceError = e.message;
  }
  try {
    matcher.SetRegExp(pattern);
  } catch (const ERegExpParser& e) {
    EXPECT_EQ(Cp932ToUtf8(e.Message()), Cp932ToUtf8(referenceError)) << "pattern \"" << Cp932ToUtf8(pattern) << "\"";
    return false;
  }
  EXPECT_EQ(referenceError, "") << "pattern \"" << Cp932ToUtf8(pattern) << "\" parses in the engine";
  if (!referenceError.empty()) return false;
  for (const auto& text : texts) {
    const auto expected = reference->Match(text);
    int position = 0, length = 0;
    matcher.Match(text, position, length);
    const int wantPosition = expected ? static_cast<int>(expected->first) + 1 : 0;
    const int wantLength = expected ? static_cast<int>(expected->second - expected->first) : 0;
    if (position != wantPosition || length != wantLength) {
      ADD_FAILURE() << "pattern \"" << Cp932ToUtf8(pattern) << "\" text \"" << Cp932ToUtf8(text) << "\": got "
                    << position << " " << length << ", want " << wantPosition << " " << wantLength;
      return true;
    }
  }
  return true;
}

TEST(ExhaustiveTest, AllSmallPatternsAgreeWithTheReference) {
  const std::vector<std::string> textAlphabet{"a", kHyou, "^", "$", "\n"};
  const std::vector<std::string> texts = AllStrings(textAlphabet, 4);
  const std::vector<std::string> patternAlphabet{"a", kHyou, "^", "$", ".", "|", "*", "+", "?", "(", ")", "[^a]", "\\$"};
  TAWKStr matcher;
  int compiled = 0;
  for (const auto& pattern : AllStrings(patternAlphabet, 3)) compiled += Compare(matcher, pattern, texts);
  EXPECT_GT(compiled, 500);

  // Four symbols, on shorter texts.
  const std::vector<std::string> shortTexts = AllStrings(textAlphabet, 3);
  for (const auto& pattern : AllStrings(patternAlphabet, 4)) {
    if (CharCount(pattern) < 4) continue;
    Compare(matcher, pattern, shortTexts);
    if (HasFailure()) break;
  }
}

TEST(ExhaustiveTest, RandomPatternsAgreeWithTheReference) {
  std::mt19937 rng(11);
  const std::vector<std::string> pieces{"a",  "b",  kHyou, "^",     "$",    ".",      "|",      "*",
                                        "+",  "?",  "(",   ")",     "[ab]", "[^a]",   "\\$",    "\\^",
                                        "\r", "\n", "\\r", "[a-\\x955c]", "\\x82", "()", "[\\x01-\\x7f]",
                                        "\\x61", "\\141", "\\0", "\\x", "\\777777", "\\t", "\\.", "\\",
                                        "[\\]a]", "[a-]", "[]", "[^", "[b-a]", "[\\x61-\\x62]", "[\\^$]", "[",
                                        "]", "\\" + kHyou, "[" + kHyou + "-\\x9000]", "\\b", "\\x5e"};
  const std::vector<std::string> textPieces{"a", "b", kHyou, "^", "$", "\r", "\n", "\x82", "\x83\x41"};
  TAWKStr matcher;
  for (int round = 0; round < 20000; ++round) {
    std::string pattern;
    const int n = 1 + static_cast<int>(rng() % 9);
    for (int k = 0; k < n; ++k) pattern += pieces[rng() % pieces.size()];
    std::vector<std::string> texts;
    for (int t = 0; t < 12; ++t) {
      std::string text;
      const int m = static_cast<int>(rng() % 10);
      for (int k = 0; k < m; ++k) text += textPieces[rng() % textPieces.size()];
      texts.push_back(text);
    }
    Compare(matcher, pattern, texts);
    if (HasFailure()) break;
  }
}

}  // namespace
}  // namespace nuv
