// Case-insensitive ordering that walks Shift JIS characters, so a trail byte
// that looks like a letter is compared as it is.
#include "fountain/SortedWordList.h"

#include <algorithm>

#include "base/Sjis.h"

namespace nuv {

namespace {
inline unsigned char Fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }
}  // namespace

int CompareTextSjis(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  bool trail = false;  // the byte at i is the second half of a character of a
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (!trail) {
      x = Fold(x);
      y = Fold(y);
    }
    if (x != y) return x < y ? -1 : 1;
    // Both strings agree up to here, so they agree on character boundaries.
    trail = !trail && IsLeadByte(x) && i + 1 < a.size() && i + 1 < b.size() &&
            IsTrailByte(static_cast<unsigned char>(a[i + 1])) && IsTrailByte(static_cast<unsigned char>(b[i + 1]));
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

TSortedWordList::TSortedWordList(std::initializer_list<std::string_view> words) {
  for (std::string_view w : words) Add(w);
}

bool TSortedWordList::Add(std::string_view word) {
  auto it = std::lower_bound(m_words.begin(), m_words.end(), word,
                             [](const std::string& e, std::string_view w) { return CompareTextSjis(e, w) < 0; });
  if (it != m_words.end() && CompareTextSjis(*it, word) == 0) return false;
  m_words.insert(it, std::string(word));
  Reindex();
  return true;
}

void TSortedWordList::Reindex() {
  // Words sort by their folded first byte first, so each first byte has one range.
  std::size_t w = 0;
  for (int b = 0; b <= 256; ++b) {
    while (w < m_words.size() && (m_words[w].empty() || Fold(static_cast<unsigned char>(m_words[w][0])) < b)) ++w;
    m_first[static_cast<std::size_t>(b)] = static_cast<int>(w);
  }
}

bool TSortedWordList::Contains(std::string_view word, bool caseSensitive) const {
  if (word.empty() || m_words.empty()) return false;
  const unsigned char first = Fold(static_cast<unsigned char>(word[0]));
  std::size_t lo = static_cast<std::size_t>(m_first[first]), hi = static_cast<std::size_t>(m_first[first + 1u]);
  while (lo < hi) {
    const std::size_t mid = (lo + hi) / 2;
    const int c = CompareTextSjis(m_words[mid], word);
    if (c == 0) return !caseSensitive || m_words[mid] == word;
    if (c < 0) lo = mid + 1; else hi = mid;
  }
  return false;
}

}  // namespace nuv
