// Fuzzes every fountain on random bytes (lone lead bytes, trail bytes 0x5C,
// NULs and all): the first byte picks the fountain and the wrap width. Each
// row's tokens must tile it and advance, every byte outside the tokens must
// be a blank (a tab is a token), and the states stored in the row attributes
// must equal the states kept in memory.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "editor/Editor.h"
#include "fountain/EditModes.h"
#include "fountain/TokenDump.h"

namespace {

using namespace nuv;

struct TAll {
  TFountainSet set;
  TEditorFountain view;
  TFountain* fountains[10];
  TAll() {
    view.InitPageEditorDefaults();
    view.SetControlCode(true);
    view.SetReserveWordList(TSortedWordList{"if", "end"});
    TFountain* list[10] = {&view, &set.AWK, &set.Cpp, &set.Delphi, &set.HTML, &set.COBOL, &set.Perl, &set.Ruby,
                           &set.Java, &view};
    for (int i = 0; i < 10; ++i) fountains[i] = list[i];
  }
};

void Check(bool ok) {
  if (!ok) std::abort();
}

// Bytes from..to of `text` are blanks: spaces, control bytes except the tab, NULs.
void CheckBlanks(const std::string& text, int from, int to) {
  for (int i = from; i < to; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
    Check(c <= 32 && c != 9);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TAll all;
  if (size < 1 || size > 4096) return 0;
  TFountain& fountain = *all.fountains[data[0] % 10];
  const int wrap = (data[0] / 10) % 3 == 0 ? 0 : 20 + data[0] % 40;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

  std::unique_ptr<TEditor> holder = NewTokenEditor(fountain, text, wrap);
  TEditor& editor = *holder;
  const TRowAttributeStringList& list = editor.List();
  std::unique_ptr<TFountainParser> parser = fountain.NewParser();
  std::unique_ptr<TFountainParser> chain = fountain.NewParser();
  TRowAttributeData memory;
  for (int r = 0; r < list.GetCount(); ++r) {
    memory.Row = list.GetRows(r);
    const TRowAttributeData stored = editor.GetListData(r);
    Check(stored.SameState(memory));
    const std::vector<TTokenInfo> tokens = RowTokens(*parser, list, r, stored);
    std::string scanned = list.Get(r);
    const int rowLen = static_cast<int>(scanned.size());
    if (list.GetRows(r) == raWrapped && r + 1 < list.GetCount()) scanned += list.Get(r + 1);
    int covered = 0;
    for (const TTokenInfo& t : tokens) {
      Check(t.Len > 0 && t.Pos >= covered && static_cast<std::size_t>(t.Pos + t.Len) <= scanned.size());
      CheckBlanks(scanned, covered, t.Pos);
      covered = t.Pos + t.Len;
    }
    CheckBlanks(scanned, covered, rowLen);
    chain->LastTokenBracket(r, list, memory);
    memory.PrevRow = list.GetRows(r);
  }
  editor.SetFountain(nullptr);
  return 0;
}
