// The editor's option objects: caret behaviour, margins and speed. Each
// setter clamps to its range and notifies only on a real change.
#pragma once

#include "base/NotifyPersistent.h"

namespace nuv {

enum class TEditorCaretStyle { csDefault, csBrief };
enum class TEditorSelDragMode { dmAutomatic, dmManual };

// Shared setter: store and notify only when the value differs.
class TEditorOption : public TNotifyPersistent {
 protected:
  template <typename T>
  void Set(T& field, T value) {
    if (field == value) return;
    field = value;
    Changed();
  }
  static int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }
};

class TEditorCaret : public TEditorOption {
 public:
  bool AutoCursor() const { return m_autoCursor; }
  void SetAutoCursor(bool v) { Set(m_autoCursor, v); }
  bool AutoIndent() const { return m_autoIndent; }
  void SetAutoIndent(bool v) { Set(m_autoIndent, v); }
  bool BackSpaceUnIndent() const { return m_backSpaceUnIndent; }
  void SetBackSpaceUnIndent(bool v) { Set(m_backSpaceUnIndent, v); }
  bool FreeCaret() const { return m_freeCaret; }
  void SetFreeCaret(bool v) { Set(m_freeCaret, v); }
  bool FreeRow() const { return m_freeRow; }
  void SetFreeRow(bool v) { Set(m_freeRow, v); }
  bool InTab() const { return m_inTab; }
  void SetInTab(bool v) { Set(m_inTab, v); }
  bool KeepCaret() const { return m_keepCaret; }
  void SetKeepCaret(bool v) { Set(m_keepCaret, v); }
  bool LockScroll() const { return m_lockScroll; }
  void SetLockScroll(bool v) { Set(m_lockScroll, v); }
  bool NextLine() const { return m_nextLine; }
  void SetNextLine(bool v) { Set(m_nextLine, v); }
  bool PrevSpaceIndent() const { return m_prevSpaceIndent; }
  void SetPrevSpaceIndent(bool v) { Set(m_prevSpaceIndent, v); }
  bool RowSelect() const { return m_rowSelect; }
  void SetRowSelect(bool v) { Set(m_rowSelect, v); }
  TEditorSelDragMode SelDragMode() const { return m_selDragMode; }
  void SetSelDragMode(TEditorSelDragMode v) { Set(m_selDragMode, v); }
  bool SelMove() const { return m_selMove; }
  void SetSelMove(bool v) { Set(m_selMove, v); }
  bool SoftTab() const { return m_softTab; }
  void SetSoftTab(bool v) { Set(m_softTab, v); }
  TEditorCaretStyle Style() const { return m_style; }
  void SetStyle(TEditorCaretStyle v) { Set(m_style, v); }
  bool TabIndent() const { return m_tabIndent; }
  void SetTabIndent(bool v) { Set(m_tabIndent, v); }
  int TabSpaceCount() const { return m_tabSpaceCount; }
  // Clamped to 2..8 and lowered to an even number.
  void SetTabSpaceCount(int v) { Set(m_tabSpaceCount, Clamp(v, 2, 8) & ~1); }

  void Assign(const TEditorCaret& source);

 private:
  bool m_autoCursor = true;
  bool m_autoIndent = true;
  bool m_backSpaceUnIndent = true;
  bool m_freeCaret = true;
  bool m_freeRow = false;
  bool m_inTab = false;
  bool m_keepCaret = false;
  bool m_lockScroll = false;
  bool m_nextLine = false;
  bool m_prevSpaceIndent = false;
  bool m_rowSelect = true;
  TEditorSelDragMode m_selDragMode = TEditorSelDragMode::dmAutomatic;
  bool m_selMove = true;
  bool m_softTab = false;
  TEditorCaretStyle m_style = TEditorCaretStyle::csDefault;
  bool m_tabIndent = false;
  int m_tabSpaceCount = 8;
};

class TEditorMargin : public TEditorOption {
 public:
  int Character() const { return m_character; }
  void SetCharacter(int v) { Set(m_character, Clamp(v, 0, 100)); }
  int Left() const { return m_left; }
  void SetLeft(int v) { Set(m_left, Clamp(v, 0, 100)); }
  int Line() const { return m_line; }
  void SetLine(int v) { Set(m_line, Clamp(v, 0, 100)); }
  int Top() const { return m_top; }
  void SetTop(int v) { Set(m_top, Clamp(v, 0, 100)); }
  // Extra pixel under each row while the caret-row underline is shown.
  int Underline() const { return m_underline; }
  void SetUnderline(int v) { Set(m_underline, Clamp(v, 0, 1)); }

 private:
  int m_character = 0;
  int m_left = 19;
  int m_line = 0;
  int m_top = 2;
  int m_underline = 0;
};

class TEditorSpeed : public TEditorOption {
 public:
  int CaretVerticalAc() const { return m_caretVerticalAc; }
  void SetCaretVerticalAc(int v) { Set(m_caretVerticalAc, Clamp(v, 1, 4)); }
  int PageVerticalRange() const { return m_pageVerticalRange; }
  void SetPageVerticalRange(int v) { Set(m_pageVerticalRange, Clamp(v, 1, 4)); }
  int PageVerticalRangeAc() const { return m_pageVerticalRangeAc; }
  void SetPageVerticalRangeAc(int v) { Set(m_pageVerticalRangeAc, Clamp(v, 1, 4)); }
  bool InitBracketsFull() const { return m_initBracketsFull; }
  void SetInitBracketsFull(bool v) { Set(m_initBracketsFull, v); }

 private:
  int m_caretVerticalAc = 2;
  int m_pageVerticalRange = 2;
  int m_pageVerticalRangeAc = 2;
  bool m_initBracketsFull = false;
};

}  // namespace nuv
