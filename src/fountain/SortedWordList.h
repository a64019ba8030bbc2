// A sorted list of words without duplicates, compared ignoring the case of
// single-byte letters (the letters inside double-byte characters are never
// folded), with a binary-search look-up.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nuv {

// <0, 0, >0 like strcmp, folding A-Z to a-z in single-byte characters only.
int CompareTextSjis(std::string_view a, std::string_view b);

class TSortedWordList {
 public:
  TSortedWordList() = default;
  TSortedWordList(std::initializer_list<std::string_view> words);

  // False when an entry that compares equal is already there.
  bool Add(std::string_view word);
  void Clear() {
    m_words.clear();
    Reindex();
  }
  int Count() const { return static_cast<int>(m_words.size()); }
  const std::string& operator[](int i) const { return m_words[static_cast<std::size_t>(i)]; }
  const std::vector<std::string>& Words() const { return m_words; }
  // True when an entry equals `word` ignoring case; with `caseSensitive`
  // the entry must match byte for byte as well.
  bool Contains(std::string_view word, bool caseSensitive = false) const;
  bool operator==(const TSortedWordList& o) const { return m_words == o.m_words; }

 private:
  void Reindex();

  std::vector<std::string> m_words;
  // The entries whose first byte folds to b are m_words[m_first[b], m_first[b + 1]).
  std::vector<int> m_first = std::vector<int>(257, 0);
};

}  // namespace nuv
