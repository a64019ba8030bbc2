// Google Benchmark figures for the Palm DOC codec: one record compressed and
// expanded, and whole texts encoded and decoded in memory. Checks first that
// each comes back as it went in (with --smoke on texts of 64 KB per MB).
#include <benchmark/benchmark.h>

#include "JapaneseText.h"
#include "exchange/PalmDocCodec.h"
#include "exchange/PalmDocFile.h"
#include "support/BenchGoogle.h"
#include "support/BenchVerdict.h"

namespace nuv {
namespace {

bool g_smoke = false;

// The text of `megabytes` MB (64 KB each in smoke mode).
std::string Text(std::int64_t megabytes) {
  return bench::JapaneseText(static_cast<std::size_t>(megabytes) << (g_smoke ? 16 : 20));
}

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
  const std::string text = Text(state.range(0));
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
  const std::string text = Text(state.range(0));
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

int main(int argc, char** argv) {
  nuv::bench::TVerdict verdict("bench_palmdoc", argc, argv);
  nuv::g_smoke = verdict.Smoke();
  const std::string block = nuv::bench::JapaneseText(nuv::kPalmRecordSize);
  std::string codes, back;
  nuv::CompressPalmRecord(block, codes);
  nuv::DecompressPalmRecord(codes, back);
  verdict.Check(back == block && codes.size() < block.size(), "a record expands to what was compressed");
  const std::string text = nuv::Text(1);
  std::string image;
  verdict.Check(nuv::EncodePalmDoc(text, "bench", {}, image) == nuv::TPalmDocResult::Ok &&
                    nuv::DecodePalmDoc(image, {}, back) == nuv::TPalmDocResult::Ok && back == text,
                "a text decodes to what was encoded");
  nuv::bench::RunBenchmarks(argc, argv, verdict.Smoke());
  return verdict.Finish();
}
