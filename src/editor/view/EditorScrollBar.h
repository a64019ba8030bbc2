// The editor's scroll bar: repaints only when what it shows changes, so a
// scroll by one row of a long page (the handle moves by less than a pixel)
// costs no repaint of the bar.
#pragma once

#include <QRect>
#include <QScrollBar>

namespace nuv {

class TEditorScrollBar : public QScrollBar {
  Q_OBJECT
 public:
  explicit TEditorScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

 protected:
  void sliderChange(SliderChange change) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // What a value change can alter in the bar's pixels: the handle, and the
  // arrows' look at either end of the range.
  struct TLook {
    QRect Handle;
    bool AtMinimum = false;
    bool AtMaximum = false;
    bool operator==(const TLook&) const = default;
  };
  TLook CurrentLook() const;

  TLook m_painted;
  bool m_hasPainted = false;
};

}  // namespace nuv
