// Conversions between the core's Shift JIS strings and Qt's text, at the edge.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace nuv {

QString ToQString(std::string_view sjis);
// nullopt when the text holds a character Shift JIS cannot hold.
std::optional<std::string> ToSjis(const QString& text);
// A Shift JIS text from a string that is known to be encodable (captions, file names shown).
std::string ToSjisOrEmpty(const QString& text);

// Native paths (UTF-8 bytes on Linux) to and from Qt.
QString PathToQString(const std::string& path);
std::string QStringToPath(const QString& path);

}  // namespace nuv
