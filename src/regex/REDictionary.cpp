// Equivalence-group dictionaries and the built-in fuzzy dictionary.
#include "regex/REDictionary.h"

namespace nuv {

const char* const REFuzzyWChars[] = {
#include "regex/FuzzyCharTable.inc"
};
const std::size_t REFuzzyWCharsCount = sizeof(REFuzzyWChars) / sizeof(REFuzzyWChars[0]);

std::vector<std::string> ParseCommaText(std::string_view text) {
  std::vector<std::string> items;
  std::size_t i = 0;
  const auto isBlank = [&](std::size_t k) { return static_cast<unsigned char>(text[k]) <= ' '; };
  while (i < text.size() && isBlank(i)) ++i;
  while (i < text.size()) {
    std::string item;
    if (text[i] == '"') {
      ++i;
      while (i < text.size()) {
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            item += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        item += text[i++];
      }
    } else {
      // Trail bytes are never commas, quotes or blanks, so bytes can be read one by one.
      while (i < text.size() && text[i] != ',' && !isBlank(i)) item += text[i++];
    }
    items.push_back(std::move(item));
    while (i < text.size() && isBlank(i)) ++i;
    if (i < text.size() && text[i] == ',') {
      ++i;
      while (i < text.size() && isBlank(i)) ++i;
    }
  }
  return items;
}

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
