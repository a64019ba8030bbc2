// Detection of text-file encodings and conversion to and from Shift JIS,
// checked against the C library's iconv as an independent converter.
#include <gtest/gtest.h>

#include "base/Codec.h"
#include "base/TextEncoding.h"
#include "support/Iconv.h"

namespace nuv {
namespace {

using test::Iconv;

std::string Sjis(std::string_view utf8) { return Iconv(utf8, "CP932"); }
std::string Euc(std::string_view utf8) { return Iconv(utf8, "EUC-JP-MS"); }

using E = TTextEncoding;

TEST(TextEncodingTest, DetectsEachEncoding) {
  const std::string japanese = "日本語の文章です。①と～\r\n";
  struct Case {
    const char* what;
    std::string bytes;
    E encoding;
    bool bom;
  } cases[] = {
      {"empty", "", E::ShiftJis, false},
      {"ASCII reads the same whichever way", "plain text\r\n.title\r\n", E::ShiftJis, false},
      {"UTF-8 with Japanese", japanese, E::Utf8, false},
      {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + japanese, E::Utf8, true},
      {"UTF-8 byte-order mark on ASCII", "\xEF\xBB\xBF" "abc", E::Utf8, true},
      {"UTF-8 byte-order mark alone", "\xEF\xBB\xBF", E::Utf8, true},
      {"UTF-16LE with a byte-order mark", "\xFF\xFE" + Iconv(japanese, "UTF-16LE"), E::Utf16Le, true},
      {"UTF-16BE with a byte-order mark", "\xFE\xFF" + Iconv(japanese, "UTF-16BE"), E::Utf16Be, true},
      {"UTF-16LE ASCII with a byte-order mark", "\xFF\xFE" + Iconv("ab", "UTF-16LE"), E::Utf16Le, true},
      {"Shift JIS with Japanese", Sjis(japanese), E::ShiftJis, false},
      {"Shift JIS trail bytes 5C and 7C", Sjis("表ソポ\\|"), E::ShiftJis, false},
      {"Shift JIS NEC and IBM extensions", Sjis("①Ⅹ㈱髙纊"), E::ShiftJis, false},
      {"EUC-JP with Japanese", Euc(japanese), E::EucJp, false},
      {"EUC-JP one hiragana", Euc("あ"), E::EucJp, false},
      {"EUC-JP kanji only, invalid as Shift JIS", Euc("東京"), E::EucJp, false},
      {"EUC-JP half-width katakana with kana", Euc("ｱｲｳと"), E::EucJp, false},
      // EUC-JP half-width katakana alone (8E B1 ...) is also Shift JIS kanji
      // whose lead byte is 8E; the Shift JIS reading wins.
      {"EUC-JP half-width katakana alone", Euc("ｱｲｳ"), E::ShiftJis, false},
      {"UTF-8 emoji", "smile \xF0\x9F\x98\x80\n", E::Utf8, false},
      // Ambiguous: C3 A9 is both UTF-8 "é" and Shift JIS "ﾃｩ"; UTF-8 wins.
      {"two bytes valid as UTF-8 and Shift JIS", "\xC3\xA9", E::Utf8, false},
      // Half-width katakana in Shift JIS whose pairs are also EUC-JP kanji and
      // hold no EUC-JP kana or punctuation: Shift JIS.
      {"Shift JIS half-width katakana valid as EUC-JP", Sjis("ｶﾀｶﾅ"), E::ShiftJis, false},
      // The same bytes with an EUC-JP hiragana among them: EUC-JP.
      {"Shift JIS half-width pairs reading as EUC-JP kana", Sjis("､｢"), E::EucJp, false},
      {"Shift JIS odd half-width katakana", Sjis("ﾃｽﾄ"), E::ShiftJis, false},
      {"one lone lead byte falls back to Shift JIS", "\x82", E::ShiftJis, false},
      {"damaged in every encoding falls back to Shift JIS", "a\x80\xFF", E::ShiftJis, false},
      {"UTF-8 cut inside a character is not UTF-8", std::string("\xE6\x97\xA5\xE6\x9C"), E::ShiftJis, false},
      {"UTF-8 overlong form is not UTF-8", "\xC0\xAF", E::ShiftJis, false},
  };
  for (const auto& c : cases) {
    bool bom = !c.bom;
    EXPECT_EQ(DetectTextEncoding(c.bytes, &bom), c.encoding) << c.what;
    EXPECT_EQ(bom, c.bom) << c.what;
    // The decoder, which tries UTF-8 by converting, reaches the same answer.
    TDecodedText decoded;
    DecodeTextFile(c.bytes, TSubstitution::Substitute, decoded);
    EXPECT_EQ(decoded.form.encoding, c.encoding) << c.what;
    EXPECT_EQ(decoded.form.byteOrderMark, c.bom) << c.what;
  }
}

TEST(TextEncodingTest, EveryEncodingReadsToTheSameShiftJis) {
  const std::string text = "見出し\r\n.第一章 表ソポ①Ⅰ㈱～\r\n本文 ｱｲｳ abc\\|\r\n";
  const std::string expected = Sjis(text);
  for (const std::string& bytes :
       {expected, text, "\xEF\xBB\xBF" + text, "\xFF\xFE" + Iconv(text, "UTF-16LE"),
        "\xFE\xFF" + Iconv(text, "UTF-16BE"), Euc(text)}) {
    TDecodedText decoded;
    ASSERT_TRUE(DecodeTextFile(bytes, TSubstitution::Refuse, decoded));
    EXPECT_EQ(decoded.sjis, expected) << TextEncodingName(decoded.form.encoding);
    EXPECT_EQ(decoded.unmappable.count, 0u);
    EXPECT_EQ(EncodeTextFile(decoded.sjis, decoded.form), bytes) << TextEncodingName(decoded.form.encoding);
  }
}

TEST(TextEncodingTest, LineEndsAreRememberedAndWrittenBack) {
  struct Case {
    std::string utf8;
    TLineEnd lineEnd;
  } cases[] = {{"あ\r\nい\r\n", TLineEnd::CrLf}, {"あ\nい\n", TLineEnd::Lf}, {"あ\rい\r", TLineEnd::Cr},
               {"あい", TLineEnd::CrLf}};
  for (const auto& c : cases) {
    TDecodedText decoded;
    ASSERT_TRUE(DecodeTextFile(c.utf8, TSubstitution::Refuse, decoded));
    EXPECT_EQ(decoded.form.lineEnd, c.lineEnd) << c.utf8;
    // The writers produce CR LF; the file gets its own line ends back.
    std::string crlf;
    for (char ch : decoded.sjis) {
      if (ch == '\n' || ch == '\r') crlf += "\r\n";
      else crlf += ch;
    }
    if (c.lineEnd == TLineEnd::CrLf) crlf = decoded.sjis;
    EXPECT_EQ(EncodeTextFile(crlf, decoded.form), c.utf8);
  }
}

TEST(TextEncodingTest, RefusesOrSubstitutesWhatShiftJisCannotHold) {
  // Line 3 holds the first emoji; "é" and the CJK character outside JIS follow.
  const std::string utf8 = "a\r\nb\nc\xF0\x9F\x98\x80 \xC3\xA9 \xE4\xB8\x82 \xF0\x9F\x98\x80\n";
  for (const std::string& bytes : {utf8, "\xFF\xFE" + Iconv(utf8, "UTF-16LE"), "\xFE\xFF" + Iconv(utf8, "UTF-16BE")}) {
    std::string out = "old";
    TUnmappable report;
    const E encoding = DetectTextEncoding(bytes);
    EXPECT_FALSE(ToShiftJis(bytes, encoding, TSubstitution::Refuse, out, report));
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(report.count, 4u);
    EXPECT_EQ(report.line, 3u);
    EXPECT_EQ(report.first, 0x1F600u);
    ASSERT_TRUE(ToShiftJis(bytes, encoding, TSubstitution::Substitute, out, report));
    EXPECT_EQ(report.count, 4u);
    EXPECT_EQ(out, "a\r\nb\nc\x81\xAC \x81\xAC \x81\xAC \x81\xAC\n");
  }
}

TEST(TextEncodingTest, DamagedSequencesCountAsCharactersThatCannotBeHeld) {
  struct Case {
    std::string bytes;
    E encoding;
    std::size_t count;
    std::string substituted;
  } cases[] = {
      {"a\xE6\x97z", E::Utf8, 1, "a\x81\xACz"},                 // cut short: one damaged sequence
      {"\xED\xA0\x80", E::Utf8, 1, "\x81\xAC"},                  // an encoded surrogate
      {"\xEF\xA0\x80", E::Utf8, 1, "\x81\xAC"},                  // U+F800: private use, not in CP932
      {std::string("\x00\xD8\x41\x00", 4), E::Utf16Le, 1, "\x81\xAC" "A"},  // a lone high surrogate
      {std::string("A\x00z", 3), E::Utf16Le, 1, "A\x81\xAC"},   // an odd last byte
      {"\xA4\xA2\xA4", E::EucJp, 1, "\x82\xA0\x81\xAC"},        // a cut EUC-JP character
  };
  for (const auto& c : cases) {
    std::string out;
    TUnmappable report;
    EXPECT_FALSE(ToShiftJis(c.bytes, c.encoding, TSubstitution::Refuse, out, report));
    EXPECT_EQ(report.count, c.count);
    EXPECT_TRUE(ToShiftJis(c.bytes, c.encoding, TSubstitution::Substitute, out, report));
    EXPECT_EQ(out, c.substituted);
  }
}

TEST(TextEncodingTest, ShiftJisSurvivesEveryEncodingAndBack) {
  // Every mapped double-byte code, half-width katakana, and bytes that are no
  // character at all (a lone lead byte, 0x80, 0xFD).
  std::string all = "abc\xB1\xDF\r\n";
  const char16_t* table = Cp932DecodeTable();
  for (unsigned code = 0x8140; code <= 0xFCFC; ++code)
    if (table[code]) all += {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  const std::string canonical = EncodeCp932(DecodeCp932(all)).value();
  const std::string damaged = canonical + "\x80 \xFD \x82";
  for (E encoding : {E::Utf8, E::Utf16Le, E::Utf16Be, E::EucJp}) {
    const std::string& text = encoding == E::EucJp ? canonical : damaged;
    std::string back;
    TUnmappable report;
    ASSERT_TRUE(ToShiftJis(FromShiftJis(text, encoding), encoding, TSubstitution::Refuse, back, report))
        << TextEncodingName(encoding) << " " << report.count << " " << CodePointName(report.first);
    EXPECT_EQ(back, text) << TextEncodingName(encoding);
  }
  // The bytes agree with the C library's converters.
  const std::string utf8 = Cp932ToUtf8(canonical);
  EXPECT_EQ(FromShiftJis(canonical, E::Utf8), utf8);
  EXPECT_EQ(FromShiftJis(damaged, E::Utf8), Cp932ToUtf8(damaged));
  const std::string kana(3000, '\xB1');  // half-width katakana: three UTF-8 bytes each
  EXPECT_EQ(FromShiftJis(kana, E::Utf8), Cp932ToUtf8(kana));
  EXPECT_EQ(FromShiftJis(canonical, E::Utf16Be), Iconv(utf8, "UTF-16BE"));
  EXPECT_EQ(FromShiftJis(canonical, E::EucJp), Euc(utf8));
}

TEST(TextEncodingTest, NamesOnTheCommandLine) {
  EXPECT_EQ(SaveEncodingFromName("UTF-8"), E::Utf8);
  EXPECT_EQ(SaveEncodingFromName("utf8"), E::Utf8);
  EXPECT_EQ(SaveEncodingFromName("Shift_JIS"), E::ShiftJis);
  EXPECT_EQ(SaveEncodingFromName("cp932"), E::ShiftJis);
  EXPECT_FALSE(SaveEncodingFromName("euc-jp"));
  EXPECT_FALSE(SaveEncodingFromName("utf-16"));
  EXPECT_EQ(CodePointName(0x1F600), "U+1F600");
  EXPECT_EQ(CodePointName(0xE9), "U+00E9");
}

}  // namespace
}  // namespace nuv
