// TfmPreOpen: what to do when the chosen document is already open elsewhere.
#pragma once

#include <QDialog>

class QButtonGroup;

namespace nuv {

enum class TPreOpenChoice { NewFile = 0, Activate = 1, OpenAnyway = 2, Cancel = 3 };

class TfmPreOpen : public QDialog {
 public:
  explicit TfmPreOpen(QWidget* parent);
  TPreOpenChoice Choice() const;

  // Shows the dialog centred on `main`. The environment variable
  // NUV_PREOPEN_ANSWER (0 to 3) answers it without showing, for tests that
  // drive whole processes.
  static TPreOpenChoice Ask(QWidget* main);

 private:
  QButtonGroup* m_options;
};

}  // namespace nuv
