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
#include <sys/mman.h>

#include <array>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
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

// Length of the run of ASCII bytes at p, eight bytes at a time where it can.
std::size_t AsciiRun(const unsigned char* p, const unsigned char* end) {
  const unsigned char* q = p;
  while (end - q >= 8) {
    uint64_t word;
    std::memcpy(&word, q, 8);
    if (word & 0x8080808080808080ull) break;
    q += 8;
  }
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

// Where a sink's bytes go: a string, or a TTextBuffer for large texts.
class TSjisTarget {
 public:
  virtual ~TSjisTarget() = default;
  // Room for at least `atLeast` bytes, keeping the first `used` bytes.
  virtual char* Grow(std::size_t used, std::size_t atLeast) = 0;
  // The text is the first `used` bytes; 0 also releases the memory.
  virtual void Finish(std::size_t used) = 0;
};

class TStringTarget : public TSjisTarget {
 public:
  explicit TStringTarget(std::string& out) : m_out(out) {}
  char* Grow(std::size_t, std::size_t atLeast) override {
    m_out.resize(atLeast);
    return m_out.data();
  }
  void Finish(std::size_t used) override {
    m_out.resize(used);
    if (used == 0) m_out.shrink_to_fit();
  }

 private:
  std::string& m_out;
};

class TBufferTarget : public TSjisTarget {
 public:
  explicit TBufferTarget(TTextBuffer& buffer) : m_buffer(buffer) {}
  char* Grow(std::size_t used, std::size_t atLeast) override { return m_buffer.Grow(used, atLeast); }
  void Finish(std::size_t used) override { m_buffer.SetSize(used); }

 private:
  TTextBuffer& m_buffer;
};

// Collects Shift JIS bytes and notes characters that cannot be held. It
// writes through a pointer into room sized for the common case (no converter
// makes more Shift JIS bytes than it reads, except for a damaged byte that
// becomes "〓") and asks the target for more only when needed.
class TSjisSink {
 public:
  TSjisSink(TSjisTarget& target, std::size_t inputSize, TSubstitution substitution)
      : m_target(target), m_substitute(substitution == TSubstitution::Substitute), m_table(Cp932EncodeTable()) {
    m_begin = m_pos = m_target.Grow(0, inputSize + 16);
    m_end = m_begin + inputSize + 16;
  }
  std::size_t Used() const { return static_cast<std::size_t>(m_pos - m_begin); }

  void Ascii(const unsigned char* p, std::size_t n) {
    Room(n);
    std::memcpy(m_pos, p, n);
    m_pos += n;
  }

  // `offset` is the character's byte offset in the input, for its line.
  void Char(char32_t cp, std::size_t offset) {
    const uint16_t code = cp < 0x10000 ? m_table[cp] : 0;
    if (code != 0) {
      Room(2);
      if (code > 0xFF) *m_pos++ = static_cast<char>(code >> 8);
      *m_pos++ = static_cast<char>(code & 0xFF);
      return;
    }
    Rare(cp, offset);
  }

  void Unmappable(char32_t cp, std::size_t offset) {
    if (m_count++ == 0) {
      m_first = cp;
      m_firstOffset = offset;
    }
    if (m_substitute) {
      Room(2);
      *m_pos++ = kSubstituteSjis[0];
      *m_pos++ = kSubstituteSjis[1];
    }
  }

  std::size_t Count() const { return m_count; }
  char32_t First() const { return m_first; }
  std::size_t FirstOffset() const { return m_firstOffset; }

 private:
  void Room(std::size_t n) {
    if (static_cast<std::size_t>(m_end - m_pos) >= n) return;
    const std::size_t used = Used();
    const std::size_t size = std::max(static_cast<std::size_t>(m_end - m_begin) * 2, used + n + 16);
    m_begin = m_target.Grow(used, size);
    m_pos = m_begin + used;
    m_end = m_begin + size;
  }

  // U+0000, the codec's byte escapes, and characters that cannot be held.
  void Rare(char32_t cp, std::size_t offset) {
    if (cp == 0) {
      Room(1);
      *m_pos++ = '\0';
      return;
    }
    // The codec's byte escapes come back as the bytes they stand for, as
    // they do from the clipboard: nuv writes them for bytes of a document
    // that are no Shift JIS character, and they read back unchanged.
    if (cp >= kByteEscapeBase + 0x80 && cp <= kByteEscapeBase + 0xFF) {
      Room(1);
      *m_pos++ = static_cast<char>(cp - kByteEscapeBase);
      return;
    }
    Unmappable(cp, offset);
  }

  TSjisTarget& m_target;
  char* m_begin;
  char* m_pos;
  char* m_end;
  bool m_substitute;
  const uint16_t* m_table;
  std::size_t m_count = 0;
  char32_t m_first = 0;
  std::size_t m_firstOffset = 0;
};

enum class TUtf8Walk { Done, DoneAscii, Damaged };

// Converts UTF-8 into the sink. With `stopAtDamage` the walk gives up at the
// first damaged sequence (the text is then not UTF-8); otherwise each damaged
// sequence counts as a character that cannot be held.
TUtf8Walk Utf8ToSink(std::string_view s, TSjisSink& sink, bool stopAtDamage) {
  const auto* begin = reinterpret_cast<const unsigned char*>(s.data());
  const auto* p = begin;
  const auto* end = begin + s.size();
  bool nonAscii = false;
  while (p < end) {
    const unsigned char b = *p;
    if (b < 0x80) {
      const std::size_t run = AsciiRun(p, end);
      sink.Ascii(p, run);
      p += run;
      continue;
    }
    nonAscii = true;
    // Three-byte sequences that can be neither overlong nor surrogates
    // (E1-EC, EE-EF): kana, kanji and full-width forms, the bulk of Japanese.
    if (b >= 0xE1 && b != 0xED && b <= 0xEF && end - p >= 3 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) {
      sink.Char(((b & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F), static_cast<std::size_t>(p - begin));
      p += 3;
      continue;
    }
    char32_t cp;
    std::size_t damaged;
    const std::size_t len = DecodeUtf8Multi(p, end, cp, damaged);
    if (len == 0) {
      if (stopAtDamage) return TUtf8Walk::Damaged;
      sink.Unmappable(kDamaged, static_cast<std::size_t>(p - begin));
      p += damaged;
    } else {
      sink.Char(cp, static_cast<std::size_t>(p - begin));
      p += len;
    }
  }
  return nonAscii ? TUtf8Walk::Done : TUtf8Walk::DoneAscii;
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
  // The decoder's table is 0 for every pair that is not a mapped character,
  // including a byte that is no lead byte at all.
  const char16_t* table = Cp932DecodeTable();
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const auto* end = p + s.size();
  doubleByteAbove9F = false;
  while (p < end) {
    p += AsciiRun(p, end);
    if (p == end) break;
    const unsigned char b = *p;
    if (b >= 0xA1 && b <= 0xDF) {
      ++p;
      continue;
    }
    if (end - p < 2 || table[b * 256 + p[1]] == 0) return false;
    if (b >= 0xE0) doubleByteAbove9F = true;
    p += 2;
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

bool IsValidUtf8(std::string_view bytes) {
  bool nonAscii = false;
  return IsValidUtf8(bytes, nonAscii);
}

namespace {

// The encoding of bytes that are neither marked nor UTF-8.
TTextEncoding DetectShiftJisOrEuc(std::string_view bytes) {
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

// The encoding a byte-order mark names, if the bytes begin with one.
std::optional<TTextEncoding> MarkedEncoding(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return TTextEncoding::Utf8;
  if (bytes.starts_with("\xFF\xFE")) return TTextEncoding::Utf16Le;
  if (bytes.starts_with("\xFE\xFF")) return TTextEncoding::Utf16Be;
  return std::nullopt;
}

// Whether the first non-ASCII byte begins a valid UTF-8 sequence: Shift JIS
// and EUC-JP text fails here at once, so it is never walked as UTF-8.
bool MayBeUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = p + bytes.size();
  p += AsciiRun(p, end);
  if (p == end) return false;
  char32_t cp;
  std::size_t damaged;
  return DecodeUtf8Multi(p, end, cp, damaged) != 0;
}

}  // namespace

TTextEncoding DetectTextEncoding(std::string_view bytes, bool* byteOrderMark) {
  const auto marked = MarkedEncoding(bytes);
  if (byteOrderMark) *byteOrderMark = marked.has_value();
  if (marked) return *marked;
  bool nonAscii = false;
  if (IsValidUtf8(bytes, nonAscii)) {
    if (nonAscii) return TTextEncoding::Utf8;
    return TTextEncoding::ShiftJis;  // ASCII reads the same whichever way
  }
  return DetectShiftJisOrEuc(bytes);
}

namespace {

// The result of a finished conversion: the report, and with Refuse an empty
// text when characters cannot be held.
bool Conclude(TSjisSink& sink, TSjisTarget& target, std::string_view text, TTextEncoding encoding,
              TSubstitution substitution, TUnmappable& report) {
  report = {};
  if (sink.Count() != 0) {
    report.count = sink.Count();
    report.first = sink.First();
    report.line = LineOfOffset(text, sink.FirstOffset(), encoding);
    if (substitution == TSubstitution::Refuse) {
      target.Finish(0);
      return false;
    }
  }
  target.Finish(sink.Used());
  return true;
}

// Converts `bytes` from a known encoding other than Shift JIS into `target`.
bool Convert(std::string_view bytes, TTextEncoding encoding, TSubstitution substitution, TSjisTarget& target,
             TUnmappable& report) {
  const std::string_view text = bytes.substr(BomLength(bytes, encoding));
  TSjisSink sink(target, text.size(), substitution);
  switch (encoding) {
    case TTextEncoding::Utf8:
      Utf8ToSink(text, sink, false);
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
  return Conclude(sink, target, text, encoding, substitution, report);
}

}  // namespace

bool ToShiftJis(std::string_view bytes, TTextEncoding encoding, TSubstitution substitution, std::string& out,
                TUnmappable& report) {
  report = {};
  out.clear();
  if (encoding == TTextEncoding::ShiftJis) {
    out.assign(bytes);
    return true;
  }
  TStringTarget target(out);
  return Convert(bytes, encoding, substitution, target, report);
}

namespace {

// Shift JIS to UTF-8 in one pass through the decoder's table, as Cp932ToUtf8
// gives it (bytes that are no character become the codec's escapes), without
// the UTF-16 string in between: saving a large document writes it all.
std::string SjisToUtf8(std::string_view sjis) {
  const char16_t* table = Cp932DecodeTable();
  std::string out;
  // No character takes more than three bytes; two-byte characters never
  // grow by more than half, so this is enough unless the text is mostly
  // half-width katakana or damaged bytes.
  std::size_t size = sjis.size() + sjis.size() / 2 + 16;
  out.resize(size);
  char* o = out.data();
  const auto* p = reinterpret_cast<const unsigned char*>(sjis.data());
  const auto* end = p + sjis.size();
  while (p < end) {
    if (static_cast<std::size_t>(o - out.data()) + 3 > size) {
      const std::size_t used = static_cast<std::size_t>(o - out.data());
      size = size * 2;
      out.resize(size);
      o = out.data() + used;
    }
    const unsigned char b = *p;
    char32_t cp;
    if (b < 0x80) {
      *o++ = static_cast<char>(b);
      ++p;
      continue;
    }
    if (b >= 0xA1 && b <= 0xDF) {
      cp = 0xFF61 + (b - 0xA1);
      ++p;
    } else if (end - p >= 2 && table[b * 256 + p[1]] != 0) {
      cp = table[b * 256 + p[1]];
      p += 2;
    } else {
      cp = kByteEscapeBase + b;
      ++p;
    }
    if (cp < 0x80) {
      *o++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
      *o++ = static_cast<char>(0xC0 | (cp >> 6));
      *o++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      *o++ = static_cast<char>(0xE0 | (cp >> 12));
      *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *o++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

}  // namespace

std::string FromShiftJis(std::string_view sjis, TTextEncoding encoding) {
  switch (encoding) {
    case TTextEncoding::ShiftJis:
      return std::string(sjis);
    case TTextEncoding::Utf8:
      return SjisToUtf8(sjis);
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

// DecodeTextFile, except that Shift JIS is left in `bytes` (the result says
// so through `isShiftJis`) for the caller to copy, move or view. Unmarked text
// that may be UTF-8 is converted as UTF-8 at once, the walk giving up at the
// first damaged sequence, so a UTF-8 file is walked once, not validated first.
bool DecodeDetected(std::string_view bytes, TSubstitution substitution, TSjisTarget& target, TDecodedText& out,
                    bool& isShiftJis) {
  out.form = {};
  out.unmappable = {};
  isShiftJis = false;
  TTextEncoding encoding;
  if (const auto marked = MarkedEncoding(bytes)) {
    encoding = *marked;
    out.form.byteOrderMark = true;
  } else if (MayBeUtf8(bytes)) {
    TSjisSink sink(target, bytes.size(), substitution);
    const TUtf8Walk walk = Utf8ToSink(bytes, sink, true);
    if (walk == TUtf8Walk::Done) {
      out.form.encoding = TTextEncoding::Utf8;
      return Conclude(sink, target, bytes, TTextEncoding::Utf8, substitution, out.unmappable);
    }
    target.Finish(0);
    encoding = walk == TUtf8Walk::DoneAscii ? TTextEncoding::ShiftJis : DetectShiftJisOrEuc(bytes);
  } else {
    bool nonAscii = false;
    encoding = IsValidUtf8(bytes, nonAscii) ? TTextEncoding::ShiftJis : DetectShiftJisOrEuc(bytes);
  }
  out.form.encoding = encoding;
  if (encoding == TTextEncoding::ShiftJis) {
    isShiftJis = true;
    return true;
  }
  return Convert(bytes, encoding, substitution, target, out.unmappable);
}

// Shift JIS text is written with CR LF, as nuv has always written it; other
// text keeps its own line ends.
void NoteLineEnd(std::string_view sjis, TTextForm& form) {
  if (form.encoding != TTextEncoding::ShiftJis) form.lineEnd = FirstLineEnd(sjis);
}

}  // namespace

bool DecodeTextFile(std::string_view bytes, TSubstitution substitution, TDecodedText& out) {
  bool isShiftJis = false;
  out.sjis.clear();
  TStringTarget target(out.sjis);
  const bool ok = DecodeDetected(bytes, substitution, target, out, isShiftJis);
  if (isShiftJis) out.sjis.assign(bytes);
  NoteLineEnd(out.sjis, out.form);
  return ok;
}

bool DecodeTextView(std::string_view bytes, TSubstitution substitution, TDecodedText& out, TTextBuffer& converted,
                    std::string_view& sjis) {
  bool isShiftJis = false;
  TBufferTarget target(converted);
  const bool ok = DecodeDetected(bytes, substitution, target, out, isShiftJis);
  sjis = isShiftJis ? bytes : converted.View();
  NoteLineEnd(sjis, out.form);
  return ok;
}

TTextFileResult ReadTextFile(const std::string& path, TSubstitution substitution, TDecodedText& out) {
  std::string bytes;
  if (ReadWholeFile(path, bytes) != TReadResult::Ok) return TTextFileResult::ReadFailed;
  bool isShiftJis = false;
  out.sjis.clear();
  TStringTarget target(out.sjis);
  const bool ok = DecodeDetected(bytes, substitution, target, out, isShiftJis);
  if (isShiftJis) out.sjis = std::move(bytes);
  NoteLineEnd(out.sjis, out.form);
  return ok ? TTextFileResult::Ok : TTextFileResult::Unmappable;
}

// ---------------------------------------------------------------- TTextBuffer

namespace {
// Below this a buffer comes from malloc; above, from its own mapping.
constexpr std::size_t kMappedBufferMin = 2u << 20;
}  // namespace

TTextBuffer::~TTextBuffer() { Release(); }

void TTextBuffer::Release() {
  if (m_mapped)
    munmap(m_data, m_capacity);
  else
    std::free(m_data);
  m_data = nullptr;
  m_capacity = m_size = 0;
  m_mapped = false;
}

char* TTextBuffer::Grow(std::size_t used, std::size_t atLeast) {
  if (atLeast <= m_capacity) return m_data;
  char* data = nullptr;
  bool mapped = false;
  if (atLeast >= kMappedBufferMin) {
    void* p = mmap(nullptr, atLeast, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p != MAP_FAILED) {
      // Huge pages: tens of megabytes touched page by page cost more than
      // the conversion that fills them.
      madvise(p, atLeast, MADV_HUGEPAGE);
      data = static_cast<char*>(p);
      mapped = true;
    }
  }
  if (!data) data = static_cast<char*>(std::malloc(atLeast));
  if (!data) throw std::bad_alloc();
  if (used) std::memcpy(data, m_data, std::min(used, m_capacity));
  Release();
  m_data = data;
  m_capacity = atLeast;
  m_mapped = mapped;
  return m_data;
}

void TTextBuffer::SetSize(std::size_t size) {
  if (size == 0) Release();
  m_size = std::min(size, m_capacity);
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
