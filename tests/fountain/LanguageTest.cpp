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
            "0 c [b-1 e0 w0 r0 t- p-] Substitute@0+2 Substitute@2+1 Replacement@3+1 Replacement@4+1 Replacement@5+1 Replacement@6+2 Symbol@8+1\n"
            "1 c [b-1 e0 w0 r0 t- pSymbol] Ank@0+1\n");
}

TEST_F(Language, PerlSlashDividesBeforeASpaceElseOpensAPattern) {
  EXPECT_EQ(Dump("perl", "$a / $b;\r\n/ab\r\ncd/x;\r\n"),
            "0 c [b-1 e0 w0 r0 t- p-] Scalar@0+2 Symbol@3+1 Scalar@5+2 Symbol@7+1\n"
            "1 c [b-1 e0 w0 r0 t- pSymbol] Pattern@0+1 Pattern@1+2\n"
            "2 c [b-1 e47 w0 r1 t- pPattern] Pattern@0+2 Pattern@2+2 Symbol@4+1\n");
}

TEST_F(Language, PerlHereDocumentEndsAtItsTerminatorRow) {
  const std::string dump = Dump("perl", "print <<EOT;\r\nEOT x\r\nEOT\r\n$y\r\n");
  EXPECT_NE(dump.find("1 c [b-1 e3 w0 r0 t- pHere \"EOT\"] Here@0+3 Here@4+1"), std::string::npos) << dump;
  EXPECT_NE(dump.find("2 c [b-1 e3 w0 r0 t- pHere \"EOT\"] Here@0+3"), std::string::npos) << dump;
  EXPECT_NE(dump.find("3 c [b-1 e0 w0 r0 t- pHere] Scalar@0+2"), std::string::npos) << dump;
}

TEST_F(Language, PerlShiftsAndEmptyTerminatorsOpenNoHereDocument) {
  for (const char* row : {"print <<;", "$x <<= 2;", "$x << 2;", "print <<\"\";"}) {
    const std::string dump = Dump("perl", std::string(row) + "\r\nmy $y;\r\n");
    EXPECT_NE(dump.find("1 c [b-1 e0 w0 r0 t-"), std::string::npos) << row << "\n" << dump;
  }
}

TEST_F(Language, PerlPodRunsFromHeadToCut) {
  EXPECT_EQ(Dump("perl", "=head1 X\r\n$a = 1;\r\n=cut\r\n$b\r\n"),
            "0 c [b-1 e0 w0 r0 t- p-] Comment@0+8\n"
            "1 c [b-1 e4 w0 r0 t- pComment] Comment@0+1 Comment@1+1 Comment@3+1 Comment@5+1 Comment@6+1\n"
            "2 c [b-1 e4 w0 r0 t- pComment] Comment@0+4\n"
            "3 c [b-1 e0 w0 r0 t- pComment] Scalar@0+2\n");
}

TEST_F(Language, PerlHtmlHereDocumentTags) {
  const std::string dump = Dump("perl", "print <<H;\r\n<a href=\"x\">\r\nH\r\n");
  EXPECT_NE(dump.find("1 c [b-1 e3 w0 r0 t- pHere \"H\"] TagStart@0+1 TagElement@1+1 TagAttribute@3+4 TagEqual@7+1 DoubleQuotation@8+3 TagEnd@11+1"),
            std::string::npos)
      << dump;
}

TEST_F(Language, PerlDoubleQuotedStringEndsWithTheLogicalLine) {
  EXPECT_EQ(Dump("perl", "\"abc\r\nx\r\n"),
            "0 c [b-1 e0 w0 r0 t- p-] DoubleQuotation@0+1 DoubleQuotation@1+3\n"
            "1 c [b-1 e0 w0 r0 t- pDoubleQuotation] Ank@0+1\n");
}

TEST_F(Language, RubyConstantsSymbolsAndDefinitions) {
  EXPECT_EQ(Dump("ruby", "BEGIN; def foo?; class A::B; @x @@y $z :s"),
            "0 e [b-1 e0 w0 r0 t- p-] Constant@0+5 Symbol@5+1 Reserve@7+3 MethodName@11+4 Symbol@15+1 Reserve@17+5 ClassName@23+1 Symbol@24+2 Constant@26+1 Symbol@27+1 "
            "InstanceVar@29+2 ClassVar@32+3 GlobalVar@36+2 RubySymbol@39+2\n");
}

TEST_F(Language, RubyIndentedHereDocumentEndsAtItsTerminator) {
  const std::string dump = Dump("ruby", "x = <<-EOS\r\n  a # b\r\n   EOS\r\ny\r\n");
  EXPECT_NE(dump.find("2 c [b-1 e5 w0 r0 t- p- \"EOS\"] HereDocument@3+3"), std::string::npos) << dump;
  EXPECT_NE(dump.find("3 c [b-1 e0 w0 r0 t- p-] Ank@0+1"), std::string::npos) << dump;
  const std::string plain = Dump("ruby", "x = <<EOS\r\n  EOS\r\nEOS\r\ny\r\n");
  EXPECT_NE(plain.find("3 c [b-1 e0 w0 r0 t- p-] Ank@0+1"), std::string::npos) << plain;
  EXPECT_NE(plain.find("2 c [b-1 e4"), std::string::npos) << plain;
}

TEST_F(Language, RubyLiteralsFindTheirDelimiterByCharacters) {
  EXPECT_EQ(Dump("ruby", test::Sj("\"ソ\" x %q(a)b /表/ y")),
            "0 e [b-1 e0 w0 r0 t- p-] StringLiteral@0+4 Ank@5+1 StringLiteral@7+5 Ank@12+1 RegexpLiteral@14+4 Ank@19+1\n");
}

TEST_F(Language, RubyLiteralCutAfterABackslashGoesOnEscaped) {
  // "aaaa...\" is cut right after the backslash by a 20-column wrap.
  const std::string text = "x = \"aaaaaaaaaaaaaa\\\"b\" + c\r\n";
  const std::string dump = Dump("ruby", text, 20);
  EXPECT_NE(dump.find("1 c [b-1 e34 w0 r0 tStringLiteral pStringEscaped] StringLiteral@0+3"), std::string::npos) << dump;
  EXPECT_EQ(test::CheckInvariants(m_fountains.Get("ruby"), text, {}), "");
}

TEST_F(Language, RubyRdDocumentation) {
  EXPECT_EQ(Dump("ruby", "=begin\r\nx\r\n=end\r\ny\r\n"),
            "0 c [b-1 e0 w0 r0 t- p-] Comment@0+6\n"
            "1 c [b-1 e1 w0 r0 t- p-] Comment@0+1\n"
            "2 c [b-1 e1 w0 r0 t- p-] Comment@0+4\n"
            "3 c [b-1 e0 w0 r0 t- p-] Ank@0+1\n");
}

TEST_F(Language, CobolSequenceAreaAndComments) {
  EXPECT_EQ(Dump("cobol", "000100 MOVE 1 TO X.\r\n000200* NOTE\r\n12345" + test::Sj("表") + "X\r\n"),
            "0 c [b-1 e0 w0 r0 t- p-] Sequence@0+6 Ank*@7+4 Integer@12+1 Ank*@14+2 Ank@17+1 Symbol@18+1\n"
            "1 c [b-1 e0 w0 r0 t- p-] Sequence@0+6 Comment@6+6\n"
            "2 c [b-1 e0 w0 r0 t- p-] Sequence@0+7 Ank@7+1\n");
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
            "0 e [b-1 e0 w0 r0 t- p-] Ank@0+1 TagStart@2+1 TagElement@3+1 TagAttribute@5+5 TagEqual@10+1 TagAttributeValue@11+1 TagAttribute@13+2 TagEqual@15+1 SingleQuotation@16+3 "
            "TagEnd@19+1 Ank@20+4 Ank@24+1 Ampersand@26+5 Mail@32+5 Url@38+9 DoubleQuotation@48+3 TagStart@51+1 TagElement@52+2 TagEnd@54+1\n");
}

TEST_F(Language, CppPreprocessorHexAndProperty) {
  EXPECT_EQ(Dump("c", "#if X\r\nx = 0x1F + 07; // c\r\nproperty int p = {read=a};\r\n"),
            "0 c [b-1 e0 w0 r0 t- p-] PreProcessor@0+5\n"
            "1 c [b-1 e0 w0 r0 t- p-] Ank@0+1 Symbol@2+1 CHex@4+4 Symbol@9+1 Integer@11+2 Symbol@13+1 Comment@15+4\n"
            "2 c [b-1 e0 w0 r0 t- p-] Ank@0+8 Ank*@9+3 Ank@13+1 Symbol@15+1 Symbol@17+1 Reserve@18+4 Symbol@22+1 Ank@23+1 Symbol@24+1 Symbol@25+1\n");
}

TEST_F(Language, DelphiCodesHexAsmAndProperty) {
  EXPECT_EQ(Dump("delphilang", "s := #13#$0A + $FF;\r\nasm mov 1 end;\r\n"),
            "0 c [b-1 e0 w0 r0 t- p-] Ank@0+1 Symbol@2+1 Symbol@3+1 ControlCode@5+3 ControlCodeHex@8+4 Symbol@13+1 Hex@15+3 Symbol@18+1\n"
            "1 c [b-1 e0 w0 r0 t- p-] Ank*@0+3 AsmBlock@4+3 AsmBlock@8+1 Ank*@10+3 Symbol@13+1\n");
}

// Snippets and the kinds their tokens must have.
struct TKindCase {
  const char* fountain;
  std::string text;
  std::string expected;
};

void ExpectKinds(test::TFountains& fountains, const std::vector<TKindCase>& cases) {
  for (const TKindCase& c : cases) {
    EXPECT_EQ(test::Kinds(fountains.Get(c.fountain), c.text), c.expected) << c.fountain << ": " << c.text;
  }
}

TEST_F(Language, DelphiStringsInSingleQuotes) {
  ExpectKinds(m_fountains,
              {
                  {"delphilang", "s := 'it''s';",
                   "Ank(s) Symbol(:) Symbol(=) SingleQuotation('it''s') Symbol(;)"},
                  // No backslash escapes: the quote after a backslash closes.
                  {"delphilang", "'a\\' b", "SingleQuotation('a\\') Ank(b)"},
                  // The trail byte 0x5C of this character is no backslash either.
                  {"delphilang", test::Sj("'ソ' x"), test::Sj("SingleQuotation('ソ') Ank(x)")},
                  {"delphilang", "'' 'a'", "SingleQuotation('') SingleQuotation('a')"},
                  {"delphilang", "'x // y' // z", "SingleQuotation('x // y') Comment(// z)"},
                  {"delphilang", "'{ no bracket }' { bracket }",
                   "SingleQuotation('{ no bracket }') Bracket({ bracket })"},
                  // An open string ends with its line.
                  {"delphilang", "'open\r\nx", "SingleQuotation('open) | Ank(x)"},
                  {"delphilang", "\"d\"", "Symbol(\") Ank(d) Symbol(\")"},
              });
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
