// Fuzzes the macro lexer: every token lies inside the text, positions only
// grow, and tokens joined by spaces read back as the same tokens (the
// interpreter relies on that when it keeps token ranges instead of texts).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "macro/PPAParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nuv;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TPPAParser lexer(text);
  int last = -1;
  std::size_t count = 0;
  for (uint8_t kind = lexer.Token(); kind != kPPEnd; kind = lexer.NextToken()) {
    const int pos = lexer.SourcePos();
    if (pos <= last || static_cast<std::size_t>(pos) + lexer.TokenString().size() > size) std::abort();
    if (lexer.TokenString().empty() || ++count > size) std::abort();
    last = pos;
    (void)lexer.UpperToken();
  }
  const auto first = PPTokenize(text);
  const auto once = PPTokenize(PPJoinTokens(first.data(), first.data() + first.size()));
  const auto twice = PPTokenize(PPJoinTokens(once.data(), once.data() + once.size()));
  if (once.size() != twice.size()) std::abort();
  for (std::size_t i = 0; i < once.size(); ++i)
    if (once[i].kind != twice[i].kind || once[i].text != twice[i].text) std::abort();
  return 0;
}
