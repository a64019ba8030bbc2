// Token kinds of tags, shared by the HTML parser and the HTML inside Perl
// here-documents.
#pragma once

#include <cstdint>

namespace nuv {

constexpr std::uint8_t tokTagStart = 50;
constexpr std::uint8_t tokTagEnd = 51;
constexpr std::uint8_t tokTagElement = 52;
constexpr std::uint8_t tokTagAttribute = 53;
constexpr std::uint8_t tokTagEqual = 54;
constexpr std::uint8_t tokTagAttributeValue = 55;
constexpr std::uint8_t tokAmpersand = 56;

}  // namespace nuv
