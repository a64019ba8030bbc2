// The compiled-pattern cache. Entry 0 is the empty pattern; new patterns go in
// at index 1 and the last entry leaves when the cache is full, so eviction
// follows insertion order and a pattern found again keeps its place.
#include "regex/RegularExpression.h"

#include "regex/RegExpLimits.h"
#include "regex/RegExpParser.h"
#include "regex/RequiredText.h"

namespace nuv {

TRegularExpression::TRegularExpression() {
  m_cache.push_back({std::string(), nullptr});
  Translate(m_cache[0]);
}

TRegularExpression::~TRegularExpression() = default;

void TRegularExpression::Translate(TEntry& entry) {
  TREParser parser(entry.pattern);
  parser.Run();
  auto nfa = std::make_unique<TRE_NFA>();
  nfa->Run(parser.ParseTree());
  entry.dfa = std::make_unique<TRE_DFA>(std::move(nfa));
  TRequiredText required = RequiredText(parser.ParseTree().Root());
  entry.dfa->SetRequiredText(std::move(required.text), required.whole);
  ++m_compileCount;
}

const std::string& TRegularExpression::Rewrite(std::string_view pattern) {
  TLastRewrite& last = m_lastRewrite;
  if (last.valid && last.target == pattern && last.fuzzy == UseFuzzyCharDic() && last.synonyms == UseSynonymDic() &&
      last.fuzzyDics == ListOfFuzzyCharDic() && last.synonymDics == ListOfSynonymDic())
    return last.processed;
  last.valid = false;
  m_preProcessor.SetTargetRegExpStr(pattern);
  m_preProcessor.Run();
  last = {true, std::string(pattern), m_preProcessor.ProcessedRegExpStr(), UseFuzzyCharDic(), UseSynonymDic(),
          ListOfFuzzyCharDic(), ListOfSynonymDic()};
  return last.processed;
}

void TRegularExpression::SetRegExp(std::string_view pattern) {
  try {
    const std::string& processed = Rewrite(pattern);
    std::size_t found = m_cache.size();
    if (m_cache[m_current].pattern == processed) found = m_current;
    for (std::size_t i = 0; i < m_cache.size() && found == m_cache.size(); ++i)
      if (m_cache[i].pattern == processed) {
        found = i;
        break;
      }
    if (found < m_cache.size()) {
      m_current = found;
    } else {
      if (m_cache.size() >= kPatternCacheSize) m_cache.pop_back();
      m_cache.insert(m_cache.begin() + 1, TEntry{processed, nullptr});
      m_current = 1;
      try {
        Translate(m_cache[1]);
      } catch (...) {
        m_cache.erase(m_cache.begin() + 1);
        throw;
      }
    }
    m_regExp.assign(pattern);
  } catch (...) {
    m_current = 0;
    m_regExp.clear();
    CurrentPatternChanged();
    throw;
  }
  CurrentPatternChanged();
}

void TRegularExpression::SetUseFuzzyCharDic(bool on) {
  m_preProcessor.SetUseFuzzyCharDic(on);
  SetRegExp(std::string(m_regExp));
}

void TRegularExpression::SetUseSynonymDic(bool on) {
  m_preProcessor.SetUseSynonymDic(on);
  SetRegExp(std::string(m_regExp));
}

std::vector<std::string> TRegularExpression::CachedPatterns() const {
  std::vector<std::string> out;
  for (const TEntry& e : m_cache) out.push_back(e.pattern);
  return out;
}

}  // namespace nuv
