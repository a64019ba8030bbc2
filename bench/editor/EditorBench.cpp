// Editor core benchmarks: loading large bodies with and without wrap, keys
// in the middle and at the end of a large text and in one very long wrapped
// line, undo and redo, Ctrl+End and re-wrapping. Checks first that a loaded
// text comes back byte for byte, that a typed character and its undo leave
// the text as it was, and that wrapping keeps every row within 80 columns;
// --smoke runs on texts 64 times smaller. Targets: load with wrap at most
// 0.5 s, a typed character at most 50 us, a key in a 1 MB wrapped line at
// most 20 ms, undo of one character at most 100 us.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchText.h"
#include "editor/Editor.h"
#include "support/BenchGoogle.h"
#include "support/BenchVerdict.h"

namespace nuv {
namespace {

std::size_t g_shift = 20;  // sizes in MB; 64 KB "MB" in smoke mode

const std::string& Text10MB() {
  static const std::string text = bench::MixedText(std::size_t{10} << g_shift, 52);
  return text;
}
const std::string& Japanese50MB() {
  static const std::string text = bench::MixedText(std::size_t{50} << g_shift, 80, true);
  return text;
}
const std::string& Line1MB() {
  static const std::string text = bench::LongLine(std::size_t{1} << g_shift);
  return text;
}

std::unique_ptr<TEditor> Loaded(const std::string& text, bool wrap) {
  auto editor = std::make_unique<TEditor>();
  editor->SetWordWrap(wrap);
  editor->Lines().SetTextStr(text);
  return editor;
}

void BM_Load(benchmark::State& state, const std::string& (*text)(), bool wrap) {
  const std::string& t = text();
  for (auto _ : state) {
    TEditor editor;
    editor.SetWordWrap(wrap);
    editor.Lines().SetTextStr(t);
    benchmark::DoNotOptimize(editor.List().GetCount());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * t.size()));
}
BENCHMARK_CAPTURE(BM_Load, text10MB_unwrapped, Text10MB, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Load, text10MB_wrap80, Text10MB, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Load, japanese50MB_unwrapped, Japanese50MB, false)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_Load, japanese50MB_wrap80, Japanese50MB, true)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_Load, line1MB_wrap80, Line1MB, true)->Unit(benchmark::kMillisecond);

// One typed character; after a word of 30 the caret goes on in the next
// line in the middle, or in a new line at the end, so no line grows long.
void BM_Type(benchmark::State& state, const std::string& (*text)(), bool wrap, bool atEnd) {
  auto editor = Loaded(text(), wrap);
  int row = atEnd ? editor->List().GetCount() : editor->List().GetCount() / 2;
  editor->SetRowCol(row, 0);
  int typed = 0;
  for (auto _ : state) {
    editor->KeyPress('x');
    if (++typed == 30) {
      state.PauseTiming();
      typed = 0;
      if (atEnd) {
        editor->KeyDown(TEditorKey::Return);
      } else {
        row = editor->List().RowEnd(row) + 1;
        editor->SetRowCol(row, 0);
      }
      state.ResumeTiming();
    }
  }
}
BENCHMARK_CAPTURE(BM_Type, middle10MB_unwrapped, Text10MB, false, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Type, middle10MB_wrap80, Text10MB, true, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Type, end10MB_wrap80, Text10MB, true, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Type, middle50MB_wrap80, Japanese50MB, true, false)->Unit(benchmark::kMicrosecond);

void BM_KeyInLongLine(benchmark::State& state) {
  auto editor = Loaded(Line1MB(), true);
  const int row = editor->List().GetCount() / 2;
  editor->SetRowCol(row, 0);
  for (auto _ : state) {
    editor->KeyPress('x');
    state.PauseTiming();
    editor->SetRowCol(row, 0);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_KeyInLongLine)->Unit(benchmark::kMillisecond);

void BM_ReturnMiddle(benchmark::State& state, bool wrap) {
  auto editor = Loaded(Text10MB(), wrap);
  const int row = editor->List().GetCount() / 2;
  for (auto _ : state) {
    editor->SetRowCol(row, 4);
    editor->KeyDown(TEditorKey::Return);
  }
}
BENCHMARK_CAPTURE(BM_ReturnMiddle, unwrapped, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReturnMiddle, wrap80, true)->Unit(benchmark::kMicrosecond);

void BM_UndoCharacter(benchmark::State& state) {
  auto editor = Loaded(Text10MB(), true);
  editor->SetRowCol(editor->List().GetCount() / 2, 3);
  for (auto _ : state) {
    state.PauseTiming();
    editor->KeyPress('x');
    state.ResumeTiming();
    editor->Undo();
  }
}
BENCHMARK(BM_UndoCharacter)->Unit(benchmark::kMicrosecond);

void BM_UndoPaste1MB(benchmark::State& state) {
  auto editor = Loaded(Text10MB(), true);
  const std::string paste = bench::MixedText(std::size_t{1} << g_shift, 52);
  const int row = editor->List().GetCount() / 2;
  for (auto _ : state) {
    state.PauseTiming();
    editor->SetRowCol(row, 2);
    editor->PutStringToLine(paste);
    state.ResumeTiming();
    editor->Undo();
  }
}
BENCHMARK(BM_UndoPaste1MB)->Unit(benchmark::kMillisecond);

void BM_CtrlEnd(benchmark::State& state) {
  auto editor = Loaded(Text10MB(), true);
  for (auto _ : state) {
    editor->KeyDown(TEditorKey::Home, {false, true, false});
    editor->KeyDown(TEditorKey::End, {false, true, false});
  }
}
BENCHMARK(BM_CtrlEnd)->Unit(benchmark::kMicrosecond);

void BM_RewrapWidthChange(benchmark::State& state) {
  auto editor = Loaded(Text10MB(), true);
  int width = 80;
  for (auto _ : state) {
    width = width == 80 ? 60 : 80;
    editor->WrapOption().SetWrapByte(width);
  }
}
BENCHMARK(BM_RewrapWidthChange)->Unit(benchmark::kMillisecond);

void BM_UndoRedoManySteps(benchmark::State& state) {
  const int steps = static_cast<int>(state.range(0));
  auto editor = Loaded(Text10MB(), true);
  editor->SetUndoListMax(steps);
  editor->SetRowCol(editor->List().GetCount() / 2, 0);
  for (int i = 0; i < steps; ++i) {
    editor->KeyPress(static_cast<unsigned char>('a' + i % 26));
    if (i % 60 == 59) editor->KeyDown(TEditorKey::Return);
  }
  for (auto _ : state) {
    while (editor->CanUndo()) editor->Undo();
    while (editor->CanRedo()) editor->Redo();
  }
  state.SetItemsProcessed(state.iterations() * 2 * steps);
}
BENCHMARK(BM_UndoRedoManySteps)->Arg(10000)->Unit(benchmark::kMillisecond);

void Checks(bench::TVerdict& verdict) {
  for (const std::string* text : {&Text10MB(), &Line1MB()}) {
    auto editor = Loaded(*text, true);
    verdict.Check(editor->Lines().GetTextStr() == *text, "a loaded text comes back byte for byte");
    bool narrow = true;
    for (int r = 0; r < editor->List().GetCount(); ++r) narrow = narrow && editor->List().Get(r).size() <= 80;
    verdict.Check(narrow, "every wrapped row within 80 columns");
    editor->SetRowCol(editor->List().GetCount() / 2, 0);
    editor->KeyPress('x');
    const bool typed = editor->Lines().GetTextStr().size() == text->size() + 1;
    editor->Undo();
    verdict.Check(typed && editor->Lines().GetTextStr() == *text, "a typed character and its undo");
  }
}

}  // namespace
}  // namespace nuv

int main(int argc, char** argv) {
  nuv::bench::TVerdict verdict("bench_editor", argc, argv);
  if (verdict.Smoke()) nuv::g_shift = 14;
  nuv::Checks(verdict);
  const std::map<std::string, double> t = nuv::bench::RunBenchmarks(argc, argv, verdict.Smoke());
  auto judge = [&](const char* name, const char* figure, double limit, const char* target) {
    const auto it = t.find(name);
    if (it == t.end()) return;
    verdict.Target(figure, nuv::bench::Time(it->second), "-", "-", target, it->second <= limit);
  };
  judge("BM_Load/text10MB_wrap80", "load 10 MB, wrap at 80 (mean)", 0.5, "at most 0.5 s");
  judge("BM_Type/middle10MB_wrap80", "type a character in the middle (mean)", 50e-6, "at most 50 us");
  judge("BM_KeyInLongLine", "key in a 1 MB wrapped line (mean)", 20e-3, "at most 20 ms");
  judge("BM_UndoCharacter", "undo of one character (mean)", 100e-6, "at most 100 us");
  return verdict.Finish();
}
