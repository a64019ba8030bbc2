// Macro interpreter throughput: a ten-million-pass loop, a mixed statement
// loop, string building, and a macro that rewrites every line of a
// 100,000-line page through the host routines. Checks first the loop's sum
// against n(n+1)/2 (in 32-bit integers) and the rewritten page against the
// page quoted in C++; --smoke makes every loop a hundred times shorter.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

#include "macro/MacroHost.h"
#include "editor/HeadlessPageEditor.h"
#include "macro/PoorPascal.h"
#include "outline/OutlineTree.h"
#include "support/BenchGoogle.h"
#include "support/BenchVerdict.h"

namespace {

using namespace nuv;

int g_divisor = 1;  // 100 in smoke mode

// `n` passes, fewer in smoke mode, as program text.
std::string Passes(int n) { return std::to_string(n / g_divisor); }

void RunProgram(benchmark::State& state, const std::string& program, int64_t items) {
  TPoorPascal pp;
  pp.SetSourceText(program);
  for (auto _ : state) pp.Execute();
  state.SetItemsProcessed(state.iterations() * items / g_divisor);
}

const char* kLoop = "var i, x: integer; begin x := 0; for i := 1 to %N% do x := x + i end.";
const char* kRewrite =
    "var i: integer; begin for i := 0 to LineCount - 1 do SetLineStr(i, '> ' + GetLineStr(i)) end.";

std::string WithPasses(std::string program, int n) {
  return program.replace(program.find("%N%"), 3, Passes(n));
}

std::string PageBody(int lines) {
  std::string body;
  for (int i = 0; i < lines; ++i) body += "line " + std::to_string(i) + " of the page\r\n";
  return body;
}

void BM_Loop10M(benchmark::State& state) {
  RunProgram(state, WithPasses(kLoop, 10000000), 10000000);
}
BENCHMARK(BM_Loop10M)->Unit(benchmark::kMillisecond)->Iterations(3);

// Four statements a pass: assignments, an IF with a relation, a CASE.
void BM_MixedStatements(benchmark::State& state) {
  RunProgram(state,
             "var i, a, b: integer; begin for i := 1 to " + Passes(1000000) + " do begin a := i mod 7; "
             "if a > 3 then b := b + a else b := b - 1; case a of 0: b := b + 2; 1..3: b := b * 1 end end end.",
             4000000);
}
BENCHMARK(BM_MixedStatements)->Unit(benchmark::kMillisecond);

void BM_StringAppend(benchmark::State& state) {
  RunProgram(state,
             "var i: integer; s: string; begin for i := 1 to " + Passes(100000) + " do s := s + IntToStr(i) + ',' end.",
             100000);
}
BENCHMARK(BM_StringAppend)->Unit(benchmark::kMillisecond);

// Building a string from copies of itself cannot append in place.
void BM_StringRebuild(benchmark::State& state) {
  RunProgram(state,
             "var i: integer; s, t: string; begin for i := 1 to " + Passes(20000) +
                 " do begin t := Copy(s, 1, 10) + 'ab'; "
             "s := t + s end end.",
             20000);
}
BENCHMARK(BM_StringRebuild)->Unit(benchmark::kMillisecond);

// Runs the rewriting macro over `body` and returns the page after it.
struct TRewriter {
  TOutlineTree tree;
  THeadlessPageEditor editor;
  TPoorPascal pp;
  std::unique_ptr<TMacroHost> host;
  TRewriter() {
    tree.AddChild(nullptr, "page");
    TMacroHostParts parts;
    parts.editor = &editor;
    parts.lines = &editor;
    parts.tree = &tree;
    host = std::make_unique<TMacroHost>(pp, parts);
    host->Register();
    pp.SetSourceText(kRewrite);
  }
};

void BM_RewriteLines100k(benchmark::State& state) {
  const std::string body = PageBody(100000 / g_divisor);
  TRewriter rewriter;
  for (auto _ : state) {
    state.PauseTiming();
    rewriter.editor.SetText(body);
    state.ResumeTiming();
    rewriter.pp.Execute();
  }
  state.SetItemsProcessed(state.iterations() * 100000 / g_divisor);
}
BENCHMARK(BM_RewriteLines100k)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  bench::TVerdict verdict("bench_macro", argc, argv);
  g_divisor = verdict.Smoke() ? 100 : 1;
  TPoorPascal loop;
  loop.SetSourceText(WithPasses(kLoop, 10000000));
  loop.Execute();
  const std::int64_t n = 10000000 / g_divisor;
  verdict.Check(loop.GetIntVar("x") == static_cast<std::int32_t>(static_cast<std::uint32_t>(n * (n + 1) / 2)),
                "the loop's x equals n(n+1)/2");
  TRewriter rewriter;
  rewriter.editor.SetText(PageBody(1000));
  rewriter.pp.Execute();
  std::string quoted;
  for (int i = 0; i < 1000; ++i) quoted += "> line " + std::to_string(i) + " of the page\r\n";
  verdict.Check(rewriter.editor.Text() == quoted, "the rewritten page equals the page quoted in C++");
  bench::RunBenchmarks(argc, argv, verdict.Smoke());
  return verdict.Finish();
}
