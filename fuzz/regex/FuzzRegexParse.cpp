// Fuzzes the pattern scanner, parser and fuzzy rewriting: any bytes either
// parse into a tree whose leaves are pairwise disjoint or raise the parser's
// error; the fuzzy rewrite of a pattern that parses parses too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "regex/REDictionary.h"
#include "regex/RegExpError.h"
#include "regex/RegExpParser.h"
#include "regex/RegExpPreProcessor.h"

namespace {

bool Parses(std::string_view pattern) {
  nuv::TREParser parser(pattern);
  try {
    parser.Run();
  } catch (const nuv::ERegExpParser&) {
    return false;
  }
  const auto& leaves = parser.ParseTree().Leaves();
  if (leaves.size() < 200)
    for (std::size_t i = 0; i < leaves.size(); ++i)
      for (std::size_t j = i + 1; j < leaves.size(); ++j) {
        const auto a = leaves[i]->CharClass, b = leaves[j]->CharClass;
        if (!(a.EndChar < b.StartChar || b.EndChar < a.StartChar)) std::abort();
      }
  (void)nuv::DumpTree(parser.ParseTree().Root());
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string pattern(reinterpret_cast<const char*>(data), size);
  const bool parses = Parses(pattern);
  nuv::TREPreProcessor pre(pattern);
  pre.ListOfFuzzyCharDic().push_back(&nuv::RE_FuzzyCharDic());
  pre.SetUseFuzzyCharDic(true);
  try {
    pre.Run();
  } catch (const nuv::ERegExpParser&) {
    return 0;  // the scanner refused it, so the parser must too
  }
  if (Parses(pre.ProcessedRegExpStr()) != parses) std::abort();
  return 0;
}
