// Pixels the editor core needs from its view: the column and row grid, the
// margins and how many rows fit. The widget measures its font; tests and the
// headless editor use fixed numbers.
#pragma once

namespace nuv {

class IEditorMeasurer {
 public:
  virtual ~IEditorMeasurer() = default;
  virtual int ColumnWidth() const = 0;   // pixels per column (CW)
  virtual int RowHeight() const = 0;     // pixels per row (RH)
  virtual int LeftMargin() const = 0;    // x of column 0 (LM)
  virtual int TopMargin() const = 0;     // y of the first visible row (TM)
  virtual int VisibleRows() const = 0;   // rows that fit in the window, at least 1
  virtual int VisibleColumns() const = 0;
  virtual int ScreenHeight() const = 0;  // pixels of the whole display
};

class TFixedMeasurer : public IEditorMeasurer {
 public:
  int ColumnWidth() const override { return columnWidth; }
  int RowHeight() const override { return rowHeight; }
  int LeftMargin() const override { return leftMargin; }
  int TopMargin() const override { return topMargin; }
  int VisibleRows() const override { return visibleRows < 1 ? 1 : visibleRows; }
  int VisibleColumns() const override { return visibleColumns < 1 ? 1 : visibleColumns; }
  int ScreenHeight() const override { return screenHeight; }

  int columnWidth = 8;
  int rowHeight = 16;
  int leftMargin = 19;
  int topMargin = 2;
  int visibleRows = 30;
  int visibleColumns = 100;
  int screenHeight = 1080;
};

}  // namespace nuv
