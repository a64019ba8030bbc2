// The title box validator.
#include "app/TitleValidator.h"

#include "app/QtText.h"
#include "base/Title.h"

namespace nuv {

QValidator::State TTitleValidator::validate(QString& input, int&) const {
  const auto sjis = ToSjis(input);
  if (!sjis || sjis->size() > kMaxTitleBytes) return Invalid;
  return Acceptable;
}

}  // namespace nuv
