// The status bar.
#include "app/NuvStatusBar.h"

#include <QHBoxLayout>

namespace nuv {

TNuvStatusBar::TNuvStatusBar(QWidget* parent) : QStatusBar(parent) {
  setObjectName("StatusBar");
  setSizeGripEnabled(true);
  m_stack = new QStackedWidget(this);
  auto* panels = new QWidget(m_stack);
  auto* layout = new QHBoxLayout(panels);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  const int widths[4] = {40, 40, 80, 50};
  for (int i = 0; i < 4; ++i) {
    m_panels[i] = new QLabel(panels);
    m_panels[i]->setFrameShape(QFrame::StyledPanel);
    m_panels[i]->setMinimumWidth(widths[i]);
    if (i < 2) m_panels[i]->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_panels[i]);
  }
  layout->addStretch(1);
  m_message = new QLabel(m_stack);
  m_stack->addWidget(panels);
  m_stack->addWidget(m_message);
  addWidget(m_stack, 1);
}

void TNuvStatusBar::SetPanel(int index, const QString& text) {
  if (index >= 0 && index < 4) m_panels[index]->setText(text);
}

QString TNuvStatusBar::Panel(int index) const { return index >= 0 && index < 4 ? m_panels[index]->text() : QString(); }

void TNuvStatusBar::ShowMessage(const QString& text) {
  m_message->setText(text);
  m_stack->setCurrentIndex(1);
}

void TNuvStatusBar::LeaveMessageMode() { m_stack->setCurrentIndex(0); }

bool TNuvStatusBar::InMessageMode() const { return m_stack->currentIndex() == 1; }

QString TNuvStatusBar::Message() const { return m_message->text(); }

}  // namespace nuv
