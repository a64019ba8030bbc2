// The message boxes of the main window.
#pragma once

#include <QPointer>
#include <QWidget>

#include "base/Prompts.h"

namespace nuv {

class TQtPrompts : public IPrompts {
 public:
  explicit TQtPrompts(QWidget* parent) : m_parent(parent) {}
  void Error(const std::string& sjisText) override;
  void ErrorWithReason(const std::string& sjisText, const std::string& reason) override;
  void Info(const std::string& sjisText) override;
  bool Question(const std::string& sjisText, bool defaultNo = false) override;
  TAnswer QuestionCancel(const std::string& sjisText) override;

 private:
  QPointer<QWidget> m_parent;
};

}  // namespace nuv
