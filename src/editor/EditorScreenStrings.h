// The document of an editor: the screen rows of one text with their
// attributes, the one replacement primitive every edit goes through, undo,
// wrapping, loading and saving, and the per-row tokenizer state.
//
// An edit (UpdateList) is a replacement in the text stream: the rows it
// names stand for their text including their line breaks. Only the rows
// whose wrap can change are rebuilt: the look-back takes the rows of the same
// logical line whose row-break window reaches the change, and re-wrapping
// stops at the first new row that starts where an old row of the unchanged
// tail started (from there the rows are the same). The result therefore
// always equals a full wrap of the new text, and the cost is that of the
// change, not of the document. Undo records store the replaced rows' text and
// marks; putting them back goes through the same replacement.
//
// Tokenizer states: rows at or past m_stateFrontier count as not computed
// whatever their stored words say, so invalidating every row below a change
// costs O(1).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/ColumnAttributes.h"
#include "editor/EditorClient.h"
#include "editor/EditorParser.h"
#include "editor/EditorUndoObj.h"
#include "editor/EditorWrapOption.h"
#include "editor/RowAttributeStringList.h"

namespace nuv {

class TLineWrapper;

class TEditorScreenStrings : public TEditorStringList {
 public:
  TEditorScreenStrings();
  ~TEditorScreenStrings() override;

  // Clients: the editors that show this document.
  void Reference(IEditorClient* client);
  // Removes the client; true when none is left (the owner then frees the document).
  bool Release(IEditorClient* client);
  int ClientCount() const { return static_cast<int>(m_clients.size()); }
  IEditorClient* Client() const { return m_clients.empty() ? nullptr : m_clients.front(); }
  // The first focused client, else the first client.
  IEditorClient* GetActiveClient() const;
  void ClientsAdjustRow();
  void ClientsCleanSelection();
  void ClientsInitCol();
  void ClientsInitView();

  // Row-level queries; every index is clamped or yields the empty answer.
  int RowStart(int index) const;
  int RowEnd(int index) const;
  // Rows index..index+count-1 (count -1: to the end of the logical line)
  // joined, CR LF after each raCrlf row.
  void ListInfo(int index, int count, std::string& s, int& rowCount, TRowAttribute& attribute) const;
  std::string ListInfo(int index, int count) const;
  void CheckCrlf(int index, std::string& s) const;
  // Every row joined, CR LF after each raCrlf row.
  std::string ListToStr() const;
  // Length of ListToStr without building it.
  std::int64_t TextLength() const;

  // The editing primitive: replaces rows index..index+count-1 (their text and
  // line breaks) by `s` and records one undo step. Nothing happens for a bad
  // range or when count is 0 and s is empty.
  void UpdateList(int index, int count, std::string_view s);
  // Replaces `count` rows at `index` by the rows of `list`, keeping marks
  // with their lines.
  void ChangeList(int index, int count, const TRowAttributeStringList& list);
  void InsertList(int index, const TRowAttributeStringList& list);
  // Deletes rows; returns the union of their marks. A bad range is clamped.
  TRowMarks DeleteList(int index, int count);

  // Loading and saving. Setting the text records no undo step.
  void SetTextStr(std::string_view text);
  // Reads the whole file; bytes after a Ctrl-Z (26) are ignored. False (and
  // an empty document) when it cannot be read.
  bool LoadFromFile(const std::string& fileName);
  bool SaveToFile(const std::string& fileName) const;
  void Clear() override;

  // Wrapping.
  bool WordWrap() const { return m_wordWrap; }
  void SetWordWrap(bool wordWrap);
  TEditorWrapOption& WrapOption() { return *m_wrapOption; }
  const TEditorWrapOption& WrapOption() const { return *m_wrapOption; }
  // The tab width rows are wrapped with (the caret option of the editors).
  int TabSpaceCount() const { return m_rules.TabSpaceCount; }
  void SetTabSpaceCount(int count);
  TColumnRules Rules() const;
  void StrToWrapList(std::string_view s, TEditorStringList& list);
  int WrapCount(std::string_view s);
  void WrapLines();
  void StretchLines();

  // Undo.
  TEditorUndoObj& UndoObj() { return *m_undoObj; }
  void Undo() { m_undoObj->Undo(); }
  void Redo() { m_undoObj->Redo(); }
  // Puts a record's text back over its rows (used by undo and redo) and
  // describes in `inverse` what it replaced.
  void ApplyUndoData(const TUndoData& data, TUndoData& inverse, bool redo);

  // Marks.
  // The marks set on some row (kept exact by counting every mark change).
  TRowMarks ValidRowMarks() const;

  // Tokenizer state.
  void InitBrackets();
  // Re-tokenizes from `index` until a row's stored state is unchanged (at
  // most two screen heights ahead); returns the rows whose state changed.
  int UpdateBrackets(int index, bool invalidate);
  bool StateComputed(int row) const;
  // The row's state, or the not-computed state for rows not reached yet.
  TRowAttributeData RowState(int row) const;
  bool InitBracketsFull() const { return m_initBracketsFull; }
  void SetInitBracketsFull(bool v) { m_initBracketsFull = v; }

  const TDrawInfo& DrawInfo() const { return m_drawInfo; }

 protected:
  void SetUpdateState(bool updating) override;
  void Item2Changed(std::uint32_t oldValue, std::uint32_t newValue) override;

 private:
  struct TSplice;
  // The replacement behind UpdateList and undo; fills `record`.
  void Replace(int index, int count, std::string_view s, TUndoData& record);
  // Builds the new rows of a replacement into m_scratch.
  void BuildRows(TSplice& sp, std::string_view s);
  // Puts `list` over `oldCount` rows at `first`; notes in `record` where the
  // marks of deleted rows went.
  void SpliceRows(int first, int oldCount, const TRowAttributeStringList& list, TUndoData* record);
  void AddMarksToRow(int row, TRowMarks marks);
  void AppendRows(std::string_view text);
  void AfterWholeChange();
  TLineWrapper& Wrapper();
  std::unique_ptr<IEditorParser> CreateParser() const;
  int BracketLookAhead() const;

  std::vector<IEditorClient*> m_clients;
  TDrawInfo m_drawInfo;
  std::array<int, 16> m_markCounts{};
  std::unique_ptr<TEditorUndoObj> m_undoObj;
  bool m_wordWrap = false;
  std::unique_ptr<TEditorWrapOption> m_wrapOption;
  TColumnRules m_rules;
  std::unique_ptr<TLineWrapper> m_wrapper;
  int m_stateFrontier = 0;
  bool m_initBracketsFull = false;
  bool m_notifySuspended = false;
  TEditorStringList m_scratch;
};

}  // namespace nuv
