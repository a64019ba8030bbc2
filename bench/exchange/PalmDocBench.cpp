// Google Benchmark figures for the Palm DOC codec: one record compressed and
// expanded, and whole texts encoded and decoded in memory.
#include <benchmark/benchmark.h>

#include "JapaneseText.h"
#include "exchange/PalmDocCodec.h"
#include "exchange/PalmDocFile.h"

namespace nuv {
namespace {

void BM_CompressRecord(benchmark::State& state) {
  const std::string block = bench::JapaneseText(kPalmRecordSize);
  std::string out;
  for (auto _ : state) {
    out.clear();
    CompressPalmRecord(block, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * block.size()));
}
BENCHMARK(BM_CompressRecord);

void BM_DecompressRecord(benchmark::State& state) {
  std::string codes;
  CompressPalmRecord(bench::JapaneseText(kPalmRecordSize), codes);
  std::string out;
  for (auto _ : state) {
    out.clear();
    DecompressPalmRecord(codes, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPalmRecordSize));
}
BENCHMARK(BM_DecompressRecord);

void BM_EncodeText(benchmark::State& state) {
  const std::string text = bench::JapaneseText(static_cast<std::size_t>(state.range(0)) << 20);
  std::string image;
  for (auto _ : state) {
    EncodePalmDoc(text, "bench", {}, image);
    benchmark::DoNotOptimize(image.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["ratio"] = static_cast<double>(image.size()) / static_cast<double>(text.size());
}
BENCHMARK(BM_EncodeText)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_DecodeText(benchmark::State& state) {
  const std::string text = bench::JapaneseText(static_cast<std::size_t>(state.range(0)) << 20);
  std::string image, back;
  EncodePalmDoc(text, "bench", {}, image);
  for (auto _ : state) {
    DecodePalmDoc(image, {}, back);
    benchmark::DoNotOptimize(back.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_DecodeText)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace nuv

BENCHMARK_MAIN();
