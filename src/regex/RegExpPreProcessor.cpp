// Pattern rewriting by dictionary groups.
//
// The target is scanned into tokens. Outside brackets each run of ordinary
// character tokens is rewritten from its left: at each token the dictionaries
// are searched group by group, member by member, for the first member whose
// characters equal the codes of the tokens from there; a match appends the
// whole group as "(m1|m2|...)" and skips the tokens it covered, otherwise the
// token's own source text is copied. Everything else is copied as written.
#include "regex/RegExpPreProcessor.h"

#include "regex/RegExpError.h"
#include "regex/RegExpLimits.h"
#include "regex/RegExpTexts.h"

namespace nuv {

void TREPreProcessor::Run() {
  if (m_target.size() > kMaxPatternLength) throw ERegExpParser(retext::PatternTooLong(), 1);
  m_processed = m_target;
  if (m_useSynonymDic) {
    Process(&TREPreProcessor::FindSynonym);
    m_target = m_processed;
  }
  if (m_useFuzzyCharDic) Process(&TREPreProcessor::FindFuzzyWChar);
}

void TREPreProcessor::MakeTokenList() {
  m_tokens.clear();
  TREScanner scanner(m_target);
  for (;;) {
    const REToken_t kind = scanner.GetToken();
    m_tokens.push_back({kind, scanner.Char(), scanner.TokenStart(), scanner.Index()});
    if (kind == retk_End) break;
  }
}

void TREPreProcessor::Process(TFindFunction find) {
  m_processed.clear();
  MakeTokenList();
  const auto source = [this](const TToken& t) { return std::string_view(m_target).substr(t.Start, t.End - t.Start); };
  bool inBrackets = false;
  std::size_t i = 0;
  while (m_tokens[i].Kind != retk_End) {
    const TToken& token = m_tokens[i];
    if (token.Kind == retk_LBra || token.Kind == retk_LBraNeg) inBrackets = true;
    if (token.Kind == retk_RBra) inBrackets = false;
    if (token.Kind != retk_Char || inBrackets) {
      m_processed.append(source(token));
      ++i;
      continue;
    }
    std::size_t j = i;
    while (m_tokens[j].Kind == retk_Char) ++j;
    while (i < j) {
      const std::size_t next = (this->*find)(i, j);
      if (next == kNoMatch) {
        m_processed.append(source(m_tokens[i]));
        ++i;
      } else {
        m_processed.append(*m_groupText);
        i = next;
      }
    }
    if (m_processed.size() > kMaxPatternLength) throw ERegExpParser(retext::PatternTooLong(), m_tokens[i].Start + 1);
  }
}

std::size_t TREPreProcessor::FindInList(std::size_t from, std::size_t to,
                                        const std::vector<const TREDictionary*>& list) {
  for (const TREDictionary* dictionary : list) {
    const std::size_t next = ReferToOneList(from, to, *dictionary);
    if (next != kNoMatch) return next;
  }
  return kNoMatch;
}

std::size_t TREPreProcessor::FindSynonym(std::size_t from, std::size_t to) { return FindInList(from, to, m_synonymDics); }

std::size_t TREPreProcessor::FindFuzzyWChar(std::size_t from, std::size_t to) {
  return FindInList(from, to, m_fuzzyDics);
}

std::size_t TREPreProcessor::ReferToOneList(std::size_t from, std::size_t to, const TREDictionary& dictionary) {
  const REToken_t after = m_tokens[to].Kind;
  const bool postfixFollows = after == retk_Star || after == retk_Plus || after == retk_QMark;
  for (const TREDicGroup& group : dictionary.Groups()) {
    for (const std::vector<TWChar>& codes : group.Codes) {
      if (codes.empty() || codes.size() > to - from) continue;
      std::size_t k = 0;
      while (k < codes.size() && codes[k] == m_tokens[from + k].Char) ++k;
      if (k < codes.size()) continue;
      // A "*", "+" or "?" after the run applies to its last character alone;
      // a longer member must not take that character into its group.
      if (codes.size() > 1 && from + codes.size() == to && postfixFollows) continue;
      m_groupText = &group.GroupText;
      return from + codes.size();
    }
  }
  return kNoMatch;
}

}  // namespace nuv
