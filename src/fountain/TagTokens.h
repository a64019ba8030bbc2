// Token kinds of tags, shared by the HTML parser and the HTML inside Perl
// here-documents.
#pragma once

#include <cstdint>
#include <string_view>

namespace nuv {

constexpr std::uint8_t tokTagStart = 50;
constexpr std::uint8_t tokTagEnd = 51;
constexpr std::uint8_t tokTagElement = 52;
constexpr std::uint8_t tokTagAttribute = 53;
constexpr std::uint8_t tokTagEqual = 54;
constexpr std::uint8_t tokTagAttributeValue = 55;
constexpr std::uint8_t tokAmpersand = 56;

// The name of a tag kind for dumps; empty for other kinds.
constexpr std::string_view TagKindName(std::uint8_t kind) {
  constexpr std::string_view kNames[] = {"TagStart", "TagEnd", "TagElement", "TagAttribute",
                                         "TagEqual", "TagAttributeValue", "Ampersand"};
  return kind >= tokTagStart && kind <= tokAmpersand ? kNames[kind - tokTagStart] : std::string_view();
}

}  // namespace nuv
