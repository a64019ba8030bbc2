// Page and character counts. The messages are built by concatenation: no
// text is ever used as a format.
#include "outline/TextCounts.h"

#include "base/FixedText.h"
#include "base/Sjis.h"

namespace nuv {

namespace texts {
NUV_FIXED_TEXT(PageCountHead, "ページ数： ")
NUV_FIXED_TEXT(PageCountTail, "ページ")
NUV_FIXED_TEXT(CountSize, "サイズ　　： ")
NUV_FIXED_TEXT(CountBytes, "バイト数 ： ")
NUV_FIXED_TEXT(CountChars, "文字数　： ")
}  // namespace texts

namespace {

// A number right-aligned in ten columns, as "%10d" writes it.
std::string Column10(long long value) {
  std::string digits = std::to_string(value);
  if (digits.size() < 10) digits.insert(0, 10 - digits.size(), ' ');
  return digits;
}

}  // namespace

TTextCounts CountText(std::string_view text) {
  TTextCounts counts;
  for (const std::string& line : StrToStrings(text)) {
    counts.bytes += static_cast<long long>(line.size());
    counts.characters += static_cast<long long>(CharCount(line));
    counts.size += static_cast<long long>(line.size()) + 2;
  }
  return counts;
}

std::string PageCountMessage(int pages) { return texts::PageCountHead() + std::to_string(pages) + texts::PageCountTail(); }

std::string CharCountMessage(const TTextCounts& counts) {
  return texts::CountSize() + Column10(counts.size) + "\n\n" + texts::CountBytes() + Column10(counts.bytes) + "\n" +
         texts::CountChars() + Column10(counts.characters);
}

}  // namespace nuv
