// Rewrites a pattern before it is parsed: each ordinary character (or short
// run of characters) that belongs to a dictionary group becomes a
// parenthesised alternation of the whole group.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "regex/REDictionary.h"
#include "regex/RegExpScanner.h"

namespace nuv {

class TREPreProcessor {
 public:
  TREPreProcessor() = default;
  explicit TREPreProcessor(std::string_view pattern) { SetTargetRegExpStr(pattern); }

  void SetTargetRegExpStr(std::string_view pattern) { m_target.assign(pattern); }
  const std::string& GetTargetRegExpStr() const { return m_target; }
  // Produces the processed pattern: synonyms first, then fuzzy characters;
  // with both off it is the target unchanged. Raises ERegExpParser for a
  // pattern the scanner rejects or that grows beyond the length limit.
  void Run();
  const std::string& ProcessedRegExpStr() const { return m_processed; }

  // The dictionaries consulted in order (not owned).
  std::vector<const TREDictionary*>& ListOfSynonymDic() { return m_synonymDics; }
  std::vector<const TREDictionary*>& ListOfFuzzyCharDic() { return m_fuzzyDics; }
  bool UseSynonymDic() const { return m_useSynonymDic; }
  void SetUseSynonymDic(bool on) { m_useSynonymDic = on; }
  bool UseFuzzyCharDic() const { return m_useFuzzyCharDic; }
  void SetUseFuzzyCharDic(bool on) { m_useFuzzyCharDic = on; }

 private:
  struct TToken {
    REToken_t Kind;
    TWChar Char;
    std::size_t Start, End;  // source bytes in the target
  };
  using TFindFunction = std::size_t (TREPreProcessor::*)(std::size_t from, std::size_t to);
  static constexpr std::size_t kNoMatch = static_cast<std::size_t>(-1);

  void MakeTokenList();
  // One rewriting pass of the target into m_processed.
  void Process(TFindFunction find);
  std::size_t FindSynonym(std::size_t from, std::size_t to);
  std::size_t FindFuzzyWChar(std::size_t from, std::size_t to);
  // The token index after the match of a member of one of the dictionary's
  // groups starting at token `from` (never beyond `to`), setting the group
  // text; kNoMatch when none matches.
  std::size_t ReferToOneList(std::size_t from, std::size_t to, const TREDictionary& dictionary);
  std::size_t FindInList(std::size_t from, std::size_t to, const std::vector<const TREDictionary*>& list);

  std::string m_target;
  std::string m_processed;
  std::vector<TToken> m_tokens;
  std::vector<const TREDictionary*> m_synonymDics;
  std::vector<const TREDictionary*> m_fuzzyDics;
  bool m_useSynonymDic = false;
  bool m_useFuzzyCharDic = false;
  const std::string* m_groupText = nullptr;
};

}  // namespace nuv
