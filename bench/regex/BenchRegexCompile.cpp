// Compile time of typical patterns and of a 2,000-character pattern, with and
// without the fuzzy rewriting (a fresh matcher each time, so the pattern
// cache never answers). Each compiled pattern must first find the match
// worked out by hand in a sample text.
#include <benchmark/benchmark.h>

#include "base/Codec.h"
#include "base/Sjis.h"
#include "regex/AwkStr.h"
#include "support/BenchGoogle.h"
#include "support/BenchVerdict.h"

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

int main(int argc, char** argv) {
  nuv::bench::TVerdict verdict("bench_regex_compile", argc, argv);
  struct TCase {
    std::string pattern;
    bool fuzzy;
    std::string text;
    int position, length;  // 1-based, in bytes
  };
  const std::string longPattern = LongPattern();
  const TCase cases[] = {
      {Sj("研究"), false, Sj("xx研究"), 3, 4},
      {Sj("[ァ-ヶ]+研究"), false, Sj("はシステム研究だ"), 3, 12},
      {Sj("研究|開発|システム|データ|ネットワーク"), false, Sj("ab開発研究"), 3, 4},
      {Sj("^(第[0-9]+章|[０-９]+\\.) .*$"), false, Sj("第12章 abc"), 1, 10},
      {Sj("コンピュータシステム"), true, Sj("新しいコンピュータシステム"), 7, 20},
      {longPattern, false, "<" + longPattern + ">", 2, static_cast<int>(longPattern.size())},
  };
  for (const TCase& c : cases) {
    nuv::TAWKStr matcher;
    matcher.SetUseFuzzyCharDic(c.fuzzy);
    matcher.SetRegExp(c.pattern);
    int position = 0, length = 0;
    matcher.Match(c.text, position, length);
    verdict.Check(position == c.position && length == c.length,
                  "match of a " + std::to_string(nuv::CharCount(c.pattern)) + "-character pattern");
  }
  nuv::bench::RunBenchmarks(argc, argv, verdict.Smoke());
  return verdict.Finish();
}
