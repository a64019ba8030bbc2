// The title rule: how a page title is derived from text and what a title may hold.
#pragma once

#include <string>
#include <string_view>

namespace nuv {

constexpr std::size_t kMaxTitleBytes = 250;

// A derived title (from a heading or a body's first line): trimmed of bytes up
// to 0x20 at both ends and cut to 250 bytes without splitting a character.
std::string DeriveTitle(std::string_view text);

// Every title the program stores: cut at the first CR, LF or NUL, so a title
// can never carry a line break into the formats that store one title a line.
std::string CleanTitle(std::string_view text);

}  // namespace nuv
