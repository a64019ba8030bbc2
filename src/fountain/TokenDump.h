// Rows as the painter sees them, as tokens: shared by nuvtool, the tests and
// the benchmarks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <memory>

#include "editor/Editor.h"
#include "fountain/FountainParser.h"

namespace nuv {

struct TTokenInfo {
  int Kind = 0;
  int Pos = 0;
  int Len = 0;
  bool Reserved = false;
  int Effective = 0;  // TFountainParser::EffectiveKind
  bool operator==(const TTokenInfo&) const = default;
};

// The tokens of row `row` from the start state `state`, with the next row
// appended when the row is wrapped, up to the first token that starts after
// the row.
std::vector<TTokenInfo> RowTokens(TFountainParser& parser, const TRowAttributeStringList& list, int row,
                                  const TRowAttributeData& state);

// An editor showing `text` through `fountain`, wrapped at `wrap` columns (0:
// no wrap), with every row's state computed. Set its fountain to null before
// the fountain goes away.
std::unique_ptr<TEditor> NewTokenEditor(TFountain& fountain, std::string_view text, int wrap);

// One line per row: index, attribute, stored start state and the tokens as
// Kind@pos+len with the kind's name ("*" after the kind of a reserved word).
// `wrap` 0 leaves word wrap off.
std::string DumpTokens(TFountain& fountain, std::string_view text, int wrap);

}  // namespace nuv
