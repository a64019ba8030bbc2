// Detection of a text file's encoding and conversion to and from Shift JIS.
//
// Every converter walks its input once and hands each code point to one sink
// that encodes it through the CP932 table; runs of ASCII are copied whole.
// The sink remembers only the byte offset of the first character Shift JIS
// cannot hold; its line is counted afterwards, so the common case pays nothing
// for the report. EUC-JP is decoded through tables built once from the C
// library's EUC-JP-MS converter (the Microsoft flavour, which holds the NEC and
// IBM characters CP932 has), with plain EUC-JP filling the codes it lacks.
#include "base/TextEncoding.h"

#include <iconv.h>

#include <array>
#include <cstdio>
#include <memory>
#include <mutex>

#include "base/AsciiCase.h"
#include "base/Codec.h"
#include "base/FileIo.h"
#include "base/Sjis.h"

namespace nuv {

namespace {

constexpr char kSubstituteSjis[] = "\x81\xAC";  // "〓"
constexpr char32_t kDamaged = 0xFFFD;

// ---------------------------------------------------------------- EUC-JP tables

constexpr unsigned kEucRows = 94;

struct TEucTables {
  std::array<char16_t, kEucRows * kEucRows> twoByte{};    // A1-FE A1-FE (JIS X 0208 and extensions)
  std::array<char16_t, kEucRows * kEucRows> threeByte{};  // 8F A1-FE A1-FE (JIS X 0212)
};

// One EUC-JP character through iconv; 0 when the converter does not know it.
char16_t IconvEucChar(iconv_t cd, const char* in, std::size_t inLen) {
  if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char out[8];
  char* inPtr = const_cast<char*>(in);
  char* outPtr = out;
  std::size_t outLeft = sizeof out;
  if (iconv(cd, &inPtr, &inLen, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLen != 0) return 0;
  if (sizeof out - outLeft != 2) return 0;  // not one BMP character
  return static_cast<char16_t>(static_cast<unsigned char>(out[0]) | (static_cast<unsigned char>(out[1]) << 8));
}

std::unique_ptr<TEucTables> BuildEucTables() {
  auto t = std::make_unique<TEucTables>();
  iconv_t ms = iconv_open("UTF-16LE", "EUC-JP-MS");
  iconv_t plain = iconv_open("UTF-16LE", "EUC-JP");
  for (unsigned row = 0; row < kEucRows; ++row)
    for (unsigned col = 0; col < kEucRows; ++col) {
      const char two[2] = {static_cast<char>(0xA1 + row), static_cast<char>(0xA1 + col)};
      const char three[3] = {'\x8F', two[0], two[1]};
      char16_t cp = IconvEucChar(ms, two, 2);
      if (cp == 0) cp = IconvEucChar(plain, two, 2);
      t->twoByte[row * kEucRows + col] = cp;
      cp = IconvEucChar(ms, three, 3);
      if (cp == 0) cp = IconvEucChar(plain, three, 3);
      t->threeByte[row * kEucRows + col] = cp;
    }
  if (ms != reinterpret_cast<iconv_t>(-1)) iconv_close(ms);
  if (plain != reinterpret_cast<iconv_t>(-1)) iconv_close(plain);
  return t;
}

const TEucTables& EucTables() {
  static std::once_flag once;
  static std::unique_ptr<TEucTables> tables;
  std::call_once(once, [] { tables = BuildEucTables(); });
  return *tables;
}

// Code point -> EUC-JP bytes (up to three, big-endian in the value), 0 when
// EUC-JP has no code for it. Two-byte codes win over JIS X 0212 ones.
const std::array<uint32_t, 0x10000>& EucInverse() {
  static std::once_flag once;
  static std::unique_ptr<std::array<uint32_t, 0x10000>> inverse;
  std::call_once(once, [] {
    inverse = std::make_unique<std::array<uint32_t, 0x10000>>();
    auto& t = *inverse;
    for (unsigned b = 1; b < 0x80; ++b) t[b] = b;
    for (unsigned b = 0xA1; b <= 0xDF; ++b) t[0xFF61 + (b - 0xA1)] = 0x8E00 | b;
    const TEucTables& e = EucTables();
    for (unsigned i = 0; i < kEucRows * kEucRows; ++i)
      if (e.twoByte[i] && !t[e.twoByte[i]]) t[e.twoByte[i]] = ((0xA1 + i / kEucRows) << 8) | (0xA1 + i % kEucRows);
    for (unsigned i = 0; i < kEucRows * kEucRows; ++i)
      if (e.threeByte[i] && !t[e.threeByte[i]])
        t[e.threeByte[i]] = 0x8F0000 | ((0xA1 + i / kEucRows) << 8) | (0xA1 + i % kEucRows);
  });
  return *inverse;
}

constexpr bool IsEucByte(unsigned char b) { return b >= 0xA1 && b <= 0xFE; }

// Length of the EUC-JP character at p (1-3) and its code point; 0 for a
// damaged sequence or a code the tables do not know.
std::size_t DecodeEucChar(const unsigned char* p, const unsigned char* end, char32_t& cp) {
  const unsigned char b = p[0];
  if (b < 0x80) {
    cp = b;
    return 1;
  }
  const std::size_t left = static_cast<std::size_t>(end - p);
  if (b == 0x8E) {
    if (left < 2 || p[1] < 0xA1 || p[1] > 0xDF) return 0;
    cp = 0xFF61 + (p[1] - 0xA1);
    return 2;
  }
  if (b == 0x8F) {
    if (left < 3 || !IsEucByte(p[1]) || !IsEucByte(p[2])) return 0;
    cp = EucTables().threeByte[(p[1] - 0xA1) * kEucRows + (p[2] - 0xA1)];
    return cp ? 3 : 0;
  }
  if (!IsEucByte(b) || left < 2 || !IsEucByte(p[1])) return 0;
  cp = EucTables().twoByte[(b - 0xA1) * kEucRows + (p[1] - 0xA1)];
  return cp ? 2 : 0;
}

// ---------------------------------------------------------------- UTF-8

// Length of the UTF-8 sequence at p (2-4) and its code point; 0 when the
// sequence is damaged (overlong, surrogate, above U+10FFFF, cut short).
// *valid receives how many bytes belong to the damaged prefix.
std::size_t DecodeUtf8Multi(const unsigned char* p, const unsigned char* end, char32_t& cp,
                            std::size_t& damaged) {
  const unsigned char b = p[0];
  std::size_t len;
  char32_t min;
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2, min = 0x80, cp = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3, min = 0x800, cp = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4, min = 0x10000, cp = b & 0x07;
  } else {
    damaged = 1;
    return 0;
  }
  const std::size_t left = static_cast<std::size_t>(end - p);
  for (std::size_t k = 1; k < len; ++k) {
    if (k >= left || (p[k] & 0xC0) != 0x80) {
      damaged = k;
      return 0;
    }
    cp = (cp << 6) | (p[k] & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    damaged = len;
    return 0;
  }
  return len;
}

std::size_t AsciiRun(const unsigned char* p, const unsigned char* end) {
  const unsigned char* q = p;
  while (q < end && *q < 0x80) ++q;
  return static_cast<std::size_t>(q - p);
}

bool IsValidUtf8(std::string_view s, bool& nonAscii) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const auto* end = p + s.size();
  nonAscii = false;
  while (p < end) {
    p += AsciiRun(p, end);
    if (p == end) break;
    char32_t cp;
    std::size_t damaged;
    const std::size_t len = DecodeUtf8Multi(p, end, cp, damaged);
    if (len == 0) return false;
    nonAscii = true;
    p += len;
  }
  return true;
}

// ---------------------------------------------------------------- the sink

// Collects Shift JIS bytes and notes characters that cannot be held.
class TSjisSink {
 public:
  TSjisSink(std::string& out, TSubstitution substitution, const uint16_t* table)
      : m_out(out), m_substitute(substitution == TSubstitution::Substitute), m_table(table) {}

  void Ascii(const unsigned char* p, std::size_t n) { m_out.append(reinterpret_cast<const char*>(p), n); }

  // `offset` is the character's byte offset in the input, for its line.
  void Char(char32_t cp, std::size_t offset) {
    const uint16_t code = cp < 0x80 ? static_cast<uint16_t>(cp) : cp < 0x10000 ? m_table[cp] : 0;
    if (code != 0 || cp == 0) {
      if (code > 0xFF) m_out += static_cast<char>(code >> 8);
      m_out += static_cast<char>(code & 0xFF);
      return;
    }
    // The codec's byte escapes come back as the bytes they stand for, as
    // they do from the clipboard: nuv writes them for bytes of a document
    // that are no Shift JIS character, and they read back unchanged.
    if (cp >= kByteEscapeBase + 0x80 && cp <= kByteEscapeBase + 0xFF) {
      m_out += static_cast<char>(cp - kByteEscapeBase);
      return;
    }
    Unmappable(cp, offset);
  }

  void Unmappable(char32_t cp, std::size_t offset) {
    if (m_count++ == 0) {
      m_first = cp;
      m_firstOffset = offset;
    }
    if (m_substitute) m_out += kSubstituteSjis;
  }

  std::size_t Count() const { return m_count; }
  char32_t First() const { return m_first; }
  std::size_t FirstOffset() const { return m_firstOffset; }

 private:
  std::string& m_out;
  bool m_substitute;
  const uint16_t* m_table;
  std::size_t m_count = 0;
  char32_t m_first = 0;
  std::size_t m_firstOffset = 0;
};

void Utf8ToSink(std::string_view s, TSjisSink& sink) {
  const auto* begin = reinterpret_cast<const unsigned char*>(s.data());
  const auto* p = begin;
  const auto* end = begin + s.size();
  while (p < end) {
    const std::size_t run = AsciiRun(p, end);
    sink.Ascii(p, run);
    p += run;
    if (p == end) break;
    char32_t cp;
    std::size_t damaged;
    const std::size_t len = DecodeUtf8Multi(p, end, cp, damaged);
    if (len == 0) {
      sink.Unmappable(kDamaged, static_cast<std::size_t>(p - begin));
      p += damaged;
    } else {
      sink.Char(cp, static_cast<std::size_t>(p - begin));
      p += len;
    }
  }
}

void Utf16ToSink(std::string_view s, bool bigEndian, TSjisSink& sink) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const std::size_t units = s.size() / 2;
  auto unit = [&](std::size_t i) -> char32_t {
    return bigEndian ? (p[2 * i] << 8) | p[2 * i + 1] : p[2 * i] | (p[2 * i + 1] << 8);
  };
  for (std::size_t i = 0; i < units; ++i) {
    const char32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
      sink.Unmappable(0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00), 2 * i);
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      sink.Unmappable(kDamaged, 2 * i);
    } else {
      sink.Char(u, 2 * i);
    }
  }
  if (s.size() % 2 != 0) sink.Unmappable(kDamaged, s.size() - 1);
}

void EucToSink(std::string_view s, TSjisSink& sink) {
  const auto* begin = reinterpret_cast<const unsigned char*>(s.data());
  const auto* p = begin;
  const auto* end = begin + s.size();
  while (p < end) {
    const std::size_t run = AsciiRun(p, end);
    sink.Ascii(p, run);
    p += run;
    if (p == end) break;
    char32_t cp;
    const std::size_t len = DecodeEucChar(p, end, cp);
    if (len == 0) {
      sink.Unmappable(kDamaged, static_cast<std::size_t>(p - begin));
      ++p;
    } else {
      sink.Char(cp, static_cast<std::size_t>(p - begin));
      p += len;
    }
  }
}

// 1-based line of the character at byte `offset`. CR and LF never occur inside
// a multi-byte character of UTF-8, Shift JIS or EUC-JP; UTF-16 is read in units.
std::size_t LineOfOffset(std::string_view s, std::size_t offset, TTextEncoding encoding) {
  const bool wide = encoding == TTextEncoding::Utf16Le || encoding == TTextEncoding::Utf16Be;
  const std::size_t step = wide ? 2 : 1;
  std::size_t line = 1;
  bool afterCr = false;
  for (std::size_t i = 0; i + step <= offset; i += step) {
    unsigned c = static_cast<unsigned char>(s[i]);
    if (wide) {
      const unsigned other = static_cast<unsigned char>(s[i + 1]);
      c = encoding == TTextEncoding::Utf16Le ? c | (other << 8) : (c << 8) | other;
    }
    if (c == '\n') {
      if (!afterCr) ++line;
    } else if (c == '\r') {
      ++line;
    }
    afterCr = c == '\r';
  }
  return line;
}

std::size_t BomLength(std::string_view s, TTextEncoding encoding) {
  switch (encoding) {
    case TTextEncoding::Utf8:
      return s.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    case TTextEncoding::Utf16Le:
      return s.starts_with("\xFF\xFE") ? 2 : 0;
    case TTextEncoding::Utf16Be:
      return s.starts_with("\xFE\xFF") ? 2 : 0;
    default:
      return 0;
  }
}

const char* BomBytes(TTextEncoding encoding) {
  switch (encoding) {
    case TTextEncoding::Utf8:
      return "\xEF\xBB\xBF";
    case TTextEncoding::Utf16Le:
      return "\xFF\xFE";
    case TTextEncoding::Utf16Be:
      return "\xFE\xFF";
    default:
      return "";
  }
}

// ---------------------------------------------------------------- detection helpers

// Every byte is part of a CP932 character (the codec's table knows each double-byte code).
bool IsValidSjis(std::string_view s, bool& doubleByteAbove9F) {
  const char16_t* table = Cp932DecodeTable();
  doubleByteAbove9F = false;
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    if (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) {
      ++i;
      continue;
    }
    if (CharLength(s, i) != 2) return false;
    if (table[b * 256 + static_cast<unsigned char>(s[i + 1])] == 0) return false;
    if (b >= 0xE0) doubleByteAbove9F = true;
    i += 2;
  }
  return true;
}

// Every byte is part of a known EUC-JP character; *kanaOrSymbol when one of
// them is in rows 1-5 (punctuation, full-width digits and letters, kana).
bool IsValidEuc(std::string_view s, bool& kanaOrSymbol) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const auto* end = p + s.size();
  kanaOrSymbol = false;
  while (p < end) {
    p += AsciiRun(p, end);
    if (p == end) break;
    char32_t cp;
    const std::size_t len = DecodeEucChar(p, end, cp);
    if (len == 0) return false;
    if (len == 2 && p[0] >= 0xA1 && p[0] <= 0xA5) kanaOrSymbol = true;
    p += len;
  }
  return true;
}

}  // namespace

TTextEncoding DetectTextEncoding(std::string_view bytes, bool* byteOrderMark) {
  if (byteOrderMark) *byteOrderMark = true;
  if (bytes.starts_with("\xEF\xBB\xBF")) return TTextEncoding::Utf8;
  if (bytes.starts_with("\xFF\xFE")) return TTextEncoding::Utf16Le;
  if (bytes.starts_with("\xFE\xFF")) return TTextEncoding::Utf16Be;
  if (byteOrderMark) *byteOrderMark = false;
  bool nonAscii = false;
  if (IsValidUtf8(bytes, nonAscii)) {
    if (nonAscii) return TTextEncoding::Utf8;
    return TTextEncoding::ShiftJis;  // ASCII reads the same whichever way
  }
  bool doubleByteAbove9F = false;
  bool kanaOrSymbol = false;
  const bool sjis = IsValidSjis(bytes, doubleByteAbove9F);
  const bool euc = IsValidEuc(bytes, kanaOrSymbol);
  // Real Shift JIS text almost always holds a byte 81-9F (punctuation, kana,
  // the first-level kanji), which EUC-JP never has outside its 8E/8F
  // prefixes; so a text valid as both is EUC-JP, unless its Shift JIS reading
  // is only half-width katakana and its EUC-JP reading has neither kana nor
  // punctuation (see docs/DESIGN-notes/encodings.md).
  if (sjis && euc) return (kanaOrSymbol || doubleByteAbove9F) ? TTextEncoding::EucJp : TTextEncoding::ShiftJis;
  if (sjis) return TTextEncoding::ShiftJis;
  if (euc) return TTextEncoding::EucJp;
  return TTextEncoding::ShiftJis;
}

bool ToShiftJis(std::string_view bytes, TTextEncoding encoding, TSubstitution substitution, std::string& out,
                TUnmappable& report) {
  report = {};
  out.clear();
  const std::string_view text = bytes.substr(BomLength(bytes, encoding));
  if (encoding == TTextEncoding::ShiftJis) {
    out.assign(text);
    return true;
  }
  out.reserve(text.size());
  TSjisSink sink(out, substitution, Cp932EncodeTable());
  switch (encoding) {
    case TTextEncoding::Utf8:
      Utf8ToSink(text, sink);
      break;
    case TTextEncoding::Utf16Le:
    case TTextEncoding::Utf16Be:
      Utf16ToSink(text, encoding == TTextEncoding::Utf16Be, sink);
      break;
    case TTextEncoding::EucJp:
      EucToSink(text, sink);
      break;
    case TTextEncoding::ShiftJis:
      break;
  }
  if (sink.Count() == 0) return true;
  report.count = sink.Count();
  report.first = sink.First();
  report.line = LineOfOffset(text, sink.FirstOffset(), encoding);
  if (substitution == TSubstitution::Substitute) return true;
  out.clear();
  out.shrink_to_fit();
  return false;
}

std::string FromShiftJis(std::string_view sjis, TTextEncoding encoding) {
  switch (encoding) {
    case TTextEncoding::ShiftJis:
      return std::string(sjis);
    case TTextEncoding::Utf8:
      return Cp932ToUtf8(sjis);
    case TTextEncoding::Utf16Le:
    case TTextEncoding::Utf16Be: {
      const std::u16string units = DecodeCp932(sjis);
      std::string out;
      out.resize(units.size() * 2);
      const bool big = encoding == TTextEncoding::Utf16Be;
      for (std::size_t i = 0; i < units.size(); ++i) {
        out[2 * i + (big ? 1 : 0)] = static_cast<char>(units[i] & 0xFF);
        out[2 * i + (big ? 0 : 1)] = static_cast<char>(units[i] >> 8);
      }
      return out;
    }
    case TTextEncoding::EucJp: {
      const auto& inverse = EucInverse();
      const std::u16string units = DecodeCp932(sjis);
      std::string out;
      out.reserve(sjis.size());
      for (char16_t c : units) {
        const uint32_t code = inverse[c];
        if (code > 0xFFFF) out += static_cast<char>(code >> 16);
        if (code > 0xFF) out += static_cast<char>((code >> 8) & 0xFF);
        if (code != 0 || c == 0)
          out += static_cast<char>(code & 0xFF);
        else if (c >= kByteEscapeBase && c <= kByteEscapeBase + 0xFF)
          out += static_cast<char>(c - kByteEscapeBase);  // a byte that is no character stays as it was
      }
      return out;
    }
  }
  return std::string(sjis);
}

TLineEnd FirstLineEnd(std::string_view sjis) {
  const std::size_t end = sjis.find_first_of("\r\n");
  if (end == std::string_view::npos || (sjis[end] == '\r' && end + 1 < sjis.size() && sjis[end + 1] == '\n'))
    return TLineEnd::CrLf;
  return sjis[end] == '\n' ? TLineEnd::Lf : TLineEnd::Cr;
}

namespace {

// DecodeTextFile once the encoding is known; `owned` (the same bytes, or
// null) lets Shift JIS move into place instead of being copied.
bool DecodeDetected(std::string_view bytes, std::string* owned, TTextEncoding encoding, bool bom,
                    TSubstitution substitution, TDecodedText& out) {
  out.form = {};
  out.form.encoding = encoding;
  out.form.byteOrderMark = bom;
  out.unmappable = {};
  bool ok = true;
  if (encoding == TTextEncoding::ShiftJis && owned)
    out.sjis = std::move(*owned);
  else
    ok = ToShiftJis(bytes, encoding, substitution, out.sjis, out.unmappable);
  // Shift JIS text is written with CR LF, as nuv has always written it.
  if (encoding != TTextEncoding::ShiftJis) out.form.lineEnd = FirstLineEnd(out.sjis);
  return ok;
}

}  // namespace

bool DecodeTextFile(std::string_view bytes, TSubstitution substitution, TDecodedText& out) {
  bool bom = false;
  const TTextEncoding encoding = DetectTextEncoding(bytes, &bom);
  return DecodeDetected(bytes, nullptr, encoding, bom, substitution, out);
}

TTextFileResult ReadTextFile(const std::string& path, TSubstitution substitution, TDecodedText& out) {
  std::string bytes;
  if (ReadWholeFile(path, bytes) != TReadResult::Ok) return TTextFileResult::ReadFailed;
  bool bom = false;
  const TTextEncoding encoding = DetectTextEncoding(bytes, &bom);
  return DecodeDetected(bytes, &bytes, encoding, bom, substitution, out) ? TTextFileResult::Ok
                                                                         : TTextFileResult::Unmappable;
}

std::string ConvertLineEnds(std::string_view text, TLineEnd lineEnd) {
  if (lineEnd == TLineEnd::CrLf) return std::string(text);
  const char end = lineEnd == TLineEnd::Lf ? '\n' : '\r';
  std::string out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t cr; (cr = text.find("\r\n", from)) != std::string_view::npos; from = cr + 2) {
    out.append(text.substr(from, cr - from));
    out += end;
  }
  out.append(text.substr(from));
  return out;
}

std::string EncodeTextFile(std::string_view sjis, const TTextForm& form) {
  std::string body = FromShiftJis(ConvertLineEnds(sjis, form.lineEnd), form.encoding);
  if (!form.byteOrderMark) return body;
  return BomBytes(form.encoding) + body;
}

const char* TextEncodingName(TTextEncoding encoding) {
  switch (encoding) {
    case TTextEncoding::ShiftJis:
      return "Shift_JIS";
    case TTextEncoding::Utf8:
      return "UTF-8";
    case TTextEncoding::Utf16Le:
      return "UTF-16LE";
    case TTextEncoding::Utf16Be:
      return "UTF-16BE";
    case TTextEncoding::EucJp:
      return "EUC-JP";
  }
  return "";
}

std::optional<TTextEncoding> SaveEncodingFromName(std::string_view name) {
  for (const char* s : {"shift_jis", "sjis", "cp932", "shift-jis"})
    if (AsciiEqualNoCase(name, s)) return TTextEncoding::ShiftJis;
  for (const char* s : {"utf-8", "utf8"})
    if (AsciiEqualNoCase(name, s)) return TTextEncoding::Utf8;
  return std::nullopt;
}

namespace {
std::u16string Utf32ToUtf16(char32_t cp) {
  if (cp < 0x10000) return std::u16string(1, static_cast<char16_t>(cp));
  cp -= 0x10000;
  return {static_cast<char16_t>(0xD800 + (cp >> 10)), static_cast<char16_t>(0xDC00 + (cp & 0x3FF))};
}
}  // namespace

std::string CodePointName(char32_t cp) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
  return buf;
}

std::string DescribeUnmappable(const TUnmappable& report) {
  std::string shown;
  if (report.first != kDamaged && report.first >= 0x20) shown = "\"" + Utf16ToUtf8(Utf32ToUtf16(report.first)) + "\" ";
  return std::to_string(report.count) + (report.count == 1 ? " character" : " characters") +
         " that Shift JIS cannot hold, the first on line " + std::to_string(report.line) + ": " + shown + "(" +
         CodePointName(report.first) + ")";
}

}  // namespace nuv
