// A scroll bar that skips the repaint of a value change that moves nothing.
#include "editor/view/EditorScrollBar.h"

#include <QStyle>
#include <QStyleOptionSlider>

namespace nuv {

TEditorScrollBar::TEditorScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {}

TEditorScrollBar::TLook TEditorScrollBar::CurrentLook() const {
  QStyleOptionSlider option;
  initStyleOption(&option);
  TLook look;
  look.Handle = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
  look.AtMinimum = option.sliderPosition <= option.minimum;
  look.AtMaximum = option.sliderPosition >= option.maximum;
  return look;
}

void TEditorScrollBar::sliderChange(SliderChange change) {
  // The value, its signals and the accessibility notice are already out;
  // only the repaint is skipped. Styles whose bars appear on scrolling
  // (transient bars) always get the change.
  if (change == SliderValueChange && m_hasPainted && !style()->styleHint(QStyle::SH_ScrollBar_Transient, nullptr, this) &&
      CurrentLook() == m_painted)
    return;
  QScrollBar::sliderChange(change);
}

void TEditorScrollBar::paintEvent(QPaintEvent* event) {
  QScrollBar::paintEvent(event);
  m_painted = CurrentLook();
  m_hasPainted = true;
}

}  // namespace nuv
