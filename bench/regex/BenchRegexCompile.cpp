// Compile time of typical patterns and of a 2,000-character pattern, with and
// without the fuzzy rewriting (a fresh matcher each time, so the pattern
// cache never answers).
#include <benchmark/benchmark.h>

#include "base/Codec.h"
#include "base/Sjis.h"
#include "regex/AwkStr.h"

namespace {

std::string Sj(std::string_view utf8) { return nuv::SjisFromLiteral(utf8); }

void Compile(benchmark::State& state, const std::string& pattern, bool fuzzy) {
  for (auto _ : state) {
    nuv::TAWKStr matcher;
    matcher.SetUseFuzzyCharDic(fuzzy);
    matcher.SetRegExp(pattern);
    benchmark::DoNotOptimize(matcher.GetCurrentDFA().ClassCount());
  }
}

std::string LongPattern() {
  const char* words[] = {"研究", "の", "システム", "を", "開発", "し", "た。", "データ", "ﾃﾞｰﾀ", "abc", "123", "ネットワーク"};
  std::string p;
  for (std::size_t i = 0; nuv::CharCount(p) < 2000; ++i) p += Sj(words[i % std::size(words)]);
  return p;
}

}  // namespace

BENCHMARK_CAPTURE(Compile, literal, Sj("研究"), false);
BENCHMARK_CAPTURE(Compile, class, Sj("[ァ-ヶ]+研究"), false);
BENCHMARK_CAPTURE(Compile, alternation, Sj("研究|開発|システム|データ|ネットワーク"), false);
BENCHMARK_CAPTURE(Compile, anchored, Sj("^(第[0-9]+章|[０-９]+\\.) .*$"), false);
BENCHMARK_CAPTURE(Compile, fuzzy10, Sj("コンピュータシステム"), true);
BENCHMARK_CAPTURE(Compile, long2000, LongPattern(), false);
BENCHMARK_CAPTURE(Compile, long2000_fuzzy, LongPattern(), true);

BENCHMARK_MAIN();
