// Equivalence-group dictionaries and the built-in fuzzy dictionary.
#include "regex/REDictionary.h"

#include "base/CommaText.h"

namespace nuv {

const char* const REFuzzyWChars[] = {
#include "regex/FuzzyCharTable.inc"
};
const std::size_t REFuzzyWCharsCount = sizeof(REFuzzyWChars) / sizeof(REFuzzyWChars[0]);

void TREDictionary::AddGroup(std::string_view commaText) {
  TREDicGroup group;
  group.Members = ParseCommaText(commaText);
  group.GroupText.push_back('(');
  for (std::size_t m = 0; m < group.Members.size(); ++m) {
    const std::string& member = group.Members[m];
    std::vector<TWChar> codes;
    for (std::size_t i = 0; i < member.size();) codes.push_back(GetWChar(member, i));
    group.Codes.push_back(std::move(codes));
    if (m > 0) group.GroupText += '|';
    group.GroupText += QuoteMetaWChar(member);
  }
  group.GroupText += ')';
  m_groups.push_back(std::move(group));
}

const TREDictionary& RE_FuzzyCharDic() {
  static const TREDictionary dictionary = [] {
    TREDictionary d;
    for (std::size_t i = 0; i < REFuzzyWCharsCount; ++i) d.AddGroup(REFuzzyWChars[i]);
    return d;
  }();
  return dictionary;
}

}  // namespace nuv
