// Replace all in a body's bytes gives what the editor's rows give: the same
// count, the same body and the same answer to whether anything changed, for
// cases picked by hand and for many generated ones.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "search/BodyReplace.h"
#include "search/EditorMatcher.h"
#include "support/OutlineFixtures.h"

namespace nuv {
namespace {

using test::Sj;

constexpr TExSearchOptions kCase = SearchOption(soMatchCase);
constexpr TExSearchOptions kRegex = SearchOption(soRegexp);
constexpr TExSearchOptions kFuzzy = SearchOption(soRegexp) | SearchOption(soFuzzy);
constexpr TExSearchOptions kWord = SearchOption(soWholeWord);

struct TCase {
  std::string body, pattern;
  TExSearchOptions options;
  std::string replacement;
  bool needHit;
};

// Bytes outside printable ASCII as \xHH.
std::string Escaped(std::string_view s) {
  std::string out;
  for (const char ch : s) {
    const auto b = static_cast<unsigned char>(ch);
    if (b >= 0x20 && b < 0x7F) {
      out += ch;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      out += hex;
    }
  }
  return out;
}

std::string Describe(const TCase& c) {
  return "body '" + Escaped(c.body) + "' pattern '" + Escaped(c.pattern) + "' options " + std::to_string(c.options) +
         " with '" + Escaped(c.replacement) + "' needHit " + std::to_string(c.needHit);
}

// Both paths on one case; the body path's result is returned.
TBodyReplace ExpectSameAsEditor(const TCase& c) {
  TEditorMatcher bytes, rows;
  bytes.SetQuery(c.pattern, c.options);
  rows.SetQuery(c.pattern, c.options);
  const TBodyReplace ours = ReplaceAllInBody(bytes.Editor(), c.body, c.replacement, c.needHit);
  const TBodyReplace editor = ReplaceAllInEditor(rows.Editor(), c.body, c.replacement, c.needHit);
  EXPECT_EQ(ours.count, editor.count) << Describe(c);
  EXPECT_EQ(ours.changed, editor.changed) << Describe(c);
  EXPECT_EQ(ours.body, editor.body) << Describe(c);
  return ours;
}

TEST(BodyReplaceTest, SameAsTheEditorOnPickedCases) {
  const std::string longRun(300, 'a');
  const struct {
    TCase c;
    int count;
    std::string body;  // empty: unchanged
  } cases[] = {
      // Replacing "a" by "aa" ends; "\r\n" in the replacement is a line break.
      {{"a\r\nx a\r\n", "a", kCase, "aa\\r\\n", true}, 2, "aa\r\n\r\nx aa\r\n\r\n"},
      // Without match case only ASCII letters at character starts are lowered:
      // the 41 of "ア" (83 41) is no "a".
      {{Sj("アA a"), "a", 0, "b", true}, 2, Sj("アb b\r\n")},
      // LF, CR and no final break: lines as the editor splits them, every one ending in CR LF after a change.
      {{"a\nb\ra", "a", kCase, "c", true}, 2, "c\r\nb\r\nc\r\n"},
      // Empty hits only: the window finds no hit first and replaces nothing;
      // without that check every line gets the replacement at its start.
      {{"ab\r\ncd\r\n", "^", kRegex, "> ", true}, 0, ""},
      {{"ab\r\ncd\r\n", "^", kRegex, "> ", false}, 2, "> ab\r\n> cd\r\n"},
      {{"axxb", "x*", kRegex, "-", false}, 4, "-a--b-\r\n"},
      // A pattern with "\r\n" is searched across lines.
      {{"end\r\nnext\r\n", "d\\r\\nn", kRegex, "D N", true}, 1, "enD Next\r\n"},
      // The last line break taken away leaves the same body: the editor ends every line with one.
      {{"one two\r\n", "\\r\\n", kRegex, "", true}, 1, ""},
      // Whole words, fuzzy kana, and the trail byte 5C of "表" that is no "\".
      {{"cat concat cat.\r\n", "cat", kCase | kWord, "dog", true}, 2, "dog concat dog.\r\n"},
      {{Sj("プログラムとぷろぐらむ\r\n"), Sj("ぷろぐらむ"), kFuzzy, "P", true}, 2, Sj("PとP\r\n")},
      {{Sj("表示\\\r\n"), "\\\\", kRegex, "/", true}, 1, Sj("表示/\r\n")},
      // A zero byte ends the engine's text; the search goes on after it.
      {{std::string("a\0a\r\n", 5), "a", kRegex, "b", true}, 2, ""},
      // A hit longer than 250 bytes is no hit; a replacement equal to the hit changes nothing.
      {{longRun + "\r\n", "a+", kRegex, "b", true}, 0, ""},
      {{"same\r\n", "same", kCase, "same", true}, 1, ""},
      {{"", "a", kCase, "b", false}, 0, ""},
  };
  for (const auto& [c, count, body] : cases) {
    const TBodyReplace r = ExpectSameAsEditor(c);
    EXPECT_EQ(r.count, count) << Describe(c);
    if (!body.empty()) {
      EXPECT_EQ(r.body, body) << Describe(c);
    } else if (c.body.find('\0') == std::string::npos) {
      EXPECT_FALSE(r.changed) << Describe(c);
    }
  }
}

TEST(BodyReplaceTest, SameAsTheEditorOnGeneratedCases) {
  // Pieces that meet the rules at their edges: line ends of every kind, a
  // lone lead byte, trail bytes that look like "A" and "\", zero bytes.
  const std::string pieces[] = {"a", "A", "b", " ", "x", "\r", "\n", "\r\n", Sj("ア"), Sj("表"), "\x82", std::string(1, '\0'),
                                "\\", "ab"};
  const struct {
    std::string pattern;
    TExSearchOptions options;
  } queries[] = {{"a", kCase},          {"a", 0},         {"ab", kWord},          {"a*", kRegex},
                 {"^a|b$", kRegex},     {"[^a]", kRegex}, {"a\\r\\nb", kRegex},   {"\\r\\n", kRegex},
                 {Sj("ア"), kFuzzy},     {"\\\\", kRegex}, {"\x82", kCase},        {"A ", 0}};
  const std::string replacements[] = {"", "Z", "a", "x\\r\\ny", "\r", "aa"};
  std::mt19937 random(20261211);
  for (int i = 0; i < 3000; ++i) {
    TCase c;
    for (int n = static_cast<int>(random() % 12); n > 0; --n) c.body += pieces[random() % std::size(pieces)];
    const auto& q = queries[random() % std::size(queries)];
    c.pattern = q.pattern;
    c.options = q.options;
    c.replacement = replacements[random() % std::size(replacements)];
    c.needHit = random() % 2 == 0;
    ExpectSameAsEditor(c);
    std::string folded;
    FoldInto(c.body, folded);
    EXPECT_EQ(folded, LowerSjis(c.body)) << Describe(c);
    if (HasFailure()) break;
  }
}

}  // namespace
}  // namespace nuv
