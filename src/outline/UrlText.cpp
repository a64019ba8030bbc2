// Percent-encoding and file URLs.
#include "outline/UrlText.h"

#include "base/Codec.h"
#include "base/TextEncoding.h"

namespace nuv {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsUnreserved(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~';
}

}  // namespace

std::string PercentEncode(std::string_view bytes, std::string_view keep) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    if (IsUnreserved(c) || keep.find(c) != std::string_view::npos) {
      out.push_back(c);
    } else {
      const auto b = static_cast<unsigned char>(c);
      out.push_back('%');
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 0x0F]);
    }
  }
  return out;
}

std::string PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

std::optional<std::string> FileUrlPath(std::string_view afterScheme) {
  if (afterScheme.substr(0, 10) == "localhost/") afterScheme.remove_prefix(9);
  std::string path = PercentDecode(afterScheme);
  if (path.empty() || path.find('\0') != std::string::npos) return std::nullopt;
  if (!IsValidUtf8(path)) path = Cp932ToUtf8(path);
  return path;
}

}  // namespace nuv
