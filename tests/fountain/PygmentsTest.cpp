// A second opinion from Pygments: nuv's tokens and Pygments' lexer for the
// same language are reduced to three classes (comment, string, other) and
// compared byte by byte on the golden samples and on a sample of each corpus
// the fountain tests use. Differences our language rules make on purpose are
// listed per language with the reason, as our kind against Pygments' class,
// on the lines where a construct makes Pygments read on differently; any
// other difference fails and shows where it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
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

// True when byte `at` of `text` lies in a construct that one side reads
// differently from the other.
using TWhere = bool (*)(const std::string& text, std::size_t at);

// A difference our rules make: our kind ("" any) against Pygments' class
// ('*' any), on lines holding `line` ("" any line) and where `where` says so
// (when given).
struct TAllowed {
  std::string kind;
  char pygments;
  std::string line;
  const char* why;
  TWhere where = nullptr;
};

std::size_t LineStart(const std::string& text, std::size_t at) {
  const std::size_t nl = at == 0 ? std::string::npos : text.rfind('\n', at - 1);
  return nl == std::string::npos ? 0 : nl + 1;
}

// In a paragraph (lines up to a blank one) after a line that ends in a
// backslash: a string continued over lines there reads on to its quote.
bool AfterBackslashLine(const std::string& text, std::size_t at) {
  std::size_t end = LineStart(text, at);
  while (end > 0) {
    std::size_t last = end - 1;  // the line break of the line before
    if (last > 0 && text[last - 1] == '\r') --last;
    if (last == 0 || text[last - 1] == '\n') return false;  // a blank line
    if (text[last - 1] == '\\') return true;
    end = LineStart(text, last);
  }
  return false;
}

// In a preprocessor line (one that starts with #, with the lines a
// backslash at the end continues it into).
bool InPreprocessorLine(const std::string& text, std::size_t at) {
  std::size_t from = LineStart(text, at);
  while (from > 1) {
    std::size_t last = from - 1;
    if (last > 0 && text[last - 1] == '\r') --last;
    if (last == 0 || text[last - 1] != '\\') break;
    from = LineStart(text, last);
  }
  const std::size_t first = text.find_first_not_of(" \t", from);
  return first != std::string::npos && text[first] == '#';
}

// Between an odd and the next even unescaped slash of its line.
bool InSlashPair(const std::string& text, std::size_t at) {
  int slashes = 0;
  for (std::size_t i = LineStart(text, at); i < at; ++i) {
    if (text[i] == '\\') ++i;
    else if (text[i] == '/') ++slashes;
  }
  return slashes % 2 == 1 || text[at] == '/';
}

// In a word directly followed by one colon (a label such as `key:`), or that colon.
bool InLabel(const std::string& text, std::size_t at) {
  auto word = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '?' || c == '!'; };
  std::size_t i = at;
  if (text[i] == ':' && i > 0 && word(text[i - 1])) return i + 1 >= text.size() || text[i + 1] != ':';
  while (i < text.size() && word(text[i])) ++i;
  return i > at && i < text.size() && text[i] == ':' && (i + 1 >= text.size() || text[i + 1] != ':');
}

// The end of a percent literal that opens at `from` (%w[...], %r{...}):
// the matching closing delimiter, with bracket delimiters nested, or npos.
// `first` gets the first closing delimiter, where our literal ends.
std::size_t PercentLiteralEnd(const std::string& text, std::size_t from, std::size_t& first) {
  const char open = text[from];
  const char* brackets = "([{<)]}>";
  const char* b = std::strchr(brackets, open);
  const char close = b && b < brackets + 4 ? b[4] : open;
  first = text.find(close, from + 1);
  int depth = 1;
  for (std::size_t j = from + 1; j < text.size(); ++j) {
    if (text[j] == '\\') ++j;
    else if (text[j] == close && --depth == 0) return j;
    else if (text[j] == open && close != open) ++depth;
  }
  return std::string::npos;
}

// In a percent literal with one of `letters` after the %, opened before `at`
// and closed at or after it; `nestedOnly` keeps the literals whose first
// closing bracket does not close them.
bool InPercentLiteral(const std::string& text, std::size_t at, const char* letters, bool nestedOnly) {
  for (std::size_t i = text.find('%'); i != std::string::npos && i <= at; i = text.find('%', i + 1)) {
    if (i + 2 >= text.size() || !std::strchr(letters, text[i + 1])) continue;
    const unsigned char open = static_cast<unsigned char>(text[i + 2]);
    if (open <= 32 || std::isalnum(open)) continue;
    std::size_t first = 0;
    const std::size_t end = PercentLiteralEnd(text, i + 2, first);
    if (end == std::string::npos) continue;
    if (at <= end && (!nestedOnly || first != end)) return true;
    if (end > i) i = end;
  }
  return false;
}

// In a word list: %w[...], %i(...) and the like.
bool InWordList(const std::string& text, std::size_t at) { return InPercentLiteral(text, at, "wWiI", false); }

// In a string or regular-expression literal with brackets nested in it,
// such as %r{(#{name})}.
bool InNestedLiteral(const std::string& text, std::size_t at) { return InPercentLiteral(text, at, "rQqx", true); }

// In a run of letters that directly follows a closing delimiter, such as
// the modifiers of /a/i or %r{a}x.
bool InModifiers(const std::string& text, std::size_t at) {
  std::size_t i = at;
  while (i > 0 && std::isalpha(static_cast<unsigned char>(text[i - 1]))) --i;
  return std::isalpha(static_cast<unsigned char>(text[at])) && i > 0 && std::strchr("/})]>|!%", text[i - 1]);
}

// In <HANDLE> or <$handle>, a line read.
bool InLineRead(const std::string& text, std::size_t at) {
  const std::size_t from = LineStart(text, at);
  const std::size_t open = text.rfind('<', at);
  if (open == std::string::npos || open < from) return false;
  const std::size_t close = text.find_first_not_of("$ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_:",
                                                   open + 1);
  return close != std::string::npos && text[close] == '>' && at <= close;
}

// After a backslash and a quote on the same line.
bool AfterEscapedQuote(const std::string& text, std::size_t at) {
  const std::size_t found = text.find("\\\"", LineStart(text, at));
  return found != std::string::npos && found < at;
}

// Between <script ...> or <style ...> and its closing tag.
bool InScriptOrStyle(const std::string& text, std::size_t at) {
  for (const char* element : {"script", "style"}) {
    const std::size_t open = text.rfind(std::string("<") + element, at);
    if (open == std::string::npos) continue;
    const std::size_t close = text.find(std::string("</") + element, open);
    if (close == std::string::npos || at < close) return true;
  }
  return false;
}

// Anywhere after `?/`, Ruby's slash character: we open a regular expression
// there that reads on to the next slash, and the two readings stay out of step.
bool AfterSlashCharacter(const std::string& text, std::size_t at) {
  const std::size_t found = text.find("?/");
  return found != std::string::npos && found <= at;
}

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

// The bytes of one file the comparison reads: at most `kFileBytes`, cut at a
// line end, so a corpus sample stays small whatever its files' sizes.
constexpr std::size_t kFileBytes = 24 * 1024;

void Compare(const TLanguage& language) {
  test::TFountains fountains;
  TFountain& fountain = fountains.Get(language.fountain);
  test::TTempDir dir;
  std::vector<std::string> names, texts, copies;
  for (const std::string& file : language.files) {
    std::string text;
    if (ReadWholeFile(file, text) != TReadResult::Ok || text.empty()) continue;
    if (text.size() > kFileBytes) {
      const std::size_t cut = text.rfind('\n', kFileBytes);
      text.resize(cut == std::string::npos ? kFileBytes : cut + 1);
    }
    names.push_back(file);
    texts.push_back(text);
    copies.push_back(dir.Write(std::to_string(copies.size()), text));
  }
  if (texts.empty()) GTEST_SKIP() << "no files of this corpus are installed";
  std::vector<std::string> argv = {"python3", std::string(NUV_SOURCE_DIR) + "/tests/fountain/pygments_classes.py",
                                   language.lexer};
  argv.insert(argv.end(), copies.begin(), copies.end());
  const test::TChildResult py = test::RunChild(argv);
  ASSERT_EQ(py.exitCode, 0) << py.err;

  std::map<std::pair<std::string, char>, std::pair<int, std::string>> differences;
  int compared = 0;
  std::size_t at = 0;
  for (std::size_t f = 0; f < texts.size(); ++f) {
    const std::string& text = texts[f];
    const std::size_t end = py.out.find('\n', at);
    ASSERT_NE(end, std::string::npos) << names[f];
    const std::string theirs = py.out.substr(at, end - at);
    at = end + 1;
    ASSERT_EQ(theirs.size(), text.size()) << names[f];
    std::vector<std::string> kinds;
    const std::string ours = OurClasses(fountain, language.fountain, text, kinds);
    for (std::size_t i = 0; i < text.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      if (c <= 32 || theirs[i] == '.' || ours[i] == '.') continue;
      ++compared;
      if (ours[i] == theirs[i]) continue;
      const std::size_t from = text.rfind('\n', i) == std::string::npos ? 0 : text.rfind('\n', i) + 1;
      const std::string line = text.substr(from, text.find('\n', i) - from);
      const bool allowed = std::any_of(language.allowed.begin(), language.allowed.end(), [&](const TAllowed& a) {
        return (a.kind.empty() || a.kind == kinds[i]) && (a.pygments == '*' || a.pygments == theirs[i]) &&
               (a.line.empty() || line.find(a.line) != std::string::npos) && (!a.where || a.where(text, i));
      });
      if (allowed) continue;
      auto& [count, where] = differences[{kinds[i], theirs[i]}];
      const std::string place = "\n  " + names[f] + ": " + line;
      if (count++ < 100 && where.find(place) == std::string::npos && std::count(where.begin(), where.end(), '\n') < 3) {
        where += place;
      }
    }
  }
  EXPECT_GT(compared, 0);
  for (const auto& [key, found] : differences) {
    ADD_FAILURE() << language.fountain << ": our " << key.first << " is '" << key.second << "' to Pygments in "
                  << found.first << " bytes; first in" << found.second;
  }
}

std::string Data(const char* name) { return std::string(NUV_TEST_DATA) + "/" + name; }

// What our rules make different, per language.

std::vector<TAllowed> CAllowed() { return {{"PreProcessor", 'c', "", "a preprocessor line has a colour of its own"}}; }

std::vector<TAllowed> CobolAllowed() { return {{"Sequence", 'c', "", "the sequence area has a colour of its own"}}; }

std::vector<TAllowed> PerlAllowed() {
  const char* tags = "a here-document may hold HTML, coloured as tags";
  return {{"Pattern", 'o', "", "the modifier letters after a pattern belong to it"},
          {"Replacement", 'o', "", "the modifier letters after a substitution belong to it"},
          {"Substitute", 'o', "", "the operator letter s opens the construct and takes its colour"},
          {"TranslitFrom", 'o', "", "tr and y are constructs, with the operator letters"},
          {"TranslitTo", 'o', "", "the second part of tr and y belongs to the construct"},
          {"TagStart", 's', "", tags},
          {"TagElement", 's', "", tags},
          {"TagAttribute", 's', "", tags},
          {"TagEqual", 's', "", tags},
          {"TagEnd", 's', "", tags},
          {"Ampersand", 's', "", "a here-document may hold HTML entities"},
          {"Ank", 'c', "__END__", "__END__ is a plain word: only the documentation after it is a comment"},
          {"", 'c', "=encoding", "only =head1, =head2, =over, =item, =back, =for, =begin, =end and =pod open documentation"},
          {"", 's', "", "<HANDLE> reads a line: a symbol, a word and a symbol to us, a string to Pygments", InLineRead}};
}

std::vector<TAllowed> RubyAllowed() {
  const char* nesting = "%Q(), %r{} and the like do not nest: the literal ends at the first closing delimiter";
  const char* noHere = "<< before a blank opens no here-document";
  return {{"RubySymbol", 's', "", "a symbol has a colour of its own"},
          {"StringLiteral", 'o', "#{", "a literal knows no interpolation: it runs to its closing delimiter"},
          {"RegexpLiteral", 'o', "#{", "a literal knows no interpolation: it runs to its closing delimiter"},
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
          {"", 's', "puts $0, $-w, $!", noHere},
          {"", 's', "", "a label (key: value) is a word and a colon to us, a symbol to Pygments", InLabel},
          {"", 's', "", "%w[], %i() and the like are no literals to us: words, numbers and symbols", InWordList},
          {"", '*', "", "our literal ends at its first closing bracket; Pygments nests brackets and reads #{} in it",
           InNestedLiteral},
          {"Ank", 's', "", "modifier letters after a literal are plain words", InModifiers},
          {"Symbol", 's', ":'", "a colon before a quote is a symbol: the quoted text after it is a string"},
          {"HereDocument", 'o', "<<-", "<<- at a line's start opens a here-document"},
          {"", '*', "", "?/ is a character to Ruby; to us its slash opens a regular expression", AfterSlashCharacter}};
}

std::vector<TAllowed> HtmlAllowed() {
  return {{"", 'c', "<!DOCTYPE", "a declaration is scanned as a tag holding plain words"},
          {"DoubleQuotation", 'o', "", "quoted text outside tags is a string"},
          {"SingleQuotation", 'o', "", "quoted text outside tags is a string"},
          {"", '*', "", "a script or a style sheet is text to us; Pygments reads it as JavaScript or CSS",
           InScriptOrStyle}};
}

std::vector<TAllowed> AwkAllowed() {
  const char* slash = "a slash pattern is no construct: words, numbers and symbols, and a # in it starts a comment";
  return {{"", 's', "", slash, InSlashPair},
          {"Comment", 'o', "/^#", slash},
          {"", '*', "", "a string ends with its line: a backslash at the line's end does not continue it",
           AfterBackslashLine},
          {"", '*', "", "a string ends at the next quote: a backslash does not escape it", AfterEscapedQuote}};
}

TEST(Pygments, Perl) { Compare({"perl", "perl", {Data("sample.pl")}, PerlAllowed()}); }
TEST(Pygments, C) { Compare({"c", "c", {Data("sample.c")}, CAllowed()}); }
TEST(Pygments, Java) { Compare({"java", "java", {Data("sample.java")}, {}}); }
TEST(Pygments, Ruby) { Compare({"ruby", "ruby", {Data("sample.rb")}, RubyAllowed()}); }
TEST(Pygments, Html) { Compare({"html", "html", {Data("sample.html")}, HtmlAllowed()}); }
TEST(Pygments, Awk) { Compare({"awk", "awk", {Data("sample.awk")}, AwkAllowed()}); }
TEST(Pygments, Cobol) { Compare({"cobol", "cobol", {Data("sample.cob")}, CobolAllowed()}); }
TEST(Pygments, Delphi) { Compare({"delphilang", "delphi", {Data("sample.pas")}, {}}); }

// The corpora: a bounded, even sample of each, so the run stays short.
constexpr std::uintmax_t kCorpusBytes = 160 * 1024;

std::vector<std::string> Corpus(const char* name, const std::string& scratch = std::string()) {
  return test::CorpusFiles(name, scratch, kCorpusBytes);
}

TEST(PygmentsCorpus, PerlModules) { Compare({"perl", "perl", Corpus("perl"), PerlAllowed()}); }
TEST(PygmentsCorpus, CHeaders) { Compare({"c", "c", Corpus("c"), CAllowed()}); }
TEST(PygmentsCorpus, CHeadersInTheCppMode) {
  std::vector<TAllowed> allowed = CAllowed();
  allowed.push_back({"", 'c', "", "the C/C++ mode has no preprocessor kind: a # line is words, numbers, strings",
                     InPreprocessorLine});
  Compare({"cpp", "c", Corpus("c"), allowed});
}
TEST(PygmentsCorpus, RubyLibrary) { Compare({"ruby", "ruby", Corpus("ruby"), RubyAllowed()}); }
TEST(PygmentsCorpus, HtmlDocuments) { Compare({"html", "html", Corpus("html"), HtmlAllowed()}); }
TEST(PygmentsCorpus, AwkPrograms) { Compare({"awk", "awk", Corpus("awk"), AwkAllowed()}); }
TEST(PygmentsCorpus, JavaDemos) {
  test::TTempDir scratch;
  Compare({"java", "java", Corpus("java", scratch.Path()), {}});
}
TEST(PygmentsCorpus, CobolCopybooks) { Compare({"cobol", "cobol", Corpus("cobol"), CobolAllowed()}); }

}  // namespace
}  // namespace nuv
