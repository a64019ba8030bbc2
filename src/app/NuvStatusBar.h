// The status bar: four panels (modified, insert/overwrite, caret position,
// spare) and a single-text mode for messages.
#pragma once

#include <QLabel>
#include <QStackedWidget>
#include <QStatusBar>

namespace nuv {

class TNuvStatusBar : public QStatusBar {
  Q_OBJECT
 public:
  explicit TNuvStatusBar(QWidget* parent = nullptr);
  void SetPanel(int index, const QString& text);
  QString Panel(int index) const;
  // Switches to the single text panel until LeaveMessageMode.
  void ShowMessage(const QString& text);
  void LeaveMessageMode();
  bool InMessageMode() const;
  QString Message() const;

 private:
  QStackedWidget* m_stack;
  QLabel* m_panels[4];
  QLabel* m_message;
};

}  // namespace nuv
