// Declares the program's fixed texts: each is written once as a readable UTF-8
// literal and converted to Shift JIS on first use.
#pragma once

#include <string>

#include "base/Codec.h"

#define NUV_FIXED_TEXT(Name, literal)                                   \
  inline const std::string& Name() {                                    \
    static const std::string text = ::nuv::SjisFromLiteral(literal);    \
    return text;                                                        \
  }
