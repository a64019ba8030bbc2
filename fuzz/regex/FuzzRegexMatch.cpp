// Fuzzes matching: the input is a pattern and a text separated by the first
// byte 0x01. Every compiled pattern must match any text without reading out of
// bounds, and small cases must agree with the reference matcher, which has a
// parser of its own: on the match, and on whether (and why) a processed
// pattern is refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ReferenceMatcher.h"
#include "regex/AwkStr.h"
#include "regex/RegExpError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = input.find('\x01');
  const std::string pattern = input.substr(0, cut);
  const std::string text = cut == std::string::npos ? std::string() : input.substr(cut + 1);
  // A fresh matcher for every input: a cache carried over from earlier
  // inputs would make a crash depend on them and not reproduce from its input.
  nuv::TAWKStr matcher;
  const bool fuzzy = !pattern.empty() && (static_cast<unsigned char>(pattern[0]) & 1);
  matcher.SetUseFuzzyCharDic(fuzzy);
  try {
    matcher.SetRegExp(pattern);
  } catch (const nuv::ERegExpParser& e) {
    if (!fuzzy && pattern.size() <= 160) {
      try {
        const nuv::test::TReferenceMatcher reference(pattern);
        std::abort();  // the engine refused what the grammar accepts
      } catch (const nuv::test::TReferenceMatcher::EBadPattern& bad) {
        if (bad.message != e.Message()) std::abort();
      }
    }
    return 0;
  } catch (const nuv::ENuvError&) {
    return 0;
  }
  int position = 0, length = 0;
  matcher.Match(text, position, length);
  if (position < 0 || length < 0 || static_cast<std::size_t>(position + length) > text.size() + 1) std::abort();
  // The reference is slow; it checks the cases it can afford.
  const std::string processed = matcher.CachedPatterns()[matcher.CurrentIndex()];
  if (processed.size() <= 160 && text.size() <= 48) {
    const nuv::test::TReferenceMatcher reference(processed);
    const auto expected = reference.Match(text);
    const int wantPosition = expected ? static_cast<int>(expected->first) + 1 : 0;
    const int wantLength = expected ? static_cast<int>(expected->second - expected->first) : 0;
    if (position != wantPosition || length != wantLength) std::abort();
  }
  return 0;
}
