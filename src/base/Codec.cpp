// CP932 tables, built once from the C library's iconv converter.
//
// Decoding uses a 64 Ki table indexed by lead * 256 + trail; encoding a 64 Ki
// table from BMP code point to CP932 code. The encoder asks iconv for every
// code point that the decoder produces, so the choice between duplicate codes
// (NEC and IBM extensions) is the converter's, not the first one found.
#include "base/Codec.h"

#include <iconv.h>

#include <array>
#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "base/Sjis.h"

namespace nuv {

namespace {

struct TCp932Tables {
  std::array<char16_t, 0x10000> decode{};  // lead*256+trail -> code point, 0: unmapped
  std::array<uint16_t, 0x10000> encode{};  // code point -> CP932 code, 0: unencodable
};

// Converts one buffer with iconv; false when the converter rejects it.
bool IconvOnce(iconv_t cd, const char* in, std::size_t inLen, char* out, std::size_t& outLen) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* inPtr = const_cast<char*>(in);
  char* outPtr = out;
  std::size_t outLeft = outLen;
  if (iconv(cd, &inPtr, &inLen, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return false;
  if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return false;
  outLen = outLen - outLeft;
  return inLen == 0;
}

std::unique_ptr<TCp932Tables> BuildTables() {
  auto t = std::make_unique<TCp932Tables>();
  iconv_t dec = iconv_open("UTF-16LE", "CP932");
  iconv_t enc = iconv_open("CP932", "UTF-16LE");
  if (dec == reinterpret_cast<iconv_t>(-1) || enc == reinterpret_cast<iconv_t>(-1)) {
    std::fprintf(stderr, "nuv: the C library has no CP932 converter\n");
    std::abort();
  }
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (!IsTrailByte(static_cast<unsigned char>(trail))) continue;
      const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      char out[8];
      std::size_t outLen = sizeof out;
      if (!IconvOnce(dec, in, 2, out, outLen) || outLen != 2) continue;
      const char16_t cp = static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                                (static_cast<unsigned char>(out[1]) << 8));
      t->decode[lead * 256 + trail] = cp;
    }
  }
  // Encoder: single bytes first, then every code point the decoder yields.
  for (unsigned b = 0; b < 0x80; ++b) t->encode[b] = static_cast<uint16_t>(b);
  for (unsigned b = 0xA1; b <= 0xDF; ++b) t->encode[0xFF61 + (b - 0xA1)] = static_cast<uint16_t>(b);
  for (unsigned code = 0; code < 0x10000; ++code) {
    const char16_t cp = t->decode[code];
    if (cp == 0 || t->encode[cp] != 0) continue;
    const char in[2] = {static_cast<char>(cp & 0xFF), static_cast<char>(cp >> 8)};
    char out[8];
    std::size_t outLen = sizeof out;
    if (IconvOnce(enc, in, 2, out, outLen) && outLen == 2)
      t->encode[cp] = static_cast<uint16_t>((static_cast<unsigned char>(out[0]) << 8) |
                                            static_cast<unsigned char>(out[1]));
    else
      t->encode[cp] = static_cast<uint16_t>(code);
  }
  iconv_close(dec);
  iconv_close(enc);
  // JIS forms produced by input methods, mapped to the CP932 characters users mean.
  const struct { char16_t from, to; } variants[] = {
      {0x301C, 0xFF5E}, {0x2016, 0x2225}, {0x2212, 0xFF0D}, {0x00A2, 0xFFE0},
      {0x00A3, 0xFFE1}, {0x00AC, 0xFFE2}, {0x2014, 0x2015}};
  for (const auto& v : variants)
    if (t->encode[v.from] == 0) t->encode[v.from] = t->encode[v.to];
  return t;
}

const TCp932Tables& Tables() {
  static std::once_flag once;
  static std::unique_ptr<TCp932Tables> tables;
  std::call_once(once, [] { tables = BuildTables(); });
  return *tables;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::u16string DecodeCp932(std::string_view sjis) {
  const auto& t = Tables();
  std::u16string out;
  out.reserve(sjis.size());
  for (std::size_t i = 0; i < sjis.size();) {
    const unsigned char b = static_cast<unsigned char>(sjis[i]);
    if (b < 0x80) {
      out += static_cast<char16_t>(b);
      ++i;
    } else if (b >= 0xA1 && b <= 0xDF) {
      out += static_cast<char16_t>(0xFF61 + (b - 0xA1));
      ++i;
    } else if (CharLength(sjis, i) == 2 && t.decode[b * 256 + static_cast<unsigned char>(sjis[i + 1])] != 0) {
      out += t.decode[b * 256 + static_cast<unsigned char>(sjis[i + 1])];
      i += 2;
    } else {
      out += static_cast<char16_t>(kByteEscapeBase + b);
      ++i;
    }
  }
  return out;
}

std::optional<std::string> EncodeCp932(std::u16string_view text, std::size_t* badIndex) {
  const auto& t = Tables();
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= kByteEscapeBase + 0x80 && c <= kByteEscapeBase + 0xFF) {
      out += static_cast<char>(c - kByteEscapeBase);
      continue;
    }
    const uint16_t code = (c >= 0xD800 && c <= 0xDFFF) ? 0 : t.encode[c];
    if (code == 0 && c != 0) {
      if (badIndex) *badIndex = i;
      return std::nullopt;
    }
    if (code > 0xFF) out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
  }
  return out;
}

const uint16_t* Cp932EncodeTable() { return Tables().encode.data(); }
const char16_t* Cp932DecodeTable() { return Tables().decode.data(); }

bool CanEncodeCp932(std::u16string_view text) { return EncodeCp932(text).has_value(); }

std::u16string Utf8ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    char32_t cp = 0xFFFD;
    std::size_t len = 1;
    if (b < 0x80) {
      cp = b;
    } else if ((b & 0xE0) == 0xC0 && i + 1 < s.size()) {
      cp = ((b & 0x1F) << 6) | (s[i + 1] & 0x3F);
      len = 2;
    } else if ((b & 0xF0) == 0xE0 && i + 2 < s.size()) {
      cp = ((b & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
      len = 3;
    } else if ((b & 0xF8) == 0xF0 && i + 3 < s.size()) {
      cp = ((b & 0x07) << 18) | ((s[i + 1] & 0x3F) << 12) | ((s[i + 2] & 0x3F) << 6) | (s[i + 3] & 0x3F);
      len = 4;
    }
    i += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::string Cp932ToUtf8(std::string_view sjis) { return Utf16ToUtf8(DecodeCp932(sjis)); }

std::optional<std::string> Utf8ToCp932(std::string_view utf8) { return EncodeCp932(Utf8ToUtf16(utf8)); }

std::string SjisFromLiteral(std::string_view utf8) {
  auto s = Utf8ToCp932(utf8);
  assert(s && "a fixed text of the program is not encodable in CP932");
  if (!s) std::abort();
  return *s;
}

}  // namespace nuv
