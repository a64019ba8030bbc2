// A second opinion from Pygments: nuv's tokens and Pygments' lexer for the
// same language are reduced to three classes (comment, string, other) and
// compared byte by byte on the golden samples and on a sample of each corpus
// the fountain tests use. Differences our language rules make on purpose are
// listed per language with the reason, as our kind against Pygments' class,
// on the lines where a construct makes Pygments read on differently; any
// other difference fails and shows where it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "FountainTestUtil.h"
#include "base/FileIo.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

// The class of our kind: 'c' comment, 's' string, 'o' other.
char ClassOf(const std::string& language, const std::string& kind) {
  static const std::set<std::string> strings = {
      "SingleQuotation", "DoubleQuotation", "Quotation",    "ControlCode",   "ControlCodeHex", "BackQuotation",
      "LiteralQuotation", "Pattern",        "Substitute",   "Replacement",   "TranslitFrom",   "TranslitTo",
      "Here",             "StringLiteral",  "StringEscaped", "RegexpLiteral", "RegexpEscaped",  "HereDocument",
      "TagAttributeValue"};
  if (kind == "Comment") return 'c';
  // Brackets are the block comments of these languages.
  if (kind == "Bracket" && language != "text") return 'c';
  return strings.count(kind) ? 's' : 'o';
}

// A difference our rules make: our kind ("" any) against Pygments' class, on
// lines holding `line` ("" any line).
struct TAllowed {
  std::string kind;
  char pygments;
  std::string line;
  const char* why;
};

struct TLanguage {
  const char* fountain;
  const char* lexer;
  std::vector<std::string> files;
  std::vector<TAllowed> allowed;
};

// Our class of every byte of `text` ('.' for bytes in no token and line breaks).
std::string OurClasses(TFountain& fountain, const std::string& language, const std::string& text,
                       std::vector<std::string>& kinds) {
  std::unique_ptr<TEditor> editor = test::MakeEditor(fountain, text, 0);
  const TRowAttributeStringList& list = editor->List();
  std::unique_ptr<TFountainParser> parser = fountain.NewParser();
  std::string classes(text.size(), '.');
  kinds.assign(text.size(), std::string());
  std::size_t start = 0;
  for (int r = 0; r < list.GetCount() && start <= text.size(); ++r) {
    for (const TTokenInfo& t : RowTokens(*parser, list, r, editor->GetListData(r))) {
      const std::string kind = parser->KindName(static_cast<std::uint8_t>(t.Kind));
      for (int i = t.Pos; i < t.Pos + t.Len && start + i < text.size(); ++i) {
        classes[start + i] = ClassOf(language, kind);
        kinds[start + i] = kind;
      }
    }
    start += list.Get(r).size();
    if (start < text.size() && text[start] == '\r') ++start;
    if (start < text.size() && text[start] == '\n') ++start;
  }
  editor->SetFountain(nullptr);
  return classes;
}

void Compare(const TLanguage& language) {
  test::TFountains fountains;
  TFountain& fountain = fountains.Get(language.fountain);
  test::TTempDir dir;
  std::map<std::pair<std::string, char>, std::pair<int, std::string>> differences;
  int compared = 0;
  for (const std::string& file : language.files) {
    std::string text;
    if (ReadWholeFile(file, text) != TReadResult::Ok || text.empty()) continue;
    std::vector<std::string> kinds;
    const std::string ours = OurClasses(fountain, language.fountain, text, kinds);
    const test::TChildResult py =
        test::RunChild({"python3", std::string(NUV_SOURCE_DIR) + "/tests/fountain/pygments_classes.py", language.lexer,
                        file});
    ASSERT_EQ(py.exitCode, 0) << py.err;
    ASSERT_EQ(py.out.size(), text.size()) << file;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      if (c <= 32 || py.out[i] == '.' || ours[i] == '.') continue;
      ++compared;
      if (ours[i] == py.out[i]) continue;
      const std::size_t from = text.rfind('\n', i) == std::string::npos ? 0 : text.rfind('\n', i) + 1;
      const std::string line = text.substr(from, text.find('\n', i) - from);
      const bool allowed = std::any_of(language.allowed.begin(), language.allowed.end(), [&](const TAllowed& a) {
        return (a.kind.empty() || a.kind == kinds[i]) && a.pygments == py.out[i] &&
               (a.line.empty() || line.find(a.line) != std::string::npos);
      });
      if (allowed) continue;
      auto& [count, where] = differences[{kinds[i], py.out[i]}];
      if (count++ == 0) where = file + ": " + line;
    }
  }
  EXPECT_GT(compared, 0);
  for (const auto& [key, found] : differences) {
    ADD_FAILURE() << language.fountain << ": our " << key.first << " is '" << key.second << "' to Pygments in "
                  << found.first << " bytes; first in " << found.second;
  }
}

std::string Data(const char* name) { return std::string(NUV_TEST_DATA) + "/" + name; }

TEST(Pygments, Perl) {
  Compare({"perl",
           "perl",
           {Data("sample.pl")},
           {{"Pattern", 'o', "", "the modifier letters after a pattern belong to it"},
            {"Replacement", 'o', "", "the modifier letters after a substitution belong to it"},
            {"Substitute", 'o', "", "the operator letter s opens the construct and takes its colour"},
            {"TranslitFrom", 'o', "", "tr and y are constructs, with the operator letters"},
            {"TranslitTo", 'o', "", "the second part of tr and y belongs to the construct"},
            {"TagStart", 's', "", "a here-document may hold HTML, coloured as tags"},
            {"TagElement", 's', "", "a here-document may hold HTML, coloured as tags"},
            {"TagAttribute", 's', "", "a here-document may hold HTML, coloured as tags"},
            {"TagEqual", 's', "", "a here-document may hold HTML, coloured as tags"},
            {"TagEnd", 's', "", "a here-document may hold HTML, coloured as tags"},
            {"Ampersand", 's', "", "a here-document may hold HTML entities"}}});
}
TEST(Pygments, C) {
  Compare({"c", "c", {Data("sample.c")}, {{"PreProcessor", 'c', "", "a preprocessor line has a colour of its own"}}});
}
TEST(Pygments, Java) { Compare({"java", "java", {Data("sample.java")}, {}}); }
TEST(Pygments, Ruby) {
  const char* nesting = "%Q(), %r{} and the like do not nest: the literal ends at the first closing delimiter";
  const char* noHere = "<< before a blank opens no here-document";
  Compare({"ruby",
           "ruby",
           {Data("sample.rb")},
           {{"RubySymbol", 's', "", "a symbol has a colour of its own"},
            {"Ank", 's', "%r{a/b}i", "modifier letters after a literal are plain words"},
            {"StringLiteral", 'o', "#{", "a literal knows no interpolation: it runs to its closing delimiter"},
            {"Comment", 's', "# comment", "a # in a here-document starts a comment"},
            // Pygments reads on in the nested literal for these lines.
            {"", 's', "t = 'it''s'", nesting},
            {"", 's', "end", nesting},
            {"", 's', "def <=>(o) end", nesting},
            {"", 's', "x = <<-EOS", nesting},
            {"", 's', "y = <<EOS", nesting},
            // And in a here-document to the end of the file.
            {"", 's', "z = << EOS", noHere},
            {"", 's', "=begin", noHere},
            {"", 's', "docs", noHere},
            {"", 's', "=end", noHere},
            {"", 's', "puts $0, $-w, $!", noHere}}});
}
TEST(Pygments, Html) {
  Compare({"html",
           "html",
           {Data("sample.html")},
           {{"", 'c', "<!DOCTYPE", "a declaration is scanned as a tag holding plain words"},
            {"DoubleQuotation", 'o', "", "quoted text outside tags is a string"}}});
}
TEST(Pygments, Awk) {
  Compare({"awk", "awk", {Data("sample.awk")},
           {{"", 's', "/^#/", "a slash pattern is no construct: the # in it starts a comment"},
            {"Comment", 'o', "/^#/", "a slash pattern is no construct: the # in it starts a comment"}}});
}
TEST(Pygments, Cobol) {
  Compare({"cobol", "cobol", {Data("sample.cob")},
           {{"Sequence", 'c', "", "the sequence area has a colour of its own"}}});
}
TEST(Pygments, Delphi) { Compare({"delphilang", "delphi", {Data("sample.pas")}, {}}); }

}  // namespace
}  // namespace nuv
