// The word and token under the caret or a pixel: one logical line tokenized
// from its first row, and the token whose bytes cover the position.
#include <memory>

#include "editor/Editor.h"

namespace nuv {

TEditor::TPosToken TEditor::PosTokenString(int row, int col, TTokenQuery query) const {
  TPosToken token;
  const int rows = m_list->GetCount();
  if (row < 0 || row >= rows) return token;
  const int first = m_list->RowStart(row);
  std::string line = m_list->ListInfo(first, -1);
  if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) line.resize(line.size() - 2);
  const std::int64_t offset = GetSelIndex(first, row, col);
  if (offset >= static_cast<std::int64_t>(line.size())) return token;
  // Words use the plain tokenizer from a zero state; tokens the fountain's
  // parser from the line's stored state, a bracket begun on an earlier line
  // counting only for the bracket variants.
  std::unique_ptr<IEditorParser> parser;
  TRowAttributeData data = TRowAttributeData::Initial();
  if (query == TTokenQuery::Word || !m_fountain) {
    parser = std::make_unique<TNullParser>();
  } else {
    parser = m_fountain->CreateParser();
    data = m_list->RowState(first);
    if (query == TTokenQuery::Token) data.Bracket = kBracketNotComputed;
  }
  data.Row = raCrlf;
  parser->NewData(line, data);
  for (int kind = parser->NextToken(); kind != 0; kind = parser->NextToken()) {
    const std::int64_t start = parser->SourcePos(), length = parser->TokenLength();
    if (start > offset) break;
    if (offset < start + length) {
      token.Found = true;
      token.LineRow = first;
      token.Start = static_cast<int>(start);
      token.Length = static_cast<int>(length);
      token.Kind = kind;
      token.Text = line.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
      break;
    }
  }
  return token;
}

TEditor::TPosToken TEditor::PointToken(int x, int y, TTokenQuery query) const {
  int col = 0, row = 0;
  PosToRowCol(x, y, false, col, row);
  if (x < m_measurer->LeftMargin() || y < m_measurer->TopMargin()) return TPosToken();
  return PosTokenString(row, col, query);
}

bool TEditor::SelectPosToken(const TPosToken& token) {
  if (!token.Found) return false;
  SelectLocal(token.LineRow, token.Start, token.Length);
  return true;
}

}  // namespace nuv
