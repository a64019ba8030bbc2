// The framework: brackets, wrapped tokens, blank rows, numbers, mail and
// URLs, its errors, colour visiting, and the scanner's safety on bad bytes.
#include <gtest/gtest.h>

#include "FountainTestUtil.h"
#include "base/Error.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

// A plain fountain with one "/*" ... "*/" bracket and the quote procedures.
class TPlainFountain : public TFountain {
 public:
  class TParser : public TFountainParser {
   public:
    explicit TParser(TFountain* f) : TFountainParser(f) {
      SetMethod('"', &TParser::DoubleQuotationProc);
      SetMethod('\'', &TParser::SingleQuotationProc);
    }
    const TFountainColor* TokenToFountainColor() const override { return nullptr; }
  };
  TPlainFountain() {
    Brackets().Add("/*", "*/", TFountainColor(clGreen, clNone, 0));
    AddReserveWords({"begin", "end"});
  }
  std::unique_ptr<TFountainParser> NewParser() override { return std::make_unique<TParser>(this); }
};

std::string Dump(TFountain& f, const std::string& text, int wrap = 0) { return DumpTokens(f, text, wrap); }

TEST(FountainFramework, BracketOpensAndClosesOverRows) {
  TPlainFountain f;
  EXPECT_EQ(Dump(f, "ab /* cd\r\nef */ gh\r\nij\r\n"),
            "0 c [b-1 e0 w0 r0 t- p-] Ank@0+2 Bracket@3+5\n"
            "1 c [b0 e0 w0 r0 t- p-] Bracket@0+5 Ank@6+2\n"
            "2 c [b-1 e0 w0 r0 t- p-] Ank@0+2\n");
}

TEST(FountainFramework, WrappedWordContinuesWithItsKindAndByteCount) {
  TPlainFountain f;
  // 18 bytes, a blank, then "beginning" cut after its "b" at 20 columns.
  const std::string dump = Dump(f, "aaaaaaaaaaaaaaaaaa beginning xxxxxxxxxxx end\r\n", 20);
  EXPECT_NE(dump.find("1 w [b-1 e0 w8 r0 tAnk p-] Ank@0+8"), std::string::npos) << dump;
  const std::string reserved = Dump(f, "aaaaaaaaaaaaaaaaaa begin\r\n", 20);
  EXPECT_NE(reserved.find("1 c [b-1 e0 w4 r0 tReserve p-] Reserve@0+4"), std::string::npos) << reserved;
  EXPECT_NE(reserved.find("Ank*@19+5"), std::string::npos) << reserved;
}

TEST(FountainFramework, WrappedStringContinuesWithoutOpeningQuote) {
  TPlainFountain f;
  const std::string dump = Dump(f, "aaaaaaaaaaaaaaa \"bcdefghij\" k\r\n", 20);
  EXPECT_NE(dump.find("0 w [b-1 e0 w0 r0 t- p-] Ank@0+15 DoubleQuotation@16+11"), std::string::npos) << dump;
  EXPECT_NE(dump.find("1 c [b-1 e0 w0 r0 tDoubleQuotation p-] DoubleQuotation@0+7 Ank@8+1"), std::string::npos) << dump;
}

TEST(FountainFramework, BlankRowPassesTheStateThrough) {
  TPlainFountain f;
  EXPECT_EQ(Dump(f, "/* a\r\n    \r\nb */\r\n"),
            "0 c [b-1 e0 w0 r0 t- p-] Bracket@0+4\n"
            "1 c [b0 e0 w0 r0 t- p-]\n"
            "2 c [b0 e0 w0 r0 t- p-] Bracket@0+4\n");
}

TEST(FountainFramework, NumbersSplitAsSpecified) {
  TPlainFountain f;
  EXPECT_EQ(Dump(f, "1.a 1e+5 12.5e3 7. 3E"),
            "0 e [b-1 e0 w0 r0 t- p-] Float@0+1 Symbol@1+1 Ank@2+1 Float@4+4 Float@9+6 Float@16+1 Symbol@17+1 Float@19+2\n");
}

TEST(FountainFramework, MailNeedsAnAtAndALaterPoint) {
  TEditorFountain f;
  f.InitPageEditorDefaults();
  EXPECT_EQ(Dump(f, "a.b@c.d @x.y p@q"),
            "0 e [b-1 e0 w0 r0 t- p-] Mail@0+7 Symbol@8+1 Ank@9+1 Symbol@10+1 Ank@11+1 Ank@13+1 Symbol@14+1 Ank@15+1\n");
  EXPECT_EQ(Dump(f, "http://x.org/a?b=1 www.y.jp ftp:z"),
            "0 e [b-1 e0 w0 r0 t- p-] Url@0+18 Url@19+8 Url@28+5\n");
}

TEST(FountainFramework, ErrorsAreTheFixedMessages) {
  try {
    TPlainFountain::TParser parser(nullptr);
    FAIL();
  } catch (const ENuvError& e) {
    EXPECT_EQ(e.Message(), "TFountainParser.Create need instance of TFountain");
  }
  TPlainFountain f;
  for (int i = 1; i < TFountainBracketCollection::kMaxBrackets; ++i) f.Brackets().Add();
  try {
    f.Brackets().Add();
    FAIL();
  } catch (const ENuvError& e) {
    EXPECT_EQ(e.Message(), "TFountainBracketCollection\r\nYou can not add item over 14");
  }
  EXPECT_EQ(f.Brackets().Count(), 14);
}

TEST(FountainFramework, ColoursAreVisitedAndEveryChangeIsHeard) {
  TFountainSet set;
  std::vector<std::string> names;
  set.Perl.VisitColors([&](std::string_view n, TFountainColor&) { names.emplace_back(n); });
  EXPECT_EQ(names.front(), "Reserve");
  EXPECT_EQ(names.back(), "TagElement");
  EXPECT_EQ(names.size(), 18u);
  int heard = 0;
  set.HTML.ChangeList().Add(&heard, [&](const void* sender) {
    EXPECT_EQ(sender, &set.HTML);
    ++heard;
  });
  EXPECT_FALSE(set.HTML.HasItalicFontStyle());
  set.HTML.Brackets().Item(0).ItemColor().SetStyle(fsItalic);
  EXPECT_TRUE(set.HTML.HasItalicFontStyle());
  set.HTML.TagColor.SetColor(clBlue);  // unchanged: nobody is told
  set.HTML.Ampersand.SetColor(clRed);
  EXPECT_EQ(heard, 2);
  set.HTML.SameFountainColor(TFountainColor(clBlack, clWhite, fsBold), coBkColor | coStyle);
  EXPECT_EQ(heard, 3);
  EXPECT_EQ(set.HTML.Url.BkColor(), clWhite);
  EXPECT_EQ(set.HTML.Url.Color(), clBlue);
  EXPECT_EQ(set.HTML.Url.Style(), fsBold);
}

TEST(FountainFramework, EditorRetokenizesWhenTheFountainChanges) {
  TPlainFountain f;
  std::unique_ptr<TEditor> editor = test::MakeEditor(f, "{ a\r\nb }\r\nc\r\n", 0);
  EXPECT_EQ(editor->GetListData(1).Bracket, -1);
  f.Brackets().Add("{", "}", TFountainColor());
  EXPECT_EQ(editor->GetListData(1).Bracket, 1);
  editor->SetFountain(nullptr);
}

// Rows of bytes that trouble a scanner: lead bytes at the row end, 0x82 and
// 0x83 with trail bytes outside their tables, quotes and brackets at the end,
// trail bytes 0x5C.
TEST(FountainFramework, BadBytesNeverStopOrOverrunAnyParser) {
  const std::vector<std::string> rows = {
      "\x82", "a\x83", "\x82\x20x", "\x83\xF5", "\x83\xFD\x83", "\"\x95", "'\x83", "/*\x81", "\x88",
      "\x88\x20\x88", "\x95\x5C\"", "q{\x83\x5C}", "\"\x83\x5C\" x", "$\x81", "<<\x82", "s/\x95\x5C/", "\\",
      "%Q\x83\x5C", "%r\x82", "<<\"\x83", "\x81\x00\x41", "#$", "0x", "*", "=begin\x81"};
  test::TFountains fountains;
  for (const char* name : {"text", "cpp", "delphi", "c", "delphilang", "awk", "html", "cobol", "perl", "ruby",
                           "java"}) {
    TFountain& f = fountains.Get(name);
    for (const std::string& row : rows) {
      for (const std::string& text : {row, row + "\r\n" + row, "        " + row}) {
        const std::string failure = test::CheckInvariants(f, text, test::TInvariantOptions{{20}, {}, false});
        EXPECT_EQ(failure, "") << name << " on " << testing::PrintToString(text);
      }
    }
  }
}

TEST(FountainFramework, TrailByteBackslashEscapesNothing) {
  test::TFountains fountains;
  // "表" is 95 5C, "ソ" 83 5C: the closing quote after them ends the string.
  const std::string text = test::Sj("\"表\" x \"ソ\" y");
  for (const char* name : {"c", "java", "awk"}) {
    const std::string dump = DumpTokens(fountains.Get(name), text, 0);
    EXPECT_NE(dump.find("DoubleQuotation@0+4 Ank@5+1 DoubleQuotation@7+4 Ank@12+1"), std::string::npos) << name << ": " << dump;
  }
}

TEST(FountainFramework, StoredCountersStayInTheirEightBits) {
  test::TFountains fountains;
  // Perl nesting deeper than 255 brackets is counted up to 255 only, so the
  // row after it starts exactly where the scan left off.
  const std::string deep = "q{" + std::string(300, '{') + "\r\n" + std::string(300, '}') + "}\r\nmy $x;\r\n";
  EXPECT_EQ(test::CheckInvariants(fountains.Get("perl"), deep, test::TInvariantOptions{{}, {}, false}), "");
  // A long word cut by the wrap: each row's part is at most the wrap width,
  // and the stored byte count always fits.
  const std::string longWord = std::string(600, 'w') + " end\r\n";
  EXPECT_EQ(test::CheckInvariants(fountains.Get("text"), longWord, test::TInvariantOptions{{250}, {}, false}), "");
}

TEST(FountainFramework, ByteCountsBeyondTheStoredRangeReenterTheToken) {
  // Rows as a wrapper with a wider width would make them: a 300-byte word
  // cut after 10 bytes, its rest on the next row.
  TPlainFountain f;
  TEditorStringList list;
  list.Add("aaaaaaaaaa");
  list.SetRows(0, raWrapped);
  list.Add(std::string(300, 'a') + " end");
  std::unique_ptr<TFountainParser> parser = f.NewParser();
  TRowAttributeData data;
  parser->LastTokenBracket(0, list, data);
  EXPECT_EQ(data.Token, tokAnk);
  EXPECT_EQ(data.WrappedByte, 0);  // 300 would not fit: the word re-enters
  data.PrevRow = raWrapped;
  const std::vector<TTokenInfo> tokens = RowTokens(*parser, list, 1, data);
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(tokens[0], (TTokenInfo{tokAnk, 0, 300, false, tokAnk}));
  EXPECT_EQ(tokens[1], (TTokenInfo{tokAnk, 301, 3, true, tokReserve}));
}

}  // namespace
}  // namespace nuv
