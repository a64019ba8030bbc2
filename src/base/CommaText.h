// Comma lists as the program's tables and metadata lines write them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nuv {

// Splits a comma list: items are separated by commas; an item in double
// quotes may hold commas and blanks, a doubled quote standing for one quote;
// outside quotes, blanks (bytes up to 0x20) before and after an item are
// skipped and end an unquoted item; a trailing comma adds no item.
std::vector<std::string> ParseCommaText(std::string_view text);

}  // namespace nuv
