// Shift JIS and path conversions for the Qt layer.
#include "app/QtText.h"

#include "base/Codec.h"

namespace nuv {

QString ToQString(std::string_view sjis) {
  const std::u16string wide = DecodeCp932(sjis);
  return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

std::optional<std::string> ToSjis(const QString& text) {
  return EncodeCp932(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                         static_cast<std::size_t>(text.size())));
}

std::string ToSjisOrEmpty(const QString& text) { return ToSjis(text).value_or(std::string()); }

QString PathToQString(const std::string& path) { return QString::fromStdString(path); }

std::string QStringToPath(const QString& path) { return path.toStdString(); }

}  // namespace nuv
