// The macro lexer: token kinds, literals, comments and the scans that must
// stop at the end of the text.
#include <gtest/gtest.h>

#include "macro/PPAParser.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

// "kind:text" for every token up to the end, comments included.
std::string Scan(std::string_view text) {
  TPPAParser lexer(text);
  std::string out;
  for (uint8_t kind = lexer.Token(); kind != kPPEnd; kind = lexer.NextToken()) {
    if (!out.empty()) out += ' ';
    out += std::to_string(kind) + ":" + std::string(lexer.TokenString());
  }
  return out;
}

TEST(PPAParserTest, TokenKinds) {
  struct Case {
    const char* text;
    const char* tokens;
  } cases[] = {
      {"", ""},
      {"x:=1", "8:x 100::= 3:1"},
      {"'it''s'", "2:'it''s'"},
      {"#13#10", "2:#13 2:#10"},
      {"#$0D", "2:#$0D"},
      {"#", "2:#"},
      {"$1F $ $g", "3:$1F 3:$ 3:$ 8:g"},
      {"a := 1; // note", "8:a 100::= 3:1 1:; 7:// note"},
      {"1..5", "4:1 100:.. 3:5"},
      {"1.5 2e3 3E-2 4.e5 7. x", "4:1.5 4:2e3 4:3E-2 4:4.e5 4:7 1:. 8:x"},
      {"<= <> >= < > = ..", "100:<= 100:<> 100:>= 1:< 1:> 1:= 100:.."},
      {"_a1 B_2", "8:_a1 8:B_2"},
      {"'open", "2:'open"},
      {"'a' 'b'#65'c'", "2:'a' 2:'b' 2:#65 2:'c'"},
      {"//x\r\ny", "7://x 8:y"},
  };
  for (const auto& c : cases) EXPECT_EQ(Scan(c.text), c.tokens) << c.text;
}

TEST(PPAParserTest, PositionsAndBlanks) {
  TPPAParser empty("");
  EXPECT_EQ(empty.Token(), kPPEnd);
  EXPECT_EQ(empty.SourcePos(), 0);

  TPPAParser lexer(" \t\r\n\x01 abc");
  EXPECT_EQ(lexer.Token(), kPPIdentifier);
  EXPECT_EQ(lexer.SourcePos(), 6);
  EXPECT_EQ(lexer.UpperToken(), "ABC");
  EXPECT_FALSE(lexer.Accept("abd"));
  EXPECT_TRUE(lexer.Accept("Abc"));
  EXPECT_EQ(lexer.Token(), kPPEnd);
}

TEST(PPAParserTest, DoubleByteTextAndEmbeddedZero) {
  // Outside a string a double-byte character is single-byte symbols; inside
  // one it stays whole, even with a trail byte that is a backslash.
  const std::string hyo = test::Sj("表");
  EXPECT_EQ(Scan(hyo), "1:" + hyo.substr(0, 1) + " 1:" + hyo.substr(1));
  EXPECT_EQ(Scan("'" + hyo + "'"), "2:'" + hyo + "'");
  // Scanning stops at a 0 byte in the text.
  EXPECT_EQ(Scan(std::string("a\0b", 3)), "8:a");
  EXPECT_EQ(Scan(std::string("'ab\0cd'", 7)), "2:'ab");
}

TEST(PPAParserTest, TokenizeDropsCommentsAndJoins) {
  const auto tokens = PPTokenize("IF a<>1 THEN // c\r\nx := 'p q'");
  ASSERT_EQ(tokens.size(), 8u);
  EXPECT_EQ(tokens[0].upper, "IF");
  EXPECT_EQ(tokens[2].kind, kPPOperator);
  EXPECT_TRUE(tokens[7].upper.empty());
  EXPECT_EQ(PPJoinTokens(tokens.data(), tokens.data() + tokens.size()), "IF a <> 1 THEN x := 'p q'");
}

}  // namespace
}  // namespace nuv
