// The invariant checks shared by the golden-file, corpus and fuzz-style tests.
#include "FountainTestUtil.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/ChildProcess.h"

namespace nuv::test {

TFountains::TFountains() {
  const std::string share = std::string(NUV_SOURCE_DIR) + "/share";
  const TEditMode* text = FindEditMode("text");
  const TEditMode* cpp = FindEditMode("cpp");
  const TEditMode* delphi = FindEditMode("delphi");
  for (TEditorFountain* f : {&m_text, &m_cpp, &m_delphi}) f->InitPageEditorDefaults();
  ApplyEditMode(*text, m_text, m_set, share);
  ApplyEditMode(*cpp, m_cpp, m_set, share);
  ApplyEditMode(*delphi, m_delphi, m_set, share);
}

TFountain& TFountains::Get(const std::string& name) {
  if (name == "text") return m_text;
  if (name == "cpp") return m_cpp;
  if (name == "delphi") return m_delphi;
  if (name == "c") return m_set.Cpp;
  if (name == "delphilang") return m_set.Delphi;
  const TEditMode* mode = FindEditMode(name);
  TFountain* f = mode ? m_set.ForKind(mode->Kind) : nullptr;
  if (!f) throw std::runtime_error("no fountain " + name);
  return *f;
}

std::unique_ptr<TEditor> MakeEditor(TFountain& fountain, const std::string& text, int wrap) {
  return NewTokenEditor(fountain, text, wrap);
}

std::string Kinds(TFountain& fountain, const std::string& text) {
  std::unique_ptr<TEditor> editor = MakeEditor(fountain, text, 0);
  const TRowAttributeStringList& list = editor->List();
  std::unique_ptr<TFountainParser> parser = fountain.NewParser();
  std::string out;
  for (int r = 0; r < list.GetCount(); ++r) {
    if (r > 0) out += " |";
    for (const TTokenInfo& t : RowTokens(*parser, list, r, editor->GetListData(r))) {
      out += ' ' + parser->KindName(static_cast<std::uint8_t>(t.Kind)) + (t.Reserved ? "*(" : "(") +
             list.Get(r).substr(static_cast<std::size_t>(t.Pos), static_cast<std::size_t>(t.Len)) + ')';
    }
  }
  editor->SetFountain(nullptr);
  return out.empty() ? out : out.substr(1);
}

namespace {

bool IsBlank(unsigned char c) { return c == 0 || (c <= 32 && c != 9); }

// Tokens of every row from the stored states; checks tiling and that the
// states kept in memory (32-bit) give the same tokens.
std::string RowsAndStates(TFountain& fountain, TEditor& editor, std::vector<std::vector<TTokenInfo>>& rows) {
  const TRowAttributeStringList& list = editor.List();
  std::unique_ptr<TFountainParser> parser = fountain.NewParser();
  std::unique_ptr<TFountainParser> chain = fountain.NewParser();
  TRowAttributeData memory = TRowAttributeData::Initial();
  rows.clear();
  for (int r = 0; r < list.GetCount(); ++r) {
    memory.Row = list.GetRows(r);
    const TRowAttributeData stored = editor.GetListData(r);
    std::vector<TTokenInfo> tokens = RowTokens(*parser, list, r, stored);
    if (!stored.SameState(memory) || RowTokens(*parser, list, r, memory) != tokens) {
      return "row " + std::to_string(r) + ": the stored state differs from the state in memory";
    }
    std::string text = list.Get(r);
    const int rowLen = static_cast<int>(text.size());
    if (list.GetRows(r) == raWrapped && r + 1 < list.GetCount()) text += list.Get(r + 1);
    int covered = 0;
    for (const TTokenInfo& t : tokens) {
      if (t.Len <= 0 || t.Pos < covered || t.Pos + t.Len > static_cast<int>(text.size())) {
        return "row " + std::to_string(r) + ": token at " + std::to_string(t.Pos) + " does not tile";
      }
      for (int i = covered; i < t.Pos; ++i) {
        if (!IsBlank(static_cast<unsigned char>(text[static_cast<std::size_t>(i)]))) {
          return "row " + std::to_string(r) + ": byte " + std::to_string(i) + " is in no token";
        }
      }
      covered = t.Pos + t.Len;
    }
    for (int i = covered; i < rowLen; ++i) {
      if (!IsBlank(static_cast<unsigned char>(text[static_cast<std::size_t>(i)]))) {
        return "row " + std::to_string(r) + ": byte " + std::to_string(i) + " is in no token";
      }
    }
    rows.push_back(std::move(tokens));
    chain->LastTokenBracket(r, list, memory);
    memory.PrevRow = list.GetRows(r);
  }
  return std::string();
}

// Kinds of the non-blank bytes of each logical line, and its rows' texts.
struct TLine {
  std::vector<std::string> rows;
  std::vector<int> kinds;
  std::string text;
};

std::vector<TLine> Lines(const TRowAttributeStringList& list, const std::vector<std::vector<TTokenInfo>>& tokens) {
  std::vector<TLine> lines;
  bool open = false;
  for (int r = 0; r < list.GetCount(); ++r) {
    if (!open) lines.emplace_back();
    TLine& line = lines.back();
    const std::string& text = list.Get(r);
    const std::size_t base = line.text.size();
    line.rows.push_back(text);
    line.text += text;
    line.kinds.resize(line.text.size(), -1);
    for (const TTokenInfo& t : tokens[static_cast<std::size_t>(r)]) {
      const int end = std::min(t.Pos + t.Len, static_cast<int>(text.size()));
      for (int i = t.Pos; i < end; ++i) line.kinds[base + static_cast<std::size_t>(i)] = EffectiveKind(t);
    }
    open = list.GetRows(r) == raWrapped;
  }
  return lines;
}

}  // namespace

std::string CheckInvariants(TFountain& fountain, const std::string& text, const TInvariantOptions& options) {
  std::unique_ptr<TEditor> flat = MakeEditor(fountain, text, 0);
  std::vector<std::vector<TTokenInfo>> flatTokens;
  std::string failure = RowsAndStates(fountain, *flat, flatTokens);
  if (!failure.empty()) return "unwrapped: " + failure;
  const std::vector<TLine> flatLines = Lines(flat->List(), flatTokens);
  for (int wrap : options.wraps) {
    std::unique_ptr<TEditor> wrapped = MakeEditor(fountain, text, wrap);
    std::vector<std::vector<TTokenInfo>> tokens;
    failure = RowsAndStates(fountain, *wrapped, tokens);
    if (!failure.empty()) return "wrap " + std::to_string(wrap) + ": " + failure;
    const std::vector<TLine> lines = Lines(wrapped->List(), tokens);
    if (lines.size() != flatLines.size()) return "wrap " + std::to_string(wrap) + ": the line count differs";
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (options.exemptLine && options.exemptLine(lines[i].rows)) {
        if (options.stopAtExempt) break;
        continue;
      }
      for (std::size_t b = 0; b < lines[i].text.size(); ++b) {
        if (IsBlank(static_cast<unsigned char>(lines[i].text[b]))) continue;
        if (lines[i].kinds[b] != flatLines[i].kinds[b]) {
          std::ostringstream msg;
          msg << "wrap " << wrap << ": line " << i << " byte " << b << " is kind " << lines[i].kinds[b]
              << " but " << flatLines[i].kinds[b] << " unwrapped: " << lines[i].text;
          return msg.str();
        }
      }
    }
  }
  return std::string();
}

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
constexpr std::uintmax_t kDefaultBudget = 150 * 1024;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr std::uintmax_t kDefaultBudget = 150 * 1024;
#else
constexpr std::uintmax_t kDefaultBudget = 1536 * 1024;
#endif
#else
constexpr std::uintmax_t kDefaultBudget = 1536 * 1024;
#endif

std::uintmax_t CorpusBudget() {
  const char* env = std::getenv("NUV_CORPUS_BYTES");
  return env ? std::strtoull(env, nullptr, 10) : kDefaultBudget;
}

std::vector<std::string> Sample(const std::vector<std::string>& roots, const std::vector<std::string>& exts,
                                std::uintmax_t budget) {
  std::vector<std::pair<std::string, std::uintmax_t>> all;
  for (const std::string& root : roots) {
    std::error_code ec;
    if (!fs::is_directory(root, ec)) continue;
    for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec)) {
      if (ec) break;
      if (!it->is_regular_file(ec)) continue;
      const std::string ext = it->path().extension().string();
      if (std::find(exts.begin(), exts.end(), ext) == exts.end()) continue;
      all.emplace_back(it->path().string(), it->file_size(ec));
    }
  }
  std::sort(all.begin(), all.end());
  std::uintmax_t total = 0;
  for (const auto& f : all) total += f.second;
  const std::size_t step = total > budget ? static_cast<std::size_t>((total + budget - 1) / budget) : 1;
  std::vector<std::string> picked;
  std::uintmax_t used = 0;
  for (std::size_t i = 0; i < all.size() && used < budget; i += step) {
    picked.push_back(all[i].first);
    used += all[i].second;
  }
  return picked;
}

TInvariantOptions OptionsFor(const std::string& name) {
  TInvariantOptions options;
  if (name == "cobol") {
    // The sequence area and the indicator column are columns of a row.
    options.exemptLine = [](const std::vector<std::string>& rows) {
      for (std::size_t r = 1; r < rows.size(); ++r) {
        const std::string head = rows[r].substr(0, 7);
        if (head.find_first_of("0123456789*") != std::string::npos) return true;
      }
      return false;
    };
  } else if (name == "perl") {
    // A here-document opens only where the scanned row (with the next row
    // appended) ends in ";": a "<<" line of three rows or more may differ,
    // and so may everything after it.
    options.exemptLine = [](const std::vector<std::string>& rows) {
      if (rows.size() < 3) return false;
      std::string line;
      for (const std::string& r : rows) line += r;
      return line.find("<<") != std::string::npos;
    };
    options.stopAtExempt = true;
  }
  return options;
}

std::vector<std::string> CorpusFiles(const std::string& corpus, const std::string& scratch, std::uintmax_t budget) {
  if (corpus == "perl") return Sample({"/usr/share/perl", "/usr/share/perl5"}, {".pm", ".pl"}, budget);
  if (corpus == "c") return Sample({"/usr/include"}, {".h"}, budget);
  if (corpus == "ruby") return Sample({"/usr/lib/ruby"}, {".rb"}, budget);
  if (corpus == "html") return Sample({"/usr/share/doc"}, {".html", ".htm"}, budget);
  if (corpus == "awk") return Sample({"/usr/share/awk", "/usr/share/doc/gawk"}, {".awk"}, budget);
  if (corpus == "cobol") return Sample({"/usr/share/gnucobol/copy"}, {".cpy"}, budget);
  if (corpus != "java") throw std::runtime_error("no corpus " + corpus);
  // The JDK demos ship their sources zipped.
  for (const std::string& zip : Sample({"/usr/share/doc/openjdk-17-jre-headless/demo"}, {".zip"})) {
    const std::string into = scratch + "/" + fs::path(zip).parent_path().filename().string();
    if (RunProcess({"unzip", "-q", "-o", zip, "*.java", "-d", into}) != 0) {
      throw std::runtime_error("cannot unzip " + zip);
    }
  }
  return Sample({scratch}, {".java"}, budget);
}

}  // namespace nuv::test
