// File names from titles and the extension rules of the export dialogs.
#include "exchange/ExportNames.h"

#include <filesystem>

#include "base/Codec.h"
#include "base/Sjis.h"
#include "outline/TextFormat.h"

namespace nuv {

namespace {

constexpr std::string_view kForbidden = "\\/:,;*?\"<>|";

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameText(std::string_view a, std::string_view b, bool ignoreCase) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (ignoreCase ? AsciiLower(a[i]) != AsciiLower(b[i]) : a[i] != b[i]) return false;
  return true;
}

// The extension of the last path component, with its dot; empty when none.
std::string_view ExtensionOf(std::string_view name) {
  const std::size_t slash = name.rfind('/');
  const std::size_t base = slash == std::string_view::npos ? 0 : slash + 1;
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot < base) return {};
  return name.substr(dot);
}

}  // namespace

std::string TitleForFileName(std::string_view title) {
  std::string out;
  out.reserve(title.size());
  for (std::size_t i = 0; i < title.size();) {
    const std::size_t len = CharLength(title, i);
    if (len == 1 && kForbidden.find(title[i]) != std::string_view::npos) {
      ++i;
      continue;
    }
    out.append(title.substr(i, len));
    i += len;
  }
  return out;
}

std::string FileNameFromTitle(std::string_view title, std::string_view extension) {
  std::string stem = Cp932ToUtf8(TitleForFileName(title));
  const std::size_t room = kMaxFileNameBytes > extension.size() ? kMaxFileNameBytes - extension.size() : 0;
  if (stem.size() > room) {
    std::size_t cut = room;
    // Step back over UTF-8 continuation bytes to the start of a character.
    while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;
    stem.resize(cut);
  }
  return stem + std::string(extension);
}

std::string WithExtension(const std::string& name, std::string_view extension, bool ignoreCase) {
  if (SameText(ExtensionOf(name), extension, ignoreCase)) return name;
  return name + std::string(extension);
}

std::string DatabaseNameFromPath(const std::string& path) {
  return FileNameTitle(std::filesystem::path(path).stem().string());
}

}  // namespace nuv
