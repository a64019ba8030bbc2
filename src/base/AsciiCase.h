// ASCII-only case folding for names that are ASCII by definition (ini keys,
// file extensions); Shift JIS bytes above 0x7F are never touched.
#pragma once

#include <string>
#include <string_view>

namespace nuv {

constexpr char AsciiLower(char ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch; }

inline std::string AsciiLower(std::string_view s) {
  std::string out(s);
  for (char& ch : out) ch = AsciiLower(ch);
  return out;
}

constexpr bool AsciiEqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

}  // namespace nuv
