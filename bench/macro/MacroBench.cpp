// Macro interpreter throughput: a ten-million-pass loop, a mixed statement
// loop, string building, and a macro that rewrites every line of a
// 100,000-line page through the host routines.
#include <benchmark/benchmark.h>

#include "macro/MacroHost.h"
#include "editor/HeadlessPageEditor.h"
#include "macro/PoorPascal.h"
#include "outline/OutlineTree.h"

namespace {

using namespace nuv;

void RunProgram(benchmark::State& state, const char* program, int64_t items) {
  TPoorPascal pp;
  pp.SetSourceText(program);
  for (auto _ : state) pp.Execute();
  state.SetItemsProcessed(state.iterations() * items);
}

void BM_Loop10M(benchmark::State& state) {
  RunProgram(state, "var i, x: integer; begin x := 0; for i := 1 to 10000000 do x := x + i end.", 10000000);
}
BENCHMARK(BM_Loop10M)->Unit(benchmark::kMillisecond)->Iterations(3);

// Four statements a pass: assignments, an IF with a relation, a CASE.
void BM_MixedStatements(benchmark::State& state) {
  RunProgram(state,
             "var i, a, b: integer; begin for i := 1 to 1000000 do begin a := i mod 7; "
             "if a > 3 then b := b + a else b := b - 1; case a of 0: b := b + 2; 1..3: b := b * 1 end end end.",
             4000000);
}
BENCHMARK(BM_MixedStatements)->Unit(benchmark::kMillisecond);

void BM_StringAppend(benchmark::State& state) {
  RunProgram(state, "var i: integer; s: string; begin for i := 1 to 100000 do s := s + IntToStr(i) + ',' end.", 100000);
}
BENCHMARK(BM_StringAppend)->Unit(benchmark::kMillisecond);

// Building a string from copies of itself cannot append in place.
void BM_StringRebuild(benchmark::State& state) {
  RunProgram(state,
             "var i: integer; s, t: string; begin for i := 1 to 20000 do begin t := Copy(s, 1, 10) + 'ab'; "
             "s := t + s end end.",
             20000);
}
BENCHMARK(BM_StringRebuild)->Unit(benchmark::kMillisecond);

void BM_RewriteLines100k(benchmark::State& state) {
  std::string body;
  for (int i = 0; i < 100000; ++i) body += "line " + std::to_string(i) + " of the page\r\n";
  TOutlineTree tree;
  tree.AddChild(nullptr, "page");
  THeadlessPageEditor editor;
  TPoorPascal pp;
  TMacroHostParts parts;
  parts.editor = &editor;
  parts.lines = &editor;
  parts.tree = &tree;
  TMacroHost host(pp, parts);
  host.Register();
  pp.SetSourceText("var i: integer; begin for i := 0 to LineCount - 1 do SetLineStr(i, '> ' + GetLineStr(i)) end.");
  for (auto _ : state) {
    state.PauseTiming();
    editor.SetText(body);
    state.ResumeTiming();
    pp.Execute();
  }
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_RewriteLines100k)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
