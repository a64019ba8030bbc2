// Times a full tokenizing pass (the row states of every row, then every
// row's tokens and colours, as painting asks for them) over a sample of the
// Perl modules and the C headers, beside Pygments (pygmentize, null
// formatter) on the same bytes in the same run; and a one-character edit
// that changes no state, which re-tokenizes a constant number of rows
// however long the document is. The C/C++ mode row is the real mode, with
// its reserved words.
//
// Checks: the tokens tile every row (each non-blank byte in one token, in
// order), the row states of the pass equal those the editor stores for the
// same text, and an edit re-tokenizes the same number of rows at every size.
// Targets: a full pass (states and tokens) at 50 MB/s and a hundred times
// Pygments for Perl and C.
//
// bench_fountain [--smoke] [MB per corpus, default 4]
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/FileIo.h"
#include "editor/Editor.h"
#include "fountain/EditModes.h"
#include "fountain/TokenDump.h"
#include "support/BenchVerdict.h"

namespace {

using namespace nuv;
namespace fs = std::filesystem;
using TClock = std::chrono::steady_clock;

double Seconds(TClock::time_point a, TClock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

// Files under `root` with extension `ext`, sorted, concatenated up to `limit` bytes.
std::string Corpus(const std::string& root, const std::string& ext, std::size_t limit) {
  std::vector<std::string> files;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, ec);
       it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (ec) break;
    if (it->is_regular_file(ec) && it->path().extension() == ext) files.push_back(it->path().string());
  }
  std::sort(files.begin(), files.end());
  std::string all;
  for (const std::string& f : files) {
    std::string text;
    if (ReadWholeFile(f, text) != TReadResult::Ok) continue;
    // Pygments reads everything after __END__ as one token; both sides get
    // the code before it.
    for (const char* end : {"\n__END__", "\n__DATA__"}) {
      const std::size_t at = text.find(end);
      if (at != std::string::npos) text.resize(at + 1);
    }
    all += text;
    if (!all.empty() && all.back() != '\n') all += '\n';
    if (all.size() >= limit) break;
  }
  return all;
}

// Rows of the text, split at line breaks (as loading does).
void Rows(const std::string& text, TEditorStringList& list) {
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t j = text.find('\n', i);
    if (j == std::string::npos) j = text.size();
    std::size_t end = j;
    if (end > i && text[end - 1] == '\r') --end;
    list.Add(text.substr(i, end - i));
    i = j + 1;
  }
}

// The row states of every row (one scan of each row).
std::vector<TRowAttributeData> States(TFountain& fountain, const TEditorStringList& list) {
  std::unique_ptr<TFountainParser> parser = fountain.NewParser();
  std::vector<TRowAttributeData> states(static_cast<std::size_t>(list.GetCount()));
  TRowAttributeData data;
  for (int r = 0; r < list.GetCount(); ++r) {
    data.Row = list.GetRows(r);
    states[static_cast<std::size_t>(r)] = data;
    parser->LastTokenBracket(r, list, data);
    data.PrevRow = list.GetRows(r);
  }
  return states;
}

// Every row's tokens and colours from its state (a second scan); returns
// what it saw, so nothing is optimised away.
long Tokens(TFountain& fountain, const TEditorStringList& list, const std::vector<TRowAttributeData>& states) {
  std::unique_ptr<TFountainParser> parser = fountain.NewParser();
  long tokens = 0;
  for (int r = 0; r < list.GetCount(); ++r) {
    parser->NewData(list.Get(r), states[static_cast<std::size_t>(r)]);
    while (parser->NextToken() != tokEof) {
      tokens += parser->TokenToFountainColor() != nullptr ? 2 : 1;
    }
  }
  return tokens;
}

// True when every row's tokens, scanned from its state, lie in order inside
// the row and leave only blanks uncovered.
bool TokensTile(TFountain& fountain, const TEditorStringList& list, const std::vector<TRowAttributeData>& states) {
  std::unique_ptr<TFountainParser> parser = fountain.NewParser();
  for (int r = 0; r < list.GetCount(); ++r) {
    const std::string& text = list.Get(r);
    parser->NewData(text, states[static_cast<std::size_t>(r)]);
    int covered = 0;
    auto blanks = [&](int from, int to) {
      for (int i = from; i < to; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
        if (c > 32 || c == 9) return false;
      }
      return true;
    };
    while (parser->NextToken() != tokEof) {
      const int pos = parser->SourcePos(), len = parser->TokenLength();
      if (pos < covered || len <= 0 || pos + len > static_cast<int>(text.size()) || !blanks(covered, pos)) return false;
      covered = pos + len;
    }
    if (!blanks(covered, static_cast<int>(text.size()))) return false;
  }
  return true;
}

// True when `states` equal the states an editor stores for the same rows.
bool SameAsEditor(TFountain& fountain, const std::string& text, const std::vector<TRowAttributeData>& states) {
  TEditor editor;
  editor.List().SetInitBracketsFull(true);
  editor.SetFountain(&fountain);
  editor.Lines().SetTextStr(text);
  bool same = editor.List().GetCount() >= static_cast<int>(states.size());
  for (int r = 0; same && r < static_cast<int>(states.size()); ++r) {
    same = editor.GetListData(r).SameState(states[static_cast<std::size_t>(r)]);
  }
  editor.SetFountain(nullptr);
  return same;
}

// Seconds pygmentize takes for the file, less its start-up on an empty file;
// negative when it cannot run.
double Pygmentize(const std::string& lexer, const std::string& file) {
  auto run = [&](const std::string& path) {
    const auto t0 = TClock::now();
    const pid_t pid = fork();
    if (pid == 0) {
      execl("/usr/bin/pygmentize", "pygmentize", "-l", lexer.c_str(), "-f", "null", "-o", "/dev/null", path.c_str(),
            static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const double s = Seconds(t0, TClock::now());
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? s : -1.0;
  };
  const std::string empty = file + ".empty";
  WriteFileAtomic(empty, "");
  const double startup = run(empty);
  const double total = run(file);
  fs::remove(empty);
  return startup < 0 || total < 0 ? -1.0 : std::max(1e-9, total - startup);
}

class TCountingCppFountain : public TCppFountain {
 public:
  class TParser : public TCppFountainParser {
   public:
    TParser(TCppFountain* f, long& count) : TCppFountainParser(f), m_count(count) {}
    void LastTokenBracket(int index, const TRowAttributeStringList& list, TRowAttributeData& data) override {
      ++m_count;
      TCppFountainParser::LastTokenBracket(index, list, data);
    }
   private:
    long& m_count;
  };
  std::unique_ptr<TFountainParser> NewParser() override { return std::make_unique<TParser>(this, Count); }
  long Count = 0;
};

// Types one letter into a word in the middle of the document: the row's
// state after it is unchanged, so re-tokenizing stops at once.
void EditBench(const std::string& text, bench::TVerdict& verdict) {
  std::printf("\none-character edit in the middle of C headers (rows re-tokenized per edit)\n");
  double firstRows = -1;
  std::printf("%12s %10s %14s\n", "rows", "rows/edit", "us/edit");
  for (int copies : {1, 4, 16}) {
    std::string doc;
    for (int i = 0; i < copies; ++i) doc += text;
    TCountingCppFountain fountain;
    TEditor editor;
    editor.List().SetInitBracketsFull(true);
    editor.SetFountain(&fountain);
    editor.Lines().SetTextStr(doc);
    TEditorScreenStrings& list = editor.List();
    int row = list.GetCount() / 2;
    while (row < list.GetCount() && list.Get(row).find("int") == std::string::npos) ++row;
    // The edit types an "x" into a word and takes it out again, in turn.
    if (row >= list.GetCount()) row = list.GetCount() / 2;
    const std::string original = list.Get(row) + "\r\n";
    std::string edited = original;
    edited.insert(std::min(original.find("int") + 1, original.size() - 2), 1, 'x');
    const int edits = 200;
    fountain.Count = 0;
    const auto t0 = TClock::now();
    for (int i = 0; i < edits; ++i) list.UpdateList(row, 1, i % 2 == 0 ? edited : original);
    const double us = Seconds(t0, TClock::now()) * 1e6 / edits;
    const double rows = static_cast<double>(fountain.Count) / edits;
    std::printf("%12d %10.1f %14.1f\n", list.GetCount(), rows, us);
    editor.SetFountain(nullptr);
    if (firstRows < 0) firstRows = rows;
    verdict.Check(rows == firstRows && rows <= 2, "an edit re-tokenizes as many rows at " + std::to_string(copies) + "x");
  }
}

}  // namespace

int main(int argc, char** argv) {
  bench::TVerdict verdict("bench_fountain", argc, argv);
  const double megabytes = argc > 1 ? std::atof(argv[1]) : verdict.Smoke() ? 0.1 : 4.0;
  const std::size_t limit = static_cast<std::size_t>(megabytes * 1024 * 1024);
  struct TCase {
    const char* name;
    const char* root;
    const char* ext;
    const char* lexer;
    TFountain* fountain;
  };
  TFountainSet set;
  TEditorFountain cppMode;
  cppMode.InitPageEditorDefaults();
  ApplyEditMode(*FindEditMode("cpp"), cppMode, set, NUV_SHARE_DIR);
  verdict.Check(cppMode.ReserveWordList().Count() > 0, "the C/C++ mode has its reserved words");
  const TCase cases[] = {
      {"Perl modules", "/usr/share/perl", ".pm", "perl", &set.Perl},
      {"C headers (C/C++ fountain)", "/usr/include", ".h", "c", &set.Cpp},
      {"C headers (C/C++ mode)", "/usr/include", ".h", "c", &cppMode},
  };
  std::printf("%-28s %6s %10s %10s %10s %9s %9s\n", "corpus", "MB", "states", "tokens", "Pygments", "x tokens",
              "x both");
  std::string cHeaders;
  const std::string tmp = fs::temp_directory_path().string() + "/nuv-bench-fountain-" + std::to_string(getpid());
  for (const TCase& c : cases) {
    const std::string text = Corpus(c.root, c.ext, limit);
    if (text.empty()) {
      std::printf("%-28s (no files)\n", c.name);
      continue;
    }
    if (std::string(c.lexer) == "c") cHeaders = text;
    TEditorStringList list;
    Rows(text, list);
    const double mb = static_cast<double>(text.size()) / (1024 * 1024);
    double bestStates = 1e9, bestTokens = 1e9;
    long sink = 0;
    {
      const std::vector<TRowAttributeData> states = States(*c.fountain, list);
      verdict.Check(TokensTile(*c.fountain, list, states), std::string(c.name) + ": tokens tile every row");
      verdict.Check(SameAsEditor(*c.fountain, text, states), std::string(c.name) + ": states equal the editor's");
    }
    for (int i = 0; i < 5; ++i) {
      const auto t0 = TClock::now();
      const std::vector<TRowAttributeData> states = States(*c.fountain, list);
      const auto t1 = TClock::now();
      sink += Tokens(*c.fountain, list, states);
      const auto t2 = TClock::now();
      bestStates = std::min(bestStates, Seconds(t0, t1));
      bestTokens = std::min(bestTokens, Seconds(t1, t2));
    }
    WriteFileAtomic(tmp + c.ext, text);
    const double py = Pygmentize(c.lexer, tmp + c.ext);
    fs::remove(tmp + c.ext);
    // MB/s of the state pass, of the token pass, of Pygments; and how many
    // times faster the token pass, and both passes together, are.
    std::printf("%-28s %6.2f %10.1f %10.1f %10.2f %9.0f %9.0f\n", c.name, mb, mb / bestStates, mb / bestTokens,
                py > 0 ? mb / py : 0.0, py > 0 ? py / bestTokens : 0.0, py > 0 ? py / (bestStates + bestTokens) : 0.0);
    if (sink == 42) std::printf(" ");
    const double both = bestStates + bestTokens;
    const std::string figure = std::string("full pass, ") + c.name;
    verdict.Target(figure + " (MB/s)", std::to_string(static_cast<int>(mb / both)) + " MB/s", "-", "-",
                   "at least 50 MB/s", mb / both >= 50);
    verdict.Target(figure + " vs Pygments", bench::Time(both), py > 0 ? bench::Time(py) : "n/a",
                   py > 0 ? bench::Ratio(py / both) : "-", "100x Pygments", py > 0 && py >= 100 * both);
  }
  if (!cHeaders.empty()) EditBench(cHeaders.substr(0, std::min<std::size_t>(cHeaders.size(), 1 << 20)), verdict);
  return verdict.Finish();
}
