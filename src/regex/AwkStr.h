// The matcher the editor's search uses: the fuzzy dictionary is installed,
// and the match procedure follows the compiled pattern's anchors.
#pragma once

#include <string_view>

#include "regex/MatchCore.h"

namespace nuv {

class TAWKStr : public TMatchCORE {
 public:
  TAWKStr();

  // The 1-based byte position of the first match in `text` (also stored in
  // `position`) with its length in bytes, or 0 with both set to 0.
  int Match(std::string_view text, int& position, int& length) { return Match(text, 0, position, length); }
  // The same for matches that start at or after byte `from` (a character
  // boundary); the position still counts from the start of `text`.
  int Match(std::string_view text, std::size_t from, int& position, int& length);

 protected:
  void CurrentPatternChanged() override;

 private:
  bool m_useEx = false;
};

}  // namespace nuv
