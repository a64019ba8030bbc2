// Percent-encoding for the URLs links are opened with and written as.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nuv {

// Every byte except ASCII letters, digits, "-._~" and the bytes of `keep`
// as "%XX" (upper-case hex).
std::string PercentEncode(std::string_view bytes, std::string_view keep = {});
// "%XX" sequences as bytes; a "%" not followed by two hex digits stays.
std::string PercentDecode(std::string_view text);
// The native path of a file URL's text after "file://": "/path",
// "localhost/path" or a relative path, percent-decoded; UTF-8 as it is,
// anything else read as Shift JIS. Nothing when it holds a NUL or is empty.
std::optional<std::string> FileUrlPath(std::string_view afterScheme);

}  // namespace nuv
