// Errors of the regular-expression engine: a bad pattern, or a pattern that
// exceeds one of the engine's limits.
#pragma once

#include <cstddef>
#include <string>

#include "base/Error.h"

namespace nuv {

// A syntax error in a pattern, with the 1-based byte position in the pattern
// where the scanner stood when it was found.
class ERegExpParser : public ENuvError {
 public:
  ERegExpParser(std::string sjisMessage, std::size_t position)
      : ENuvError(std::move(sjisMessage)), m_position(position) {}
  std::size_t Position() const { return m_position; }

 private:
  std::size_t m_position;
};

// A pattern whose automaton would exceed the engine's state budget.
class ERegExpLimit : public ENuvError {
 public:
  using ENuvError::ENuvError;
};

}  // namespace nuv
