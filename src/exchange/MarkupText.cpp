// Shift JIS to UTF-8 through a table of every character's UTF-8 bytes, built
// once from the codec, so a 50 MB export is one table lookup per character;
// and UTF-8 back through the codec, which refuses what Shift JIS cannot hold.
#include "exchange/MarkupText.h"

#include <algorithm>
#include <array>
#include <cstring>
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

// Which ASCII bytes each markup copies unchanged: the converter copies runs
// of them in one move instead of deciding byte by byte.
struct TPlainBytes {
  std::array<std::array<bool, 0x80>, 4> byMarkup{};
  TPlainBytes() {
    for (unsigned b = 0; b < 0x80; ++b) {
      const bool markupChar = b == '&' || b == '<' || b == '>';
      byMarkup[static_cast<int>(TMarkup::Plain)][b] = true;
      byMarkup[static_cast<int>(TMarkup::PlainLf)][b] = b != '\r';
      byMarkup[static_cast<int>(TMarkup::Text)][b] = !markupChar && (b >= 0x20 || b == '\t' || b == '\n');
      byMarkup[static_cast<int>(TMarkup::Attribute)][b] = !markupChar && b != '"' && b >= 0x20;
    }
  }
};

const TPlainBytes kPlainBytes;

// Copies a short piece to the output cursor.
char* Put(char* d, std::string_view piece) {
  std::memcpy(d, piece.data(), piece.size());
  return d + piece.size();
}

}  // namespace

bool AppendUtf8(std::string& out, std::string_view sjis, TMarkup markup) {
  const TUtf8Tables& t = Tables();
  bool dropped = false;
  const unsigned char* s = reinterpret_cast<const unsigned char*>(sjis.data());
  const std::size_t n = sjis.size();
  const bool escape = markup == TMarkup::Text || markup == TMarkup::Attribute;
  // Works in pieces of the input, each converted through a cursor into a
  // buffer with room for its longest output ("&quot;" for one byte), which
  // is never cleared, then appended in one copy.
  constexpr std::size_t kPiece = 1u << 16;
  constexpr std::size_t kMaxGrowth = 6;
  thread_local const std::unique_ptr<char[]> buffer(new char[kPiece * kMaxGrowth + 8]);
  char* const start = buffer.get();
  out.reserve(out.size() + n + n / 2);
  for (std::size_t i = 0; i < n;) {
    const std::size_t end = std::min(n, i + kPiece);
    char* d = start;
    const std::array<bool, 0x80>& plain = kPlainBytes.byMarkup[static_cast<int>(markup)];
    while (i < end) {
      const unsigned char b = s[i];
      if (b < 0x80 && plain[b]) {
        std::size_t j = i + 1;
        while (j < end && s[j] < 0x80 && plain[s[j]]) ++j;
        std::memcpy(d, s + i, j - i);
        d += j - i;
        i = j;
        continue;
      }
      if (b >= 0x80) {
        if (i + 1 < n && IsTrailByte(s[i + 1])) {
          const TUtf8Bytes& u = t.pair[b * 256 + s[i + 1]];
          if (u.size != 0) {
            std::memcpy(d, u.bytes, 3);
            d += u.size;
            i += 2;
            continue;
          }
        }
        const TUtf8Bytes& u = t.single[b];
        std::memcpy(d, u.bytes, 3);
        d += u.size;
        ++i;
        continue;
      }
      ++i;
      if (b >= 0x20 && (!escape || (b != '&' && b != '<' && b != '>' && b != '"'))) {
        *d++ = static_cast<char>(b);
        continue;
      }
      if (b == '\r' && markup != TMarkup::Plain) {
        // CR LF and CR are one line end.
        if (i < n && s[i] == '\n') ++i;
        d = markup == TMarkup::Attribute ? Put(d, "&#10;") : Put(d, "\n");
        continue;
      }
      switch (b) {
        case '&': d = Put(d, "&amp;"); continue;
        case '<': d = Put(d, "&lt;"); continue;
        case '>': d = Put(d, "&gt;"); continue;
        case '"': d = markup == TMarkup::Attribute ? Put(d, "&quot;") : Put(d, "\""); continue;
        default: break;
      }
      if (escape && IsXmlControlByte(b)) {
        dropped = true;
      } else if (markup == TMarkup::Attribute && b == '\t') {
        d = Put(d, "&#9;");
      } else if (markup == TMarkup::Attribute && b == '\n') {
        d = Put(d, "&#10;");
      } else {
        *d++ = static_cast<char>(b);
      }
    }
    out.append(start, static_cast<std::size_t>(d - start));
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

}  // namespace nuv
