// The null parser's plain tokens: a run of one character class is one token.
#include "editor/EditorParser.h"

#include "base/Sjis.h"

namespace nuv {

namespace {
enum : int {
  kTokTab = 9,
  kTokAnk = 11,
  kTokDBSymbol = 12,
  kTokDBDigit = 14,
  kTokDBLatin = 15,
  kTokDBHiragana = 16,
  kTokDBKatakana = 17,
  kTokDBKanji = 18,
  kTokKanaSymbol = 19,
  kTokKana = 20,
};

bool IsWordByte(unsigned char b) { return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b == '_'; }

// Kind of the double-byte character lead, trail.
int DoubleByteKind(unsigned char lead, unsigned char trail) {
  if (lead == 0x82) {
    if (trail >= 0x4F && trail <= 0x58) return kTokDBDigit;
    if ((trail >= 0x60 && trail <= 0x79) || (trail >= 0x81 && trail <= 0x9A)) return kTokDBLatin;
    if (trail >= 0x9F && trail <= 0xF1) return kTokDBHiragana;
    return kTokDBSymbol;
  }
  if (lead == 0x83) return trail <= 0x96 ? kTokDBKatakana : kTokDBSymbol;
  if ((lead >= 0x88 && lead <= 0x9F) || lead >= 0xE0) return kTokDBKanji;
  return kTokDBSymbol;
}

// The kind of the character at i (length len), for grouping runs.
int KindAt(const std::string& s, std::size_t i, std::size_t len) {
  const unsigned char b = static_cast<unsigned char>(s[i]);
  if (len == 2) return DoubleByteKind(b, static_cast<unsigned char>(s[i + 1]));
  if (b == '\t') return kTokTab;
  if (IsWordByte(b)) return kTokAnk;
  if (b >= 0xA1 && b <= 0xA5) return kTokKanaSymbol;
  if (b >= 0xA6 && b <= 0xDF) return kTokKana;
  return kTokSymbol;
}
}  // namespace

void TNullParser::NewData(std::string_view s, const TRowAttributeData&) {
  m_text.assign(s);
  m_start = m_pos = 0;
}

int TNullParser::NextToken() {
  // Blanks (control bytes and space, but not the tab) form no token.
  while (m_pos < m_text.size()) {
    const unsigned char b = static_cast<unsigned char>(m_text[m_pos]);
    if (b == 0 || b == '\t' || b > ' ') break;
    ++m_pos;
  }
  m_start = m_pos;
  if (m_pos >= m_text.size()) return 0;
  std::size_t len = CharLength(m_text, m_pos);
  const int kind = KindAt(m_text, m_pos, len);
  m_pos += len;
  // Single symbols, tabs and double-byte symbols stand alone; other kinds run on.
  if (kind == kTokSymbol || kind == kTokTab || kind == kTokDBSymbol || kind == kTokKanaSymbol) return kind;
  while (m_pos < m_text.size()) {
    len = CharLength(m_text, m_pos);
    if (KindAt(m_text, m_pos, len) != kind) break;
    m_pos += len;
  }
  return kind;
}

}  // namespace nuv
