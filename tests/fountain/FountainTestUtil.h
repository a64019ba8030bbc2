// Helpers of the fountain tests: fountains by name, rows from text, and the
// invariants every tokenizer keeps (tokens tile each row, stored states give
// the same tokens as states kept in memory, wrapping changes no byte's kind).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/Editor.h"
#include "fountain/EditModes.h"
#include "fountain/TokenDump.h"

namespace nuv::test {

// All fountains the tests use, by name: the nuvtool modes plus "c" (the C/C++
// language fountain) and "delphilang" (the Delphi language fountain).
class TFountains {
 public:
  TFountains();
  TFountain& Get(const std::string& name);

 private:
  TFountainSet m_set;
  TEditorFountain m_text, m_cpp, m_delphi;
};

// A document of `text` wrapped at `wrap` (0: no wrap) with its states computed.
std::unique_ptr<TEditor> MakeEditor(TFountain& fountain, const std::string& text, int wrap);

// The tokens of `text` (unwrapped) as "Kind(text)" with "*" after a
// reserved word's kind, separated by spaces, rows joined by " | ".
std::string Kinds(TFountain& fountain, const std::string& text);

// The kind of a token as it would go on into the next row.
inline int EffectiveKind(const TTokenInfo& t) { return t.Effective; }

// Empty when every invariant holds for `text`, else what broke first.
struct TInvariantOptions {
  std::vector<int> wraps = {20, 37, 80};
  // True for a logical line (as text) whose rows may colour differently
  // once wrapped, given the rows it wraps into; comparing stops for good
  // when it returns true and `stop` is set.
  std::function<bool(const std::vector<std::string>& rows)> exemptLine;
  bool stopAtExempt = false;
};
std::string CheckInvariants(TFountain& fountain, const std::string& text, const TInvariantOptions& options);

// The corpus sample size per language: NUV_CORPUS_BYTES, else 1.5 MB (150 KB
// under AddressSanitizer).
std::uintmax_t CorpusBudget();

// Every file under `roots` with one of `exts`, sorted, then an even sample
// of them up to `budget` bytes.
std::vector<std::string> Sample(const std::vector<std::string>& roots, const std::vector<std::string>& exts,
                                std::uintmax_t budget = CorpusBudget());

// The options a language needs: COBOL's areas and Perl's here-document test
// look at row positions and row ends.
TInvariantOptions OptionsFor(const std::string& fountainName);

// A sample of up to `budget` bytes of a corpus of real sources from Debian's
// packages: "perl" (Perl's modules), "c" (/usr/include), "ruby" (Ruby's
// library), "html" (HTML documents), "awk" (gawk's programs), "java" (the
// JDK demos, unzipped into `scratch`) or "cobol" (GnuCOBOL's copybooks).
// Empty when the package is not installed.
std::vector<std::string> CorpusFiles(const std::string& corpus, const std::string& scratch,
                                     std::uintmax_t budget = CorpusBudget());

}  // namespace nuv::test
