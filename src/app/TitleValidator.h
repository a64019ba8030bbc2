// Accepts in the title box only what Shift JIS can hold, at most 250 bytes.
#pragma once

#include <QValidator>

namespace nuv {

class TTitleValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};

}  // namespace nuv
