// Wide-character stepping and the small text helpers of the pattern scanner.
#include "regex/WChar.h"

#include <cstring>

#include "base/Sjis.h"

namespace nuv {

TWChar GetWChar(std::string_view text, std::size_t& index) {
  if (index >= text.size()) return 0;
  const std::size_t len = CharLength(text, index);
  const auto lead = static_cast<unsigned char>(text[index]);
  if (len == 1) {
    ++index;
    return lead;
  }
  const auto trail = static_cast<unsigned char>(text[index + 1]);
  index += 2;
  return static_cast<TWChar>(lead << 8 | trail);
}

void UnGetWChar(std::string_view text, std::size_t& index) {
  if (index == 0) return;
  index = CharStart(text, index - 1);
}

TWChar PCharGetWChar(const char*& p) {
  const auto lead = static_cast<unsigned char>(p[0]);
  if (lead == 0) return 0;
  const auto trail = static_cast<unsigned char>(p[1]);
  if (IsLeadByte(lead) && IsTrailByte(trail)) {
    p += 2;
    return static_cast<TWChar>(lead << 8 | trail);
  }
  ++p;
  return lead;
}

std::string WCharToStr(TWChar code) {
  if (code < 0x100) return std::string(1, static_cast<char>(code));
  return std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

int HexWCharToInt(TWChar code) {
  if (code >= '0' && code <= '9') return code - '0';
  if (code >= 'a' && code <= 'f') return code - 'a' + 10;
  if (code >= 'A' && code <= 'F') return code - 'A' + 10;
  return -1;
}

int OctWCharToInt(TWChar code) {
  if (code >= '0' && code <= '7') return code - '0';
  return -1;
}

std::string QuoteMetaWChar(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    const TWChar c = GetWChar(text, i);
    if (c < 0x100 && c != 0 && METACHARS.find(static_cast<char>(c)) != std::string_view::npos) out += '\\';
    out.append(text.substr(start, i - start));
  }
  return out;
}

std::string WCharGetToken(std::string_view text, std::size_t& index, TWChar separator) {
  std::string out;
  while (index < text.size()) {
    const std::size_t start = index;
    const TWChar c = GetWChar(text, index);
    if (c == separator) break;
    out.append(text.substr(start, index - start));
  }
  return out;
}

bool IsCharBoundaryFrom(std::string_view text, std::size_t from, std::size_t index) {
  std::size_t runStart = index;
  while (runStart > from && IsLeadByte(static_cast<unsigned char>(text[runStart - 1]))) --runStart;
  if ((index - runStart) % 2 == 0) return true;
  // The byte before `index` is a lead byte at a boundary: it pairs with
  // `index` unless that byte cannot be a trail byte.
  return index >= text.size() || !IsTrailByte(static_cast<unsigned char>(text[index]));
}

// The first occurrence of `needle` in `text` that starts at a character
// boundary at or after `from` (itself a boundary), or npos.
std::size_t FindAtCharBoundary(std::string_view text, std::string_view needle, std::size_t from) {
  std::size_t pos = from;
  while (pos + needle.size() <= text.size()) {
    // memchr for the first byte outruns memmem on lines of a few hundred bytes.
    const void* hit = std::memchr(text.data() + pos, needle[0], text.size() - needle.size() + 1 - pos);
    if (!hit) break;
    const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
    if (std::memcmp(text.data() + at + 1, needle.data() + 1, needle.size() - 1) != 0) {
      pos = at + 1;
      continue;
    }
    if (IsCharBoundaryFrom(text, from, at)) return at;
    from = pos = at + 1;  // `at` was a trail byte, so the byte after it starts a character
  }
  return std::string_view::npos;
}

}  // namespace nuv
