// Leftmost-longest matching of the current pattern over a line of Shift JIS
// text: the earliest start that has any match wins, and the longest match
// from that start is taken.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "regex/RegularExpression.h"

namespace nuv {

enum TMatchCORELineSeparator {
  mcls_CRLF,  // carriage return ends a line
  mcls_LF,    // line feed ends a line
};

class TMatchCORE : public TRegularExpression {
 public:
  static constexpr std::size_t kNoMatch = static_cast<std::size_t>(-1);

  TMatchCORELineSeparator LineSeparator() const { return m_lineSeparator; }
  // The caller promises that the texts it passes hold no zero byte, so the
  // terminator is not looked for: repeated searches from later and later
  // offsets of one long text then cost what they read, not the whole rest.
  void SetZeroFree(bool zeroFree) { m_zeroFree = zeroFree; }
  void SetLineSeparator(TMatchCORELineSeparator separator) { m_lineSeparator = separator; }

  // The text ends at its first zero byte, as a zero-terminated line does.
  // Both give byte offsets of the match (end exclusive), or false.
  // MatchStd ignores the line anchors; MatchEX honours them.
  bool MatchStd(std::string_view text, std::size_t& start, std::size_t& end) { return MatchStd(text, 0, start, end); }
  bool MatchEX(std::string_view text, std::size_t& start, std::size_t& end) { return MatchEX(text, 0, start, end); }
  // The same, trying only starts at or after `from` (a character boundary):
  // the bytes before it are context, so a line head there is one only after a
  // line feed. The text then ends at its first zero byte at or after `from`.
  bool MatchStd(std::string_view text, std::size_t from, std::size_t& start, std::size_t& end);
  bool MatchEX(std::string_view text, std::size_t from, std::size_t& start, std::size_t& end);

 protected:
  bool IsLineEnd(TWChar code) const { return code == (m_lineSeparator == mcls_CRLF ? 13 : 10); }

 private:
  bool Search(std::string_view text, std::size_t from, bool anchors, std::size_t& start, std::size_t& end);
  // Whether some match without anchors ends anywhere in the text after
  // `from`: one pass of the scan state, one transition per character.
  bool MayMatch(std::string_view text, std::size_t from);
  // The end of the longest match from `pos` when the walk begins in `state`,
  // or kNoMatch. With anchors, a walk that stops at a line end in a state
  // with a line-tail transition ends its match there.
  std::size_t MatchInside(std::string_view text, std::size_t pos, TRE_DFA::TStateId state, bool anchors);
  // At a line head: the longer of the anchored and the unanchored match.
  std::size_t MatchHead(std::string_view text, std::size_t pos);
  void NewMemoEpoch();
  std::size_t Failed(std::size_t steps) {
    m_failedSteps += steps + 1;
    return kNoMatch;
  }

  TMatchCORELineSeparator m_lineSeparator = mcls_CRLF;
  bool m_zeroFree = false;
  // Walks from successive starts that reach the same state at the same
  // position share their future, so a walk that failed leaves a tag there and
  // a later walk reaching it stops at once: matching stays linear where a
  // plain walk from every start would be quadratic.
  std::vector<std::uint64_t> m_memo;
  std::uint64_t m_epoch = 0;
  std::uint64_t m_memoGeneration = 0;
  std::size_t m_failedSteps = 0;
  std::size_t m_memoThreshold = 0;
};

}  // namespace nuv
