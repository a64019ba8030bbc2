// Editor core benchmarks: loading large bodies with and without wrap, keys
// in the middle and at the end of a large text and in one very long wrapped
// line, undo and redo, Ctrl+End and re-wrapping.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchText.h"
#include "editor/Editor.h"

namespace nuv {
namespace {

const std::string& Text10MB() {
  static const std::string text = bench::MixedText(10u << 20, 52);
  return text;
}
const std::string& Japanese50MB() {
  static const std::string text = bench::MixedText(50u << 20, 80, true);
  return text;
}
const std::string& Line1MB() {
  static const std::string text = bench::LongLine(1u << 20);
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
  const std::string paste = bench::MixedText(1u << 20, 52);
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

}  // namespace
}  // namespace nuv

BENCHMARK_MAIN();
