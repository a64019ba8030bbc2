// A compiled pattern with its cache: the caller's pattern is rewritten by the
// preprocessor, and the processed pattern's automaton is kept in a small cache
// because the editor sets the pattern again before every line it searches.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "regex/RegExpDfa.h"
#include "regex/RegExpPreProcessor.h"

namespace nuv {

class TRegularExpression {
 public:
  TRegularExpression();
  virtual ~TRegularExpression();
  TRegularExpression(const TRegularExpression&) = delete;
  TRegularExpression& operator=(const TRegularExpression&) = delete;

  // Compiles the pattern (or takes it from the cache). On any error the empty
  // pattern becomes current, RegExp() becomes empty and the error is raised.
  void SetRegExp(std::string_view pattern);
  const std::string& RegExp() const { return m_regExp; }

  // Setting either switch compiles the current pattern again.
  bool UseFuzzyCharDic() const { return m_preProcessor.UseFuzzyCharDic(); }
  void SetUseFuzzyCharDic(bool on);
  bool UseSynonymDic() const { return m_preProcessor.UseSynonymDic(); }
  void SetUseSynonymDic(bool on);
  std::vector<const TREDictionary*>& ListOfFuzzyCharDic() { return m_preProcessor.ListOfFuzzyCharDic(); }
  std::vector<const TREDictionary*>& ListOfSynonymDic() { return m_preProcessor.ListOfSynonymDic(); }

  TRE_DFA& GetCurrentDFA() { return *m_cache[m_current].dfa; }
  TRE_DFA::TStateId GetpInitialDFAState() { return GetCurrentDFA().Initial(); }
  bool GetHasLHead() { return GetCurrentDFA().HasLHead(); }
  bool GetHasLTail() { return GetCurrentDFA().HasLTail(); }
  TRE_DFA::TStateId NextDFAState(TRE_DFA::TStateId state, TWChar code) {
    return GetCurrentDFA().NextDFAState(state, code);
  }

  // The processed patterns in cache order, and how many compilations ran.
  std::vector<std::string> CachedPatterns() const;
  std::size_t CompileCount() const { return m_compileCount; }
  std::size_t CurrentIndex() const { return m_current; }

 protected:
  // Called after the current pattern changed (also after an error).
  virtual void CurrentPatternChanged() {}

 private:
  struct TEntry {
    std::string pattern;
    std::unique_ptr<TRE_DFA> dfa;
  };
  void Translate(TEntry& entry);

  // The last rewrite, reused while the pattern, the switches and the
  // dictionary lists are the same (dictionaries do not change once listed).
  struct TLastRewrite {
    bool valid = false;
    std::string target, processed;
    bool fuzzy = false, synonyms = false;
    std::vector<const TREDictionary*> fuzzyDics, synonymDics;
  };
  const std::string& Rewrite(std::string_view pattern);

  TREPreProcessor m_preProcessor;
  TLastRewrite m_lastRewrite;
  std::vector<TEntry> m_cache;
  std::size_t m_current = 0;
  std::string m_regExp;
  std::size_t m_compileCount = 0;
};

}  // namespace nuv
