// What the walk over pages needs of the editor's search: the next hit of the
// current pattern and options in a text.
#pragma once

#include <cstddef>
#include <string_view>

namespace nuv {

class ITextMatcher {
 public:
  virtual ~ITextMatcher() = default;
  // The text the following finds search; the caller keeps it alive.
  virtual void SetText(std::string_view text) = 0;
  // The first hit that starts at or after byte `from` (a character boundary)
  // of the text, as the editor's search finds it: what comes before `from`
  // still counts for "^" and for whole words. False when there is none.
  virtual bool Find(std::size_t from, std::size_t& start, std::size_t& length) = 0;
};

}  // namespace nuv
