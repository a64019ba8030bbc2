// TAWKStr: MatchEX when the pattern has a line-head or line-tail anchor,
// MatchStd otherwise.
#include "regex/AwkStr.h"

#include "regex/REDictionary.h"

namespace nuv {

TAWKStr::TAWKStr() { ListOfFuzzyCharDic().push_back(&RE_FuzzyCharDic()); }

void TAWKStr::CurrentPatternChanged() { m_useEx = GetHasLHead() || GetHasLTail(); }

int TAWKStr::Match(std::string_view text, std::size_t from, int& position, int& length) {
  std::size_t start = 0, end = 0;
  const bool found = m_useEx ? MatchEX(text, from, start, end) : MatchStd(text, from, start, end);
  if (!found) {
    position = length = 0;
    return 0;
  }
  position = static_cast<int>(start) + 1;
  length = static_cast<int>(end - start);
  return position;
}

}  // namespace nuv
