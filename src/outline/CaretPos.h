// Caret offsets read from files, made safe to hand to an editor.
#pragma once

#include <cstdint>
#include <string_view>

namespace nuv {

// `pos` within 0..text.size(), on a character boundary: never on a trail
// byte, never between the CR and the LF of a line end.
int ClampCaretPos(std::string_view text, int64_t pos);

}  // namespace nuv
