// Shift JIS to UTF-8 through a table of every character's UTF-8 bytes, built
// once from the codec, so a 50 MB export is one table lookup per character;
// and UTF-8 back through the codec, which refuses what Shift JIS cannot hold.
#include "exchange/MarkupText.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>

#include "base/Codec.h"
#include "base/Sjis.h"

namespace nuv {

namespace {

struct TUtf8Bytes {
  uint8_t size = 0;  // 0: the pair is no mapped character
  char bytes[3] = {};
};

struct TUtf8Tables {
  std::array<TUtf8Bytes, 0x10000> pair;  // lead * 256 + trail
  std::array<TUtf8Bytes, 0x100> single;  // a byte standing alone
};

TUtf8Bytes Encode(char16_t c) {
  TUtf8Bytes u;
  if (c < 0x80) {
    u.size = 1;
    u.bytes[0] = static_cast<char>(c);
  } else if (c < 0x800) {
    u.size = 2;
    u.bytes[0] = static_cast<char>(0xC0 | (c >> 6));
    u.bytes[1] = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    u.size = 3;
    u.bytes[0] = static_cast<char>(0xE0 | (c >> 12));
    u.bytes[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    u.bytes[2] = static_cast<char>(0x80 | (c & 0x3F));
  }
  return u;
}

const TUtf8Tables& Tables() {
  static std::once_flag once;
  static std::unique_ptr<TUtf8Tables> tables;
  std::call_once(once, [] {
    tables = std::make_unique<TUtf8Tables>();
    for (unsigned b = 0; b < 0x100; ++b) {
      const char in = static_cast<char>(b);
      tables->single[b] = Encode(DecodeCp932(std::string_view(&in, 1))[0]);
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        const std::u16string wide = DecodeCp932(std::string_view(in, 2));
        if (wide.size() == 1) tables->pair[lead * 256 + trail] = Encode(wide[0]);
      }
    }
  });
  return *tables;
}

void Put(std::string& out, const TUtf8Bytes& u) { out.append(u.bytes, u.size); }

}  // namespace

bool AppendUtf8(std::string& out, std::string_view sjis, TMarkup markup) {
  const TUtf8Tables& t = Tables();
  bool dropped = false;
  out.reserve(out.size() + sjis.size() + sjis.size() / 2);
  const std::size_t n = sjis.size();
  for (std::size_t i = 0; i < n;) {
    // A run of plain ASCII goes out in one piece.
    std::size_t run = i;
    while (run < n) {
      const unsigned char c = static_cast<unsigned char>(sjis[run]);
      if (c >= 0x80 || (markup != TMarkup::Plain && (c < 0x20 || c == '&' || c == '<' || c == '>' || c == '"')))
        break;
      ++run;
    }
    if (run > i) {
      out.append(sjis.substr(i, run - i));
      i = run;
      continue;
    }
    const unsigned char b = static_cast<unsigned char>(sjis[i]);
    if (b < 0x80) {
      ++i;
      switch (b) {
        case '&': out += "&amp;"; continue;
        case '<': out += "&lt;"; continue;
        case '>': out += "&gt;"; continue;
        case '"': out += markup == TMarkup::Attribute ? "&quot;" : "\""; continue;
        default: break;
      }
      if (IsXmlControlByte(b)) {
        dropped = true;
      } else if (markup == TMarkup::Text && b == '\r') {
        // Parsers read CR LF and CR as LF; the file says so itself.
        if (i < n && sjis[i] == '\n') ++i;
        out += '\n';
      } else if (markup != TMarkup::Attribute) {
        out += static_cast<char>(b);
      } else if (b == '\t') {
        out += "&#9;";
      } else {
        // CR LF, CR and LF are each one line end.
        if (b == '\r' && i < n && sjis[i] == '\n') ++i;
        out += "&#10;";
      }
      continue;
    }
    if (i + 1 < n && IsTrailByte(static_cast<unsigned char>(sjis[i + 1]))) {
      const TUtf8Bytes& u = t.pair[b * 256 + static_cast<unsigned char>(sjis[i + 1])];
      if (u.size != 0) {
        Put(out, u);
        i += 2;
        continue;
      }
    }
    Put(out, t.single[b]);
    ++i;
  }
  return dropped;
}

std::string ToUtf8(std::string_view sjis, TMarkup markup) {
  std::string out;
  AppendUtf8(out, sjis, markup);
  return out;
}

bool HasXmlControlByte(std::string_view sjis) {
  for (const char c : sjis)
    if (IsXmlControlByte(static_cast<unsigned char>(c))) return true;
  return false;
}

std::optional<std::string> Utf8ToSjis(std::string_view utf8, bool substitute, int firstLine,
                                      TUnencodable* problem) {
  const std::u16string wide = Utf8ToUtf16(utf8);
  const std::u16string_view all(wide);
  std::string out;
  bool named = false;
  for (std::size_t pos = 0;;) {
    std::size_t bad = 0;
    if (auto rest = EncodeCp932(all.substr(pos), &bad)) {
      out += *rest;
      return out;
    }
    bad += pos;
    const bool pair = bad + 1 < all.size() && all[bad] >= 0xD800 && all[bad] <= 0xDBFF &&
                      all[bad + 1] >= 0xDC00 && all[bad + 1] <= 0xDFFF;
    if (!named && problem) {
      named = true;
      int line = firstLine;
      for (std::size_t k = 0; k < bad; ++k)
        if (all[k] == u'\n') ++line;
      problem->line = line;
      problem->character = Utf16ToUtf8(all.substr(bad, pair ? 2 : 1));
    }
    if (!substitute) return std::nullopt;
    out += *EncodeCp932(all.substr(pos, bad - pos));
    out += "\x81\xAC";  // 〓
    pos = bad + (pair ? 2 : 1);
  }
}

bool IsValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    std::size_t len;
    char32_t cp;
    if (b < 0x80) {
      ++i;
      continue;
    } else if (b >= 0xC2 && b <= 0xDF) {
      len = 2;
      cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      len = 3;
      cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      len = 4;
      cp = b & 0x07;
    } else {
      return false;
    }
    if (i + len > s.size()) return false;
    for (std::size_t k = 1; k < len; ++k) {
      const unsigned char c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF.
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += len;
  }
  return true;
}

}  // namespace nuv
