// The engine against real programs where the dialects agree: gawk's match()
// for the position and length of the leftmost-longest match, and grep -E for
// which lines match. Patterns and texts are generated in Shift JIS, converted
// by iconv and run in C.UTF-8; positions are mapped back to bytes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>

#include "base/Codec.h"
#include "base/Sjis.h"
#include "regex/AwkStr.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Sj;

bool Have(const char* program) {
  return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

// Patterns of literals, ".", ASCII and kana classes, "*", "+", "?", "|",
// groups, escaped metacharacters, and "^" and "$" wherever both dialects
// anchor: at the start (end) of any alternative that can begin (end) the
// match, groups included. For gawk also "\x.." and octal escapes (closed by
// a group, since gawk reads fewer digits) and classes with escapes; grep
// knows neither.
class TPatternGenerator {
 public:
  // grep in C.UTF-8 refuses ranges of non-ASCII characters.
  TPatternGenerator(unsigned seed, bool gawk) : m_rng(seed), m_gawk(gawk) {}
  std::string Pattern() {
    bool repeated = false;
    return Alternation(0, repeated, true, true);
  }
  std::string Text() {
    static const char* chars[] = {"a", "b", "x", "あ", "ア", "イ", "表", "ソ", "ン", "ー", "^", "$", "."};
    std::string t;
    const int n = static_cast<int>(m_rng() % 9);
    for (int i = 0; i < n; ++i) t += Sj(chars[m_rng() % std::size(chars)]);
    return t;
  }

 private:
  // `repeated` is set when the text uses "*", "+" or "?"; `first` and `last`
  // tell whether the alternation can begin and end the match.
  std::string Alternation(int depth, bool& repeated, bool first, bool last) {
    std::string p = Term(depth, repeated, first, last);
    while (m_rng() % 3 == 0) p += "|" + Term(depth, repeated, first, last);
    return p;
  }
  std::string Term(int depth, bool& repeated, bool first, bool last) {
    // An anchor added here takes the place: what follows it (or precedes
    // it) no longer begins (or ends) the match.
    const bool head = first && m_rng() % 6 == 0, tail = last && m_rng() % 6 == 0;
    std::string p = head ? "^" : "";
    const int n = 1 + static_cast<int>(m_rng() % 3);
    for (int i = 0; i < n; ++i) p += Factor(depth, repeated, first && !head && i == 0, last && !tail && i == n - 1);
    return tail ? p + "$" : p;
  }
  std::string Factor(int depth, bool& repeated, bool first, bool last) {
    static const char* atoms[] = {"a", "b", "あ", "ア", "表", "ソ", ".", "[ab]", "[^a]", "[a-c]", "\\.", "\\^",
                                  "\\$", "[ァ-ヶ]", "[ぁ-ん]", "[ア-ン]", "(\\x61)", "(\\142)", "(\\170)",
                                  "[\\x61-c]", "[\\]a]", "[\\^b]", "[x\\-]", "(\\x78)"};
    // grep takes neither the kana ranges nor the escapes after them.
    const std::size_t atomCount = m_gawk ? std::size(atoms) : std::size(atoms) - 11;
    bool inner = false;
    const bool group = depth < 2 && m_rng() % 5 == 0;
    std::string p = group ? "(" + Alternation(depth + 1, inner, first, last) + ")"
                          : Sj(atoms[m_rng() % atomCount]);
    // gawk's matcher takes exponential time on repeated groups that repeat
    // inside, so only plain groups get an operator; a repeated group anchors
    // nothing here, so anchors inside one stay out.
    if (inner || (group && (p.find('^') != std::string::npos || p.find('$') != std::string::npos))) {
      repeated = repeated || inner;
      return p;
    }
    const unsigned op = m_rng() % 6;
    if (op < 3) repeated = true;
    return op == 0 ? p + "*" : op == 1 ? p + "+" : op == 2 ? p + "?" : p;
  }
  std::mt19937 m_rng;
  bool m_gawk;
};

// Byte offset in the Shift JIS text of the 1-based character index.
int ByteOffset(const std::string& sjis, int characterIndex) {
  std::size_t pos = 0;
  for (int i = 1; i < characterIndex && pos < sjis.size(); ++i) pos += CharLength(sjis, pos);
  return static_cast<int>(pos);
}

TEST(PeerTest, MatchPositionsAgreeWithGawk) {
  if (!Have("gawk") || !Have("iconv")) GTEST_SKIP() << "gawk or iconv is not installed";
  TPatternGenerator gen(5, true);
  std::vector<std::pair<std::string, std::string>> cases;
  for (int i = 0; i < 3000; ++i) cases.emplace_back(gen.Pattern(), gen.Text());
  test::TTempDir dir;
  std::string input;
  for (const auto& [pattern, text] : cases) input += pattern + "\t" + text + "\n";
  dir.Write("cases.sjis", input);
  const std::string command = "iconv -f CP932 -t UTF-8 '" + dir.File("cases.sjis") +
                              "' | LC_ALL=C.UTF-8 timeout 120 gawk -F'\\t' '{ if (match($2, $1)) print RSTART, RLENGTH; "
                              "else print 0, 0 }' > '" + dir.File("out.txt") + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  std::istringstream out(dir.Read("out.txt"));
  TAWKStr matcher;
  int nonEmpty = 0;
  for (const auto& [pattern, text] : cases) {
    int start = 0, chars = 0;
    ASSERT_TRUE(out >> start >> chars);
    const int wantPosition = start == 0 ? 0 : ByteOffset(text, start) + 1;
    const int wantLength = start == 0 ? 0 : ByteOffset(text, start + chars) - ByteOffset(text, start);
    matcher.SetRegExp(pattern);
    int position = 0, length = 0;
    matcher.Match(text, position, length);
    EXPECT_EQ(position, wantPosition) << Cp932ToUtf8(pattern) << " on " << Cp932ToUtf8(text);
    EXPECT_EQ(length, wantLength) << Cp932ToUtf8(pattern) << " on " << Cp932ToUtf8(text);
    if (HasFailure()) break;
    nonEmpty += length > 0;
  }
  EXPECT_GT(nonEmpty, 600);
}

TEST(PeerTest, MatchingLinesAgreeWithGrep) {
  if (!Have("grep") || !Have("iconv")) GTEST_SKIP() << "grep or iconv is not installed";
  TPatternGenerator gen(9, false);
  std::vector<std::string> texts;
  for (int i = 0; i < 60; ++i) texts.push_back(gen.Text() + gen.Text());
  test::TTempDir dir;
  std::string lines;
  for (const auto& t : texts) lines += t + "\n";
  dir.Write("texts.sjis", lines);
  ASSERT_EQ(std::system(("iconv -f CP932 -t UTF-8 '" + dir.File("texts.sjis") + "' > '" + dir.File("texts.txt") + "'").c_str()), 0);
  TAWKStr matcher;
  for (int round = 0; round < 150; ++round) {
    const std::string pattern = gen.Pattern();
    dir.Write("pattern.sjis", pattern + "\n");
    const std::string command = "iconv -f CP932 -t UTF-8 '" + dir.File("pattern.sjis") + "' > '" + dir.File("pattern.txt") +
                                "' && LC_ALL=C.UTF-8 grep -n -E -f '" + dir.File("pattern.txt") + "' '" +
                                dir.File("texts.txt") + "' | cut -d: -f1 > '" + dir.File("lines.txt") + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::istringstream grepLines(dir.Read("lines.txt"));
    std::vector<int> expected, got;
    for (int n; grepLines >> n;) expected.push_back(n);
    matcher.SetRegExp(pattern);
    for (std::size_t i = 0; i < texts.size(); ++i) {
      int position = 0, length = 0;
      if (matcher.Match(texts[i], position, length)) got.push_back(static_cast<int>(i) + 1);
    }
    ASSERT_EQ(got, expected) << Cp932ToUtf8(pattern);
  }
}

}  // namespace
}  // namespace nuv
