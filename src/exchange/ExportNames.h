// File names made from page titles, and the extension rules of the export
// save dialogs.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace nuv {

// The longest file name (one path component) the file system takes, in bytes.
constexpr std::size_t kMaxFileNameBytes = 255;

// The title (Shift JIS) with every \ / : , ; * ? " < > | removed. Trail
// bytes that happen to equal one of them stay: they belong to their character.
std::string TitleForFileName(std::string_view title);

// The UTF-8 file name for a title: TitleForFileName, then `extension`
// (".prc", ".txt"), cut at a character boundary so the whole name fits
// kMaxFileNameBytes.
std::string FileNameFromTitle(std::string_view title, std::string_view extension);

// `name` with `extension` appended unless the name's extension already is
// that one; `ignoreCase` compares ASCII letters without case.
std::string WithExtension(const std::string& name, std::string_view extension, bool ignoreCase);

// The Shift JIS database name for a file written to `path`: its file name
// without folder and extension (characters Shift JIS cannot hold become "?").
std::string DatabaseNameFromPath(const std::string& path);

}  // namespace nuv
