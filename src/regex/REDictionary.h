// Dictionaries of equivalence groups for the pattern rewriting: the fuzzy
// dictionary of character variants, and synonym dictionaries of words.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "regex/WChar.h"

namespace nuv {

struct TREDicGroup {
  std::vector<std::string> Members;         // Shift JIS, in order
  std::vector<std::vector<TWChar>> Codes;   // the members' wide characters
  std::string GroupText;                    // "(m1|m2|...)" with meta characters escaped
};

class TREDictionary {
 public:
  // Adds one group from a comma list (base/CommaText.h).
  void AddGroup(std::string_view commaText);
  const std::vector<TREDicGroup>& Groups() const { return m_groups; }

 private:
  std::vector<TREDicGroup> m_groups;
};

// The program's one fuzzy dictionary, built on first use from REFuzzyWChars.
const TREDictionary& RE_FuzzyCharDic();
// The 145 Shift JIS comma lists it is built from.
extern const char* const REFuzzyWChars[];
extern const std::size_t REFuzzyWCharsCount;

}  // namespace nuv
