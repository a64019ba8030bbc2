// The CP932 codec: lossless decoding, refusing what CP932 cannot hold, and
// agreement with the iconv program.
#include <gtest/gtest.h>

#include <cstdio>

#include "base/Codec.h"
#include "base/Sjis.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

TEST(CodecTest, JapaneseTextRoundTrips) {
  const std::string utf8 = "ごみ箱 表ソ アｱ ～ ①Ⅰ ㈱ 髙";
  const auto sjis = Utf8ToCp932(utf8);
  ASSERT_TRUE(sjis);
  EXPECT_EQ(Cp932ToUtf8(*sjis), utf8);
  EXPECT_EQ(Utf8ToCp932("\xe3\x81\x94\xe3\x81\xbf\xe7\xae\xb1").value(), "\x82\xb2\x82\xdd\x94\xa0");
  EXPECT_EQ(Utf8ToCp932("\\~").value(), "\\~");
}

TEST(CodecTest, EveryDoubleByteCodeDecodesToACharacterThatEncodesBackToIt) {
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (!IsTrailByte(static_cast<unsigned char>(trail))) continue;
      const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
      const std::u16string wide = DecodeCp932(code);
      const auto back = EncodeCp932(wide);
      ASSERT_TRUE(back) << std::hex << lead << trail;
      // Duplicate codes (NEC and IBM extensions) encode to one canonical code
      // that decodes to the same character.
      EXPECT_EQ(DecodeCp932(*back), wide) << std::hex << lead << trail;
      if (wide.size() == 1) {
        EXPECT_EQ(back->size(), 2u);
      }
    }
  }
}

TEST(CodecTest, UndecodableBytesSurviveARoundTrip) {
  const std::string bytes("\x80\xa0\xfd\xfe\xff\x85\x40z\x82", 9);
  const std::u16string wide = DecodeCp932(bytes);
  EXPECT_EQ(wide[0], kByteEscapeBase + 0x80);
  EXPECT_EQ(EncodeCp932(wide).value(), bytes);
  const std::string nul("a\0b", 3);
  EXPECT_EQ(EncodeCp932(DecodeCp932(nul)).value(), nul);
}

TEST(CodecTest, RefusesCharactersCp932CannotHold) {
  std::size_t bad = 99;
  EXPECT_FALSE(EncodeCp932(u"ab\u00e9", &bad));
  EXPECT_EQ(bad, 2u);
  EXPECT_FALSE(Utf8ToCp932("\xf0\x9f\x98\x80"));  // an emoji
  EXPECT_FALSE(CanEncodeCp932(u"\u4e02"));          // a CJK character outside JIS
}

TEST(CodecTest, JisFormsFromInputMethodsMapToCp932) {
  struct Case {
    char16_t from;
    const char* sjis;
  } cases[] = {{0x301C, "\x81\x60"}, {0x2016, "\x81\x61"}, {0x2212, "\x81\x7c"}, {0x00A2, "\x81\x91"},
               {0x00A3, "\x81\x92"}, {0x00AC, "\x81\xca"}, {0x2014, "\x81\x5c"}};
  for (const auto& c : cases)
    EXPECT_EQ(EncodeCp932(std::u16string(1, c.from)).value(), c.sjis) << static_cast<int>(c.from);
}

TEST(CodecTest, AgreesWithTheIconvProgram) {
  test::TTempDir dir;
  const std::string utf8 = "漢字かなカナ①～∥－￠￡￢ｶﾅ\\~\r\n";
  dir.Write("in.txt", utf8);
  const std::string cmd = "iconv -f UTF-8 -t CP932 " + dir.File("in.txt") + " > " + dir.File("out.txt");
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  EXPECT_EQ(Utf8ToCp932(utf8).value(), dir.Read("out.txt"));
}

}  // namespace
}  // namespace nuv
