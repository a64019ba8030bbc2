// Width and case conversion tables. They are written once as UTF-8 and
// turned into Shift JIS lookups at first use.
#include "exchange/TextConversions.h"

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "base/Codec.h"
#include "base/Sjis.h"

namespace nuv {

namespace {

constexpr unsigned char kVoiced = 0xDE;      // ﾞ
constexpr unsigned char kSemiVoiced = 0xDF;  // ﾟ

uint16_t Code(std::string_view twoBytes) {
  return static_cast<uint16_t>(static_cast<unsigned char>(twoBytes[0]) << 8 | static_cast<unsigned char>(twoBytes[1]));
}

struct TTable {
  std::array<std::string, 256> single;                 // one byte to its full-width character
  std::unordered_map<uint16_t, std::string> withMark;  // a kana and its mark to one character
  std::unordered_map<uint16_t, std::string> toHalf;    // a double-byte character to its entry
};

// Pairs the characters of two texts one to one; a half entry of two
// characters (a kana and its mark) is given as one element of `halves`.
TTable Build(const std::vector<std::string>& halves, std::string_view fullUtf8) {
  const std::string full = SjisFromLiteral(fullUtf8);
  TTable table;
  std::size_t at = 0;
  for (const std::string& halfUtf8 : halves) {
    const std::string half = SjisFromLiteral(halfUtf8);
    const std::string wide = full.substr(at, 2);
    at += 2;
    if (half.size() == 1) table.single[static_cast<unsigned char>(half[0])] = wide;
    else table.withMark.emplace(Code(half), wide);
    table.toHalf.emplace(Code(wide), half);
  }
  return table;
}

std::vector<std::string> Characters(std::u16string_view chars) {
  std::vector<std::string> out;
  for (char16_t c : chars) out.push_back(Utf16ToUtf8(std::u16string(1, c)));
  return out;
}

const TTable& TableOf(TConvTable which) {
  static const std::array<TTable, 3> tables = [] {
    std::vector<std::string> kana = Characters(u"ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝﾞﾟ");
    for (char16_t c : std::u16string_view(u"ｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾊﾋﾌﾍﾎ")) kana.push_back(Utf16ToUtf8(std::u16string{c, u'ﾞ'}));
    for (char16_t c : std::u16string_view(u"ﾊﾋﾌﾍﾎ")) kana.push_back(Utf16ToUtf8(std::u16string{c, u'ﾟ'}));
    kana.push_back("ｳﾞ");
    return std::array<TTable, 3>{
        Build(Characters(u"0123456789"), "０１２３４５６７８９"),
        Build(Characters(u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"),
              "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ"),
        Build(kana,
              "ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜"
              "ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポヴ"),
    };
  }();
  return tables[static_cast<std::size_t>(which)];
}

template <typename Step>
std::string Walk(std::string_view text, Step step) {
  std::string out;
  out.reserve(text.size() * 2);
  std::size_t i = 0;
  while (i < text.size()) i += step(text, i, out);
  return out;
}

std::string MapAsciiLetters(std::string_view text, char from, char to) {
  return Walk(text, [from, to](std::string_view s, std::size_t i, std::string& out) {
    const std::size_t length = CharLength(s, i);
    const char c = s[i];
    out.append(s.substr(i, length));
    if (length == 1 && c >= from && c <= from + 25) out.back() = static_cast<char>(c - from + to);
    return length;
  });
}

}  // namespace

std::string HalfToFull(std::string_view text, TConvTable which) {
  const TTable& table = TableOf(which);
  return Walk(text, [&table](std::string_view s, std::size_t i, std::string& out) -> std::size_t {
    const std::size_t length = CharLength(s, i);
    if (length == 2) {
      out.append(s.substr(i, 2));
      return 2;
    }
    // A single-byte character is followed by a character boundary, so the mark is a character of its own.
    if (i + 1 < s.size()) {
      const auto next = static_cast<unsigned char>(s[i + 1]);
      if (next == kVoiced || next == kSemiVoiced) {
        const auto found = table.withMark.find(Code(s.substr(i, 2)));
        if (found != table.withMark.end()) {
          out += found->second;
          return 2;
        }
      }
    }
    const std::string& wide = table.single[static_cast<unsigned char>(s[i])];
    if (!wide.empty()) out += wide;
    else out.push_back(s[i]);
    return 1;
  });
}

std::string FullToHalf(std::string_view text, TConvTable which) {
  const TTable& table = TableOf(which);
  return Walk(text, [&table](std::string_view s, std::size_t i, std::string& out) {
    const std::size_t length = CharLength(s, i);
    const std::string_view ch = s.substr(i, length);
    const auto found = length == 2 ? table.toHalf.find(Code(ch)) : table.toHalf.end();
    if (found != table.toHalf.end()) out += found->second;
    else out.append(ch);
    return length;
  });
}

std::string LowerToUpper(std::string_view text) { return MapAsciiLetters(text, 'a', 'A'); }
std::string UpperToLower(std::string_view text) { return MapAsciiLetters(text, 'A', 'a'); }

std::string ConvertWidth(std::string_view text, const TWidthConversion& conversion) {
  std::string result(text);
  const auto apply = [&](bool on, TConvTable table) {
    if (on) result = conversion.toFull ? HalfToFull(result, table) : FullToHalf(result, table);
  };
  apply(conversion.digits, TConvTable::Digits);
  apply(conversion.letters, TConvTable::Letters);
  apply(conversion.katakana, TConvTable::Katakana);
  return result;
}

}  // namespace nuv
