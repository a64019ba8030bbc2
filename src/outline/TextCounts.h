// The page count and the character count of the tools menu.
#pragma once

#include <string>
#include <string_view>

namespace nuv {

struct TTextCounts {
  long long size = 0;        // the text with a line break after every line
  long long bytes = 0;       // the lines without their line breaks
  long long characters = 0;  // a double-byte character counts one, so does a lone lead byte
  bool operator==(const TTextCounts&) const = default;
};

// Counts a text (any of CR LF, CR, LF as line ends). Each line is counted on
// its own, so a lead byte at a line's end never takes the line break with it.
TTextCounts CountText(std::string_view text);

// "ページ数： %dページ" filled in.
std::string PageCountMessage(int pages);
// "サイズ　　： %10d\n\nバイト数 ： %10d\n文字数　： %10d" filled in.
std::string CharCountMessage(const TTextCounts& counts);

}  // namespace nuv
