// Number and string conversions of the macro language. Number texts are
// produced with std::to_chars and read with std::from_chars, so the C locale
// (which a window toolkit may change) never alters a decimal point.
#include "macro/PPConvert.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "base/Sjis.h"

namespace nuv {

namespace {

// Lower to upper: full-width a-z (82 81-82 9A), Greek (83 BF-83 D6) and
// Cyrillic (84 70-84 91, without the invalid trail 7F).
unsigned UpperDbcs(unsigned code) {
  if (code >= 0x8281 && code <= 0x829A) return code - 0x21;
  if (code >= 0x83BF && code <= 0x83D6) return code - 0x20;
  if (code >= 0x8470 && code <= 0x847E) return code - 0x30;
  if (code >= 0x8480 && code <= 0x8491) return code - 0x31;
  return code;
}

unsigned LowerDbcs(unsigned code) {
  if (code >= 0x8260 && code <= 0x8279) return code + 0x21;
  if (code >= 0x839F && code <= 0x83B6) return code + 0x20;
  if (code >= 0x8440 && code <= 0x844E) return code + 0x30;
  if (code >= 0x844F && code <= 0x8460) return code + 0x31;
  return code;
}

template <class AsciiMap, class DbcsMap>
std::string MapCase(std::string_view s, AsciiMap ascii, DbcsMap dbcs) {
  std::string out(s);
  for (std::size_t i = 0; i < out.size();) {
    const std::size_t n = CharLength(out, i);
    if (n == 1) {
      out[i] = ascii(out[i]);
    } else {
      const unsigned code = dbcs((static_cast<unsigned char>(out[i]) << 8) | static_cast<unsigned char>(out[i + 1]));
      out[i] = static_cast<char>(code >> 8);
      out[i + 1] = static_cast<char>(code & 0xFF);
    }
    i += n;
  }
  return out;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string PPUpperCase(std::string_view s) {
  return MapCase(s, [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }, UpperDbcs);
}

std::string PPLowerCase(std::string_view s) {
  return MapCase(s, [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }, LowerDbcs);
}

std::string_view PPTrimLeft(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return s.substr(i);
}

std::string_view PPTrimRight(std::string_view s) {
  std::size_t n = s.size();
  while (n > 0 && IsBlank(s[n - 1])) --n;
  return s.substr(0, n);
}

std::string_view PPTrim(std::string_view s) { return PPTrimRight(PPTrimLeft(s)); }

namespace {
// Parses the magnitude; `hex` tells which notation was used.
bool ParseMagnitude(std::string_view s, bool& negative, bool& hex, uint64_t& magnitude) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  hex = false;
  if (i < s.size() && s[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= s.size()) return false;
  magnitude = 0;
  for (; i < s.size(); ++i) {
    const int d = hex ? HexValue(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
    if (d < 0) return false;
    const unsigned base = hex ? 16 : 10;
    if (magnitude > (UINT64_MAX - static_cast<unsigned>(d)) / base) return false;
    magnitude = magnitude * base + static_cast<unsigned>(d);
  }
  return true;
}
}  // namespace

bool PPStrToInt64(std::string_view s, int64_t& out) {
  bool negative = false, hex = false;
  uint64_t m = 0;
  if (!ParseMagnitude(s, negative, hex, m)) return false;
  if (!hex && m > (negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1)) return false;
  // A hexadecimal text is a bit pattern: $FFFFFFFFFFFFFFFF is -1.
  const uint64_t bits = negative ? uint64_t{0} - m : m;
  out = static_cast<int64_t>(bits);
  return true;
}

bool PPStrToInt(std::string_view s, int32_t& out) {
  bool negative = false, hex = false;
  uint64_t m = 0;
  if (!ParseMagnitude(s, negative, hex, m)) return false;
  if (m > (hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull))) return false;
  out = PPWrap32(static_cast<int64_t>(negative ? uint64_t{0} - m : m));
  return true;
}

bool PPStrToFloat(std::string_view s, double& out) {
  s = PPTrim(s);
  std::string clean;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    if (s[i] == '-') clean.push_back('-');
    ++i;
  }
  int digits = 0;
  auto takeDigits = [&] {
    int n = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
      clean.push_back(s[i++]);
      ++n;
    }
    return n;
  };
  digits += takeDigits();
  if (i < s.size() && s[i] == '.') {
    clean.push_back(s[i++]);
    digits += takeDigits();
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
    clean.push_back('e');
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) clean.push_back(s[i++]);
    if (takeDigits() == 0) return false;
  }
  if (i != s.size()) return false;
  double v = 0;
  const auto r = std::from_chars(clean.data(), clean.data() + clean.size(), v);
  if (r.ec == std::errc::result_out_of_range) {
    // Underflow reads as zero; overflow is no number.
    const auto e = clean.find('e');
    if (e != std::string::npos && clean.find('-', e) != std::string::npos) {
      out = 0;
      return true;
    }
    return false;
  }
  if (r.ec != std::errc() || r.ptr != clean.data() + clean.size() || !std::isfinite(v)) return false;
  out = v;
  return true;
}

std::string PPFloatToStr(double v) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v > 0 ? "INF" : "-INF";
  if (v == 0) return "0";
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
  const std::string_view sci(buf, static_cast<std::size_t>(r.ptr - buf));
  // sci is "[-]d.ddddddddddddddde[+-]XX".
  const bool negative = sci[0] == '-';
  const std::size_t start = negative ? 1 : 0;
  const std::size_t ePos = sci.find('e');
  std::string digits;
  for (std::size_t i = start; i < ePos; ++i)
    if (sci[i] != '.') digits.push_back(sci[i]);
  int exponent = 0;
  std::from_chars(sci.data() + ePos + 1 + (sci[ePos + 1] == '+' ? 1 : 0), sci.data() + sci.size(), exponent);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent >= -5 && exponent < 15) {
    if (exponent < 0) {
      out += "0.";
      out.append(static_cast<std::size_t>(-exponent - 1), '0');
      out += digits;
    } else {
      const std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
      if (digits.size() <= intDigits) {
        out += digits;
        out.append(intDigits - digits.size(), '0');
      } else {
        out += digits.substr(0, intDigits);
        out += '.';
        out += digits.substr(intDigits);
      }
    }
  } else {
    out += digits[0];
    if (digits.size() > 1) {
      out += '.';
      out += digits.substr(1);
    }
    out += 'E';
    out += std::to_string(exponent);
  }
  return out;
}

std::string PPFormatG(double v) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
  return std::string(buf, static_cast<std::size_t>(r.ptr - buf));
}

bool PPTruncToInt32(double v, int32_t& out) {
  if (!std::isfinite(v) || std::fabs(v) >= 9223372036854775808.0) return false;
  out = PPWrap32(static_cast<int64_t>(v));
  return true;
}

bool PPRoundToInt32(double v, int32_t& out) {
  if (!std::isfinite(v)) return false;
  const double f = std::floor(v);
  const double diff = v - f;
  double r = f;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(f, 2.0) != 0)) r = f + 1;
  return PPTruncToInt32(r, out);
}

int32_t PPTruncOrZero(double v) {
  int32_t out = 0;
  return PPTruncToInt32(v, out) ? out : 0;
}

std::string PPStringLiteral(std::string_view token) {
  if (token.empty()) return std::string();
  if (token[0] == '\'') {
    std::string out;
    for (std::size_t i = 1; i < token.size();) {
      if (token[i] == '\'') {
        if (i + 1 < token.size() && token[i + 1] == '\'') {
          out.push_back('\'');
          i += 2;
          continue;
        }
        break;
      }
      out.push_back(token[i++]);
    }
    return out;
  }
  if (token[0] == '#') {
    const bool hex = token.size() > 1 && token[1] == '$';
    unsigned code = 0;
    int n = 0;
    for (std::size_t i = hex ? 2 : 1; i < token.size() && n < 3; ++i, ++n) {
      const int d = hex ? HexValue(token[i]) : (token[i] >= '0' && token[i] <= '9' ? token[i] - '0' : -1);
      if (d < 0) break;
      code = code * (hex ? 16 : 10) + static_cast<unsigned>(d);
    }
    if (n == 0 || code >= 256) return std::string();
    return std::string(1, static_cast<char>(code));
  }
  return std::string(token);
}

bool PPIntegerLiteral(std::string_view token, int32_t& out) {
  const bool hex = !token.empty() && token[0] == '$';
  std::size_t i = hex ? 1 : 0;
  if (i >= token.size()) return false;
  uint64_t v = 0;
  for (; i < token.size(); ++i) {
    const int d = hex ? HexValue(token[i]) : (token[i] >= '0' && token[i] <= '9' ? token[i] - '0' : -1);
    if (d < 0) return false;
    v = v * (hex ? 16 : 10) + static_cast<unsigned>(d);
    if (v > 0xFFFFFFFFull) return false;
  }
  if (!hex && v > 0x80000000ull) return false;
  out = PPWrap32(static_cast<int64_t>(v));
  return true;
}

}  // namespace nuv
