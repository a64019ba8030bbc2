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
#include "regex/RegExpTexts.h"

namespace {

enum TResult { kParsed, kSyntaxError, kTooLarge };

TResult Parse(std::string_view pattern) {
  nuv::TREParser parser(pattern);
  try {
    parser.Run();
  } catch (const nuv::ERegExpParser& e) {
    return e.Message() == nuv::retext::PatternTooLong() || e.Message() == nuv::retext::NestingTooDeep()
               ? kTooLarge
               : kSyntaxError;
  } catch (const nuv::ERegExpLimit&) {
    return kTooLarge;
  }
  const auto& leaves = parser.ParseTree().Leaves();
  if (leaves.size() < 200)
    for (std::size_t i = 0; i < leaves.size(); ++i)
      for (std::size_t j = i + 1; j < leaves.size(); ++j) {
        const auto a = leaves[i]->CharClass, b = leaves[j]->CharClass;
        if (!(a.EndChar < b.StartChar || b.EndChar < a.StartChar)) std::abort();
      }
  (void)nuv::DumpTree(parser.ParseTree().Root());
  return kParsed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string pattern(reinterpret_cast<const char*>(data), size);
  const TResult plain = Parse(pattern);
  nuv::TREPreProcessor pre(pattern);
  pre.ListOfFuzzyCharDic().push_back(&nuv::RE_FuzzyCharDic());
  pre.SetUseFuzzyCharDic(true);
  try {
    pre.Run();
  } catch (const nuv::ERegExpParser& e) {
    // The scanner refused it, so the parser must refuse it too, unless the
    // scanner ran into a limit the parser did not reach.
    const bool limit = e.Message() == nuv::retext::PatternTooLong() || e.Message() == nuv::retext::NestingTooDeep();
    if (plain == kParsed && !limit) std::abort();
    return 0;
  }
  // Rewriting only replaces characters by groups: validity is unchanged,
  // unless the larger pattern runs into a limit.
  const TResult rewritten = Parse(pre.ProcessedRegExpStr());
  if (plain != kTooLarge && rewritten != kTooLarge && rewritten != plain) std::abort();
  return 0;
}
