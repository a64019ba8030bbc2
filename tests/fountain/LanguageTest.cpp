// The language tokenizers' own rules, one group per language.
#include <gtest/gtest.h>

#include "FountainTestUtil.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

class Language : public testing::Test {
 protected:
  std::string Dump(const char* name, const std::string& text, int wrap = 0) {
    return DumpTokens(m_fountains.Get(name), text, wrap);
  }
  test::TFountains m_fountains;
};

TEST_F(Language, PerlSubstitutionWithBracketsIsOneConstruct) {
  EXPECT_EQ(Dump("perl", "s{a}{b}g;\r\nx\r\n"),
            "0 c [b-1 e0 w0 r0 t0 p0] 67@0+2 67@2+1 68@3+1 68@4+1 68@5+1 68@6+2 1@8+1\n"
            "1 c [b-1 e0 w0 r0 t0 p1] 11@0+1\n");
}

TEST_F(Language, PerlSlashDividesBeforeASpaceElseOpensAPattern) {
  EXPECT_EQ(Dump("perl", "$a / $b;\r\n/ab\r\ncd/x;\r\n"),
            "0 c [b-1 e0 w0 r0 t0 p0] 60@0+2 1@3+1 60@5+2 1@7+1\n"
            "1 c [b-1 e0 w0 r0 t0 p1] 66@0+1 66@1+2\n"
            "2 c [b-1 e47 w0 r1 t0 p66] 66@0+2 66@2+2 1@4+1\n");
}

TEST_F(Language, PerlHereDocumentEndsAtItsTerminatorRow) {
  const std::string dump = Dump("perl", "print <<EOT;\r\nEOT x\r\nEOT\r\n$y\r\n");
  EXPECT_NE(dump.find("1 c [b-1 e3 w0 r0 t0 p71 \"EOT\"] 71@0+3 71@4+1"), std::string::npos) << dump;
  EXPECT_NE(dump.find("2 c [b-1 e3 w0 r0 t0 p71 \"EOT\"] 71@0+3"), std::string::npos) << dump;
  EXPECT_NE(dump.find("3 c [b-1 e0 w0 r0 t0 p71] 60@0+2"), std::string::npos) << dump;
}

TEST_F(Language, PerlShiftsAndEmptyTerminatorsOpenNoHereDocument) {
  for (const char* row : {"print <<;", "$x <<= 2;", "$x << 2;", "print <<\"\";"}) {
    const std::string dump = Dump("perl", std::string(row) + "\r\nmy $y;\r\n");
    EXPECT_NE(dump.find("1 c [b-1 e0 w0 r0 t0"), std::string::npos) << row << "\n" << dump;
  }
}

TEST_F(Language, PerlPodRunsFromHeadToCut) {
  EXPECT_EQ(Dump("perl", "=head1 X\r\n$a = 1;\r\n=cut\r\n$b\r\n"),
            "0 c [b-1 e0 w0 r0 t0 p0] 7@0+8\n"
            "1 c [b-1 e4 w0 r0 t0 p7] 7@0+1 7@1+1 7@3+1 7@5+1 7@6+1\n"
            "2 c [b-1 e4 w0 r0 t0 p7] 7@0+4\n"
            "3 c [b-1 e0 w0 r0 t0 p7] 60@0+2\n");
}

TEST_F(Language, PerlHtmlHereDocumentTags) {
  const std::string dump = Dump("perl", "print <<H;\r\n<a href=\"x\">\r\nH\r\n");
  EXPECT_NE(dump.find("1 c [b-1 e3 w0 r0 t0 p71 \"H\"] 50@0+1 52@1+1 53@3+4 54@7+1 25@8+3 51@11+1"),
            std::string::npos)
      << dump;
}

TEST_F(Language, PerlDoubleQuotedStringEndsWithTheLogicalLine) {
  EXPECT_EQ(Dump("perl", "\"abc\r\nx\r\n"),
            "0 c [b-1 e0 w0 r0 t0 p0] 25@0+1 25@1+3\n"
            "1 c [b-1 e0 w0 r0 t0 p25] 11@0+1\n");
}

TEST_F(Language, RubyConstantsSymbolsAndDefinitions) {
  EXPECT_EQ(Dump("ruby", "BEGIN; def foo?; class A::B; @x @@y $z :s"),
            "0 e [b-1 e0 w0 r0 t0 p0] 54@0+5 1@5+1 8@7+3 56@11+4 1@15+1 8@17+5 57@23+1 1@24+2 54@26+1 1@27+1 "
            "53@29+2 52@32+3 51@36+2 55@39+2\n");
}

TEST_F(Language, RubyIndentedHereDocumentEndsAtItsTerminator) {
  const std::string dump = Dump("ruby", "x = <<-EOS\r\n  a # b\r\n   EOS\r\ny\r\n");
  EXPECT_NE(dump.find("2 c [b-1 e5 w0 r0 t0 p0 \"EOS\"] 62@3+3"), std::string::npos) << dump;
  EXPECT_NE(dump.find("3 c [b-1 e0 w0 r0 t0 p0] 11@0+1"), std::string::npos) << dump;
  const std::string plain = Dump("ruby", "x = <<EOS\r\n  EOS\r\nEOS\r\ny\r\n");
  EXPECT_NE(plain.find("3 c [b-1 e0 w0 r0 t0 p0] 11@0+1"), std::string::npos) << plain;
  EXPECT_NE(plain.find("2 c [b-1 e4"), std::string::npos) << plain;
}

TEST_F(Language, RubyLiteralsFindTheirDelimiterByCharacters) {
  EXPECT_EQ(Dump("ruby", test::Sj("\"ソ\" x %q(a)b /表/ y")),
            "0 e [b-1 e0 w0 r0 t0 p0] 58@0+4 11@5+1 58@7+5 11@12+1 60@14+4 11@19+1\n");
}

TEST_F(Language, RubyLiteralCutAfterABackslashGoesOnEscaped) {
  // "aaaa...\" is cut right after the backslash by a 20-column wrap.
  const std::string text = "x = \"aaaaaaaaaaaaaa\\\"b\" + c\r\n";
  const std::string dump = Dump("ruby", text, 20);
  EXPECT_NE(dump.find("1 c [b-1 e34 w0 r0 t58 p59] 58@0+3"), std::string::npos) << dump;
  EXPECT_EQ(test::CheckInvariants(m_fountains.Get("ruby"), text, {}), "");
}

TEST_F(Language, RubyRdDocumentation) {
  EXPECT_EQ(Dump("ruby", "=begin\r\nx\r\n=end\r\ny\r\n"),
            "0 c [b-1 e0 w0 r0 t0 p0] 7@0+6\n"
            "1 c [b-1 e1 w0 r0 t0 p0] 7@0+1\n"
            "2 c [b-1 e1 w0 r0 t0 p0] 7@0+4\n"
            "3 c [b-1 e0 w0 r0 t0 p0] 11@0+1\n");
}

TEST_F(Language, CobolSequenceAreaAndComments) {
  EXPECT_EQ(Dump("cobol", "000100 MOVE 1 TO X.\r\n000200* NOTE\r\n12345" + test::Sj("表") + "X\r\n"),
            "0 c [b-1 e0 w0 r0 t0 p0] 60@0+6 11*@7+4 3@12+1 11*@14+2 11@17+1 1@18+1\n"
            "1 c [b-1 e0 w0 r0 t0 p0] 60@0+6 7@6+6\n"
            "2 c [b-1 e0 w0 r0 t0 p0] 60@0+7 11@7+1\n");
  std::unique_ptr<TFountainParser> p = m_fountains.Get("cobol").NewParser();
  p->NewData("       MOVE ADDRESS", TRowAttributeData());
  auto& cobol = static_cast<TCOBOLFountain&>(m_fountains.Get("cobol"));
  p->NextToken();
  EXPECT_EQ(p->TokenToFountainColor(), &cobol.Verb);
  p->NextToken();
  EXPECT_EQ(p->TokenToFountainColor(), &cobol.Reserve());
}

TEST_F(Language, HtmlTextIsPlainButTagsQuotesEntitiesAndLinksAreNot) {
  EXPECT_EQ(Dump("html", "a <p class=x id='y'>don't &amp; a@b.c http://h/ \"q\"</p>"),
            "0 e [b-1 e0 w0 r0 t0 p0] 11@0+1 50@2+1 52@3+1 53@5+5 54@10+1 55@11+1 53@13+2 54@15+1 24@16+3 "
            "51@19+1 11@20+4 11@24+1 56@26+5 22@32+5 21@38+9 25@48+3 50@51+1 52@52+2 51@54+1\n");
}

TEST_F(Language, CppPreprocessorHexAndProperty) {
  EXPECT_EQ(Dump("c", "#if X\r\nx = 0x1F + 07; // c\r\nproperty int p = {read=a};\r\n"),
            "0 c [b-1 e0 w0 r0 t0 p0] 51@0+5\n"
            "1 c [b-1 e0 w0 r0 t0 p0] 11@0+1 1@2+1 50@4+4 1@9+1 3@11+2 1@13+1 7@15+4\n"
            "2 c [b-1 e0 w0 r0 t0 p0] 11@0+8 11*@9+3 11@13+1 1@15+1 1@17+1 8@18+4 1@22+1 11@23+1 1@24+1 1@25+1\n");
}

TEST_F(Language, DelphiCodesHexAsmAndProperty) {
  EXPECT_EQ(Dump("delphilang", "s := #13#$0A + $FF;\r\nasm mov 1 end;\r\n"),
            "0 c [b-1 e0 w0 r0 t0 p0] 11@0+1 1@2+1 1@3+1 50@5+3 51@8+4 1@13+1 23@15+3 1@18+1\n"
            "1 c [b-1 e0 w0 r0 t0 p0] 11*@0+3 52@4+3 52@8+1 11*@10+3 1@13+1\n");
}

TEST_F(Language, AwkConstantWords) {
  auto& awk = static_cast<TAWKFountain&>(m_fountains.Get("awk"));
  std::unique_ptr<TFountainParser> p = awk.NewParser();
  p->NewData("NF print x", TRowAttributeData());
  p->NextToken();
  EXPECT_EQ(p->TokenToFountainColor(), &awk.Constant);
  p->NextToken();
  EXPECT_EQ(p->TokenToFountainColor(), &awk.Reserve());
  p->NextToken();
  EXPECT_EQ(p->TokenToFountainColor(), &awk.Ank);
}

}  // namespace
}  // namespace nuv
