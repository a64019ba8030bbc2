// The editor widget: paints the rows of its editor core on the column grid
// (colours of the fountain, marks, selection, line numbers, ruler, caret),
// scrolls, and feeds keys, the input method and the mouse to the core.
#pragma once

#include <QAbstractScrollArea>
#include <QTimer>
#include <memory>

#include "editor/EditorEx.h"
#include "editor/EditorViewOptions.h"
#include "editor/view/GridText.h"
#include "fountain/EditModes.h"
#include "fountain/EditorFountain.h"

class QImage;

namespace nuv {

class TRowPainter;

class TEditorView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit TEditorView(QWidget* parent = nullptr);
  ~TEditorView() override;

  TEditorEx& Editor();
  const TEditorEx& Editor() const;
  TEditorViewOptions& View() { return m_view; }
  // The editor's own configurable fountain, used when no language fountain is set.
  TEditorFountain& ViewFountain() { return m_viewFountain; }
  // The language fountains the widget owns, so none outlives the editor's use of it.
  TFountainSet& Fountains() { return m_fountains; }
  // A language fountain (one of Fountains()), or null for the view fountain.
  void SetFountain(TFountain* fountain);
  TFountain* ActiveFountain() const { return m_active; }
  void SetScrollLine(int rows) { m_scrollLine = std::max(1, rows); }

  const TEditorGeometry& Geometry() const { return m_geometry; }
  // Text column and row under a point of the widget's text area.
  QPoint ColumnRowAt(const QPoint& at) const;
  // The rectangle of the caret, in the text area's coordinates.
  QRect CaretRect() const;
  QString PreeditText() const { return m_preedit; }

  // Paints `rect` of the text area (for the widget, tests and benchmarks).
  void PaintTo(QPainter& painter, const QRect& rect);
  // Re-reads rows, geometry and scroll range and repaints everything.
  void Refresh();

  // Text that arrives from outside (typing, the input method, a paste) as
  // Shift JIS; false, with InputRefused, when a character has no code.
  bool Encode(const QString& text, std::string& sjis, bool pasted);

 signals:
  void TextChanged();
  void CaretMoved();
  void SelectionChanged();
  void OverwriteToggled(bool overwrite);
  // The focus went to another control (not to a menu or popup).
  void FocusLost();
  void CtrlTabPressed();
  // `codePoint` is the first character Shift JIS cannot hold.
  void InputRefused(char32_t codePoint, bool pasted);
  void PopupRequested(const QPoint& globalPos);
  void Resized();

 protected:
  bool event(QEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

  // Keys the page editor handles before the core (Tab on a selection).
  virtual bool PageKey(QKeyEvent*) { return false; }
  // Keys that the window's shortcuts take even while the editor has the focus.
  virtual bool WindowKey(const QKeyEvent*) const { return false; }

 private:
  class TViewEditor;
  class TMeasurer;
  struct TColors;
  struct TRowInput;
  struct TRowCache;

  void ViewChanged();
  void ApplyFont();
  void UpdateGeometry();
  void UpdateScrollBars();
  // Repaints after the view moved from (oldTop, oldCol).
  void ScrolledFrom(int oldTop, int oldCol);
  void OnEditorChange();
  void OnCaretMoved();
  void RepaintRows(int first, int last);
  void RestartBlink();
  bool IsEditorKey(const QKeyEvent* event) const;
  void TypeText(const QString& text);
  std::int64_t LargestNumber() const;
  int RowY(int row) const;
  QColor ToQColor(TViewColor color, const QColor& fallback) const;

  // Everything of the document that a row's pixels depend on.
  void ReadRow(int row, int rows, TRowInput& in);
  TColors Colors();
  // Drops the row cache when the style its rows were painted in changed.
  void UseRowStyle(const TColors& c, qreal ratio);
  // A row's image from the row cache, painted into the cache first when its
  // input or the style changed; null for an empty text area.
  const QImage* CachedRow(const TColors& c, int row, int rows);
  // Paints the rows next to the view into the row cache while idle.
  void PaintAhead();
  void PaintRow(QPainter& p, const TColors& c, const TRowInput& in, int y, TRowPainter& rp);
  void ForgetRows();
  void PaintLeftbar(QPainter& p, const TColors& c, int firstRow, int lastRow);
  void PaintRuler(QPainter& p, const TColors& c);
  // The images of a row's lowest digit mark and lowest picture mark.
  void PaintRowMarks(QPainter& p, int row);
  void PaintCaret(QPainter& p, const TColors& c);
  void PaintPreedit(QPainter& p, const TColors& c);

  TEditorViewOptions m_view;
  TEditorFountain m_viewFountain;
  TFountainSet m_fountains;
  TFountain* m_active = nullptr;
  // Declared after the fountains, so the editor goes first.
  std::unique_ptr<TViewEditor> m_editor;
  std::unique_ptr<TMeasurer> m_measurer;
  TGridText m_text;
  TEditorGeometry m_geometry;
  int m_screenHeight = 1080;
  int m_scrollLine = 3;
  int m_lastCaretRow = 0;
  int m_lastCaretCol = 0;
  bool m_caretOn = true;
  bool m_mouseSelecting = false;
  bool m_syncingBars = false;
  QTimer m_blink;
  QTimer m_paintAhead;
  QString m_preedit;
  int m_preeditCursor = 0;
  // Painted rows by row number, with what they were painted from.
  std::unique_ptr<TRowCache> m_rowCache;
};

}  // namespace nuv
