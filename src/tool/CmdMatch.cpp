// nuvtool match: matches a pattern against each Shift JIS line of standard
// input and prints the 1-based byte position and length of the match, "0 0"
// when a line has none.
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>

#include "base/Codec.h"
#include "regex/AwkStr.h"
#include "tool/NuvTool.h"

namespace nuv::tool {

namespace {

int RunMatch(const std::vector<std::string>& argv) {
  TArgs args;
  if (!ParseArgs(argv, {"--fuzzy", "--utf8"}, {}, args)) return 2;
  if (args.positional.size() != 1) {
    Fail("match needs PATTERN");
    return 2;
  }
  std::string pattern = args.positional[0];
  if (args.Has("--utf8")) {
    const auto sjis = Utf8ToCp932(pattern);
    if (!sjis) return Fail("the pattern has characters Shift JIS cannot hold");
    pattern = *sjis;
  }
  TAWKStr matcher;
  matcher.SetUseFuzzyCharDic(args.Has("--fuzzy"));
  matcher.SetRegExp(pattern);  // a bad pattern raises the parser's message

  const std::string input((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
  std::string out;
  std::size_t begin = 0;
  while (begin < input.size()) {
    std::size_t end = input.find('\n', begin);
    const std::size_t next = end == std::string::npos ? input.size() : end + 1;
    if (end == std::string::npos) end = input.size();
    if (end > begin && input[end - 1] == '\r') --end;
    int position = 0, length = 0;
    matcher.Match(std::string_view(input).substr(begin, end - begin), position, length);
    out += std::to_string(position);
    out += ' ';
    out += std::to_string(length);
    out += '\n';
    begin = next;
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

}  // namespace

NUVTOOL_COMMAND(match, "match", "PATTERN [--fuzzy] [--utf8]  (Shift JIS lines on stdin)", RunMatch);

}  // namespace nuv::tool
