// The pattern rewriting: the fuzzy dictionary (checked against iconv's CP932),
// the lookup order of its groups, and the synonym plumbing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "base/Codec.h"
#include "base/CommaText.h"
#include "regex/REDictionary.h"
#include "regex/RegExpError.h"
#include "regex/RegExpPreProcessor.h"
#include "regex/RegExpTexts.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Sj;

std::string Fuzzy(std::string_view pattern) {
  TREPreProcessor pre(pattern);
  pre.ListOfFuzzyCharDic().push_back(&RE_FuzzyCharDic());
  pre.SetUseFuzzyCharDic(true);
  pre.Run();
  return pre.ProcessedRegExpStr();
}

std::vector<std::string> SourceLines() {
  std::ifstream in(std::string(NUV_SOURCE_DIR) + "/src/regex/FuzzyChars.txt", std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line))
    if (!line.empty() && line.rfind("//", 0) != 0) lines.push_back(line);
  return lines;
}

TEST(FuzzyDictionaryTest, TableIsTheSourceConvertedByIconv) {
  const std::vector<std::string> lines = SourceLines();
  ASSERT_EQ(lines.size(), 145u);
  ASSERT_EQ(REFuzzyWCharsCount, 145u);
  test::TTempDir dir;
  std::string utf8;
  for (const auto& line : lines) utf8 += line + "\n";
  dir.Write("groups.txt", utf8);
  const std::string command =
      "iconv -f UTF-8 -t CP932 '" + dir.File("groups.txt") + "' > '" + dir.File("groups.sjis") + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  std::istringstream sjis(dir.Read("groups.sjis"));
  std::string converted;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ASSERT_TRUE(std::getline(sjis, converted));
    EXPECT_EQ(converted, REFuzzyWChars[i]) << "group " << i << ": " << lines[i];
    EXPECT_EQ(Utf8ToCp932(lines[i]).value_or("?"), converted) << "codec disagrees on group " << i;
  }
}

TEST(FuzzyDictionaryTest, GroupsFollowTheirRules) {
  const auto& groups = RE_FuzzyCharDic().Groups();
  ASSERT_EQ(groups.size(), 145u);
  for (int letter = 0; letter < 26; ++letter) {
    const std::u16string fullCapital(1, static_cast<char16_t>(0xFF21 + letter));
    const std::u16string fullSmall(1, static_cast<char16_t>(0xFF41 + letter));
    const std::vector<std::string> expected{*EncodeCp932(fullCapital), *EncodeCp932(fullSmall),
                                            std::string(1, static_cast<char>('A' + letter)),
                                            std::string(1, static_cast<char>('a' + letter))};
    EXPECT_EQ(groups[letter].Members, expected) << letter;
  }
  EXPECT_EQ(groups[36].Members, (std::vector<std::string>{"\x81\x40", " "}));
  EXPECT_EQ(groups[38].Members, (std::vector<std::string>{"\"", "\x81\x68"}));
  EXPECT_EQ(groups[60].Members, (std::vector<std::string>{"\\", "\x81\x8F"}));
  EXPECT_EQ(groups[68].Members, (std::vector<std::string>{",", "\xA4", "\x81\x41", "\x81\x43"}));
  EXPECT_EQ(groups[86].Members.size(), 9u);
  EXPECT_EQ(groups[86].Codes[6], (std::vector<TWChar>{0x82A4, 0x814A, 0x829F}));  // う゛ぁ
  EXPECT_EQ(groups[144].Members, (std::vector<std::string>{"\xDF", "\x81\x4B"}));
}

TEST(FuzzyDictionaryTest, CommaText) {
  EXPECT_EQ(ParseCommaText("a,b"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(ParseCommaText(" a , b ,"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(ParseCommaText("a b"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(ParseCommaText("\"a, b\",\"\"\"\""), (std::vector<std::string>{"a, b", "\""}));
  EXPECT_EQ(ParseCommaText("a,,b"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(ParseCommaText(""), std::vector<std::string>{});
}

TEST(FuzzyRewriteTest, CharactersBecomeTheirGroups) {
  const struct {
    std::string pattern, processed;
  } cases[] = {
      {Sj("ア"), Sj("(あ|ア|ｱ|ぁ|ァ|ｧ)")},
      {"A", Sj("(Ａ|ａ|A|a)")},
      {Sj("か゛"), Sj("(が|ガ|ｶﾞ|か゛|カ゛)")},
      {Sj("ｶﾞ"), Sj("(が|ガ|ｶﾞ|か゛|カ゛)")},
      {Sj("ｶx"), Sj("(か|カ|ｶ)(Ｘ|ｘ|X|x)")},
      {"\\.", Sj("(｡|\\.|。|．)")},
      {"\\x41", Sj("(Ａ|ａ|A|a)")},
      {"1", Sj("(1|１|一|①|Ⅰ|壱)")},
      {"a*", Sj("(Ａ|ａ|A|a)*")},
      {Sj("[ア]"), Sj("[ア]")},
      {Sj("[^ア]x"), Sj("[^ア](Ｘ|ｘ|X|x)")},
      {"-", Sj("(-|ー|－|～|ｰ)")},
      {Sj("ー"), Sj("(ー|～|ｰ)")},
      {Sj("漢"), Sj("漢")},
      {Sj("\\漢"), Sj("\\漢")},
      {"\\\\", Sj("(\\\\|￥)")},
      {"\\|", Sj("(\\||｜)")},
      {"(a|^b$)", Sj("((Ａ|ａ|A|a)|^(Ｂ|ｂ|B|b)$)")},
      // Groups are tried in order: "う" alone is found before "うぁ" is,
      // while "ヴァ" belongs to an earlier group than "ヴ" alone.
      {Sj("うぁ"), Sj("(う|ウ|ｳ|ぅ|ゥ|ｩ)(あ|ア|ｱ|ぁ|ァ|ｧ)")},
      {Sj("ヴァ"), Sj("(ば|バ|ﾊﾞ|は゛|ハ゛|ヴァ|う゛ぁ|ウ゛ァ|ｳﾞｧ)")},
      {Sj("う゛ぁ"), Sj("(ば|バ|ﾊﾞ|は゛|ハ゛|ヴァ|う゛ぁ|ウ゛ァ|ｳﾞｧ)")},
      {Sj("ウァ"), Sj("(う|ウ|ｳ|ぅ|ゥ|ｩ)(あ|ア|ｱ|ぁ|ァ|ｧ)")},
      {Sj("ｳｧ"), Sj("(う|ウ|ｳ|ぅ|ゥ|ｩ)(あ|ア|ｱ|ぁ|ァ|ｧ)")},
      {Sj("\"　 "), Sj("(\"|”)(　| )(　| )")},
  };
  for (const auto& c : cases) EXPECT_EQ(Fuzzy(c.pattern), c.processed) << Cp932ToUtf8(c.pattern);
}

TEST(FuzzyRewriteTest, MultiCharacterMemberLeavesTheOperandOfAPostfixAlone) {
  // "か゛*" repeats the voicing mark only; folding "か゛" into が's group
  // would make the star repeat the whole syllable.
  EXPECT_EQ(Fuzzy(Sj("か゛*")), Sj("(か|カ|ｶ)(ﾞ|゛)*"));
  EXPECT_EQ(Fuzzy(Sj("ｶﾞ+")), Sj("(か|カ|ｶ)(ﾞ|゛)+"));
  EXPECT_EQ(Fuzzy(Sj("ヴァ?")), Sj("(ぶ|ブ|ﾌﾞ|ふ゛|フ゛|ヴ|ウ゛|う゛|ｳﾞ)(あ|ア|ｱ|ぁ|ァ|ｧ)?"));
  // Not followed by a postfix, or followed inside the run, it still folds.
  EXPECT_EQ(Fuzzy(Sj("か゛x*")), Sj("(が|ガ|ｶﾞ|か゛|カ゛)(Ｘ|ｘ|X|x)*"));
  EXPECT_EQ(Fuzzy(Sj("(か゛)*")), Sj("((が|ガ|ｶﾞ|か゛|カ゛))*"));
}

TEST(FuzzyRewriteTest, SynonymsComeBeforeFuzzyCharacters) {
  TREDictionary synonyms;
  synonyms.AddGroup(Sj("猫,ねこ,cat"));
  TREPreProcessor pre(Sj("猫a|x猫"));
  pre.ListOfSynonymDic().push_back(&synonyms);
  pre.ListOfFuzzyCharDic().push_back(&RE_FuzzyCharDic());
  pre.Run();
  EXPECT_EQ(pre.ProcessedRegExpStr(), Sj("猫a|x猫"));  // both switches off
  pre.SetUseSynonymDic(true);
  pre.SetTargetRegExpStr(Sj("猫a|x猫"));
  pre.Run();
  EXPECT_EQ(pre.ProcessedRegExpStr(), Sj("(猫|ねこ|cat)a|x(猫|ねこ|cat)"));
  pre.SetUseFuzzyCharDic(true);
  pre.SetTargetRegExpStr(Sj("猫"));
  pre.Run();
  EXPECT_EQ(pre.ProcessedRegExpStr(),
            Sj("(猫|(ね|ネ|ﾈ)(こ|コ|ｺ)|(Ｃ|ｃ|C|c)(Ａ|ａ|A|a)(Ｔ|ｔ|T|t))"));
}

TEST(FuzzyRewriteTest, BadPatternsRaiseTheScannersMessage) {
  try {
    Fuzzy("ab[");
    ADD_FAILURE();
  } catch (const ERegExpParser& e) {
    EXPECT_EQ(e.Message(), retext::NeedRightBracket());
  }
}

}  // namespace
}  // namespace nuv
