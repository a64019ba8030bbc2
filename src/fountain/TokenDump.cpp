// Token dumps through a real editor document, so wrapping and the row
// states are the editor's own.
#include "fountain/TokenDump.h"

#include "editor/Editor.h"

namespace nuv {

std::vector<TTokenInfo> RowTokens(TFountainParser& parser, const TRowAttributeStringList& list, int row,
                                  const TRowAttributeData& state) {
  std::vector<TTokenInfo> tokens;
  const std::string& text = list.Get(row);
  const int rowLen = static_cast<int>(text.size());
  if (list.GetRows(row) == raWrapped && row + 1 < list.GetCount()) {
    parser.NewData(text + list.Get(row + 1), state);
  } else {
    parser.NewData(text, state);
  }
  while (parser.NextToken() != tokEof && parser.SourcePos() < rowLen) {
    tokens.push_back({parser.Token(), parser.SourcePos(), parser.TokenLength(), parser.IsReserveWord(),
                      parser.EffectiveKind()});
  }
  return tokens;
}

namespace {
const char* AttributeName(TRowAttribute a) {
  switch (a) {
    case raCrlf: return "c";
    case raWrapped: return "w";
    case raEof: return "e";
    default: return "?";
  }
}
// A kind kept in the row state; "-" for none.
std::string StateKind(const TFountainParser& parser, std::uint8_t kind) {
  return kind == tokEof ? "-" : parser.KindName(kind);
}
}  // namespace

std::unique_ptr<TEditor> NewTokenEditor(TFountain& fountain, std::string_view text, int wrap) {
  auto editor = std::make_unique<TEditor>();
  editor->List().SetInitBracketsFull(true);
  if (wrap > 0) {
    editor->WrapOption().SetWrapByte(wrap);
    editor->SetWordWrap(true);
  }
  editor->SetFountain(&fountain);
  editor->Lines().SetTextStr(text);
  return editor;
}

std::string DumpTokens(TFountain& fountain, std::string_view text, int wrap) {
  std::unique_ptr<TEditor> holder = NewTokenEditor(fountain, text, wrap);
  TEditor& editor = *holder;
  const TRowAttributeStringList& list = editor.List();
  std::unique_ptr<TFountainParser> parser = fountain.NewParser();
  std::string out;
  for (int row = 0; row < list.GetCount(); ++row) {
    const TRowAttributeData d = editor.GetListData(row);
    out += std::to_string(row) + ' ' + AttributeName(d.Row) + " [b" + std::to_string(d.Bracket) + " e" +
           std::to_string(d.Element) + " w" + std::to_string(d.WrappedByte) + " r" + std::to_string(d.Remain) +
           " t" + StateKind(*parser, d.Token) + " p" + StateKind(*parser, d.PrevToken);
    if (!d.DataStr.empty()) out += " \"" + d.DataStr + "\"";
    out += ']';
    for (const TTokenInfo& t : RowTokens(*parser, list, row, d)) {
      out += ' ' + parser->KindName(static_cast<std::uint8_t>(t.Kind)) + (t.Reserved ? "*" : "") + '@' +
             std::to_string(t.Pos) + '+' +
             std::to_string(t.Len);
    }
    out += '\n';
  }
  editor.SetFountain(nullptr);
  return out;
}

}  // namespace nuv
