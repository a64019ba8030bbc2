// TfmTool, the dialog that edits one external tool: its menu title, program,
// options and the extension of its temporary file.
#pragma once

#include <QDialog>
#include <optional>

#include "config/NuvConfig.h"

class QLineEdit;
class QPushButton;

namespace nuv {

class TfmTool : public QDialog {
  Q_OBJECT
 public:
  explicit TfmTool(QWidget* parent = nullptr);

  void SetTool(const TnuvTool& tool);
  // The fields as Shift JIS; valid after OK.
  const TnuvTool& Tool() const { return m_tool; }
  // Shows the dialog on `tool`; the edited tool after OK, nothing after Cancel.
  static std::optional<TnuvTool> Edit(QWidget* parent, const TnuvTool& tool);

  // OK: an empty extension becomes ".txt", a missing "." is added; a field
  // Shift JIS cannot hold, or an extension that could leave the temporary
  // folder, is refused with a message and the dialog stays.
  void accept() override;

  QLineEdit* edTitle;
  QLineEdit* edFile;
  QLineEdit* edOption;
  QLineEdit* edExt;
  QPushButton* btFile;

 private:
  void btFileClick();
  TnuvTool m_tool;
};

}  // namespace nuv
