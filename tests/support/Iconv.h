// The C library's iconv as the tests' own converter, independent of the codec
// under test: fixtures in other encodings are made from UTF-8 literals with it.
#pragma once

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <string_view>

namespace nuv::test {

// The bytes of UTF-8 `utf8` in the iconv encoding `to` ("CP932", "EUC-JP-MS", "UTF-16LE").
inline std::string Iconv(std::string_view utf8, const char* to) {
  iconv_t cd = iconv_open(to, "UTF-8");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << to;
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string();
  std::string in(utf8);
  std::string out(in.size() * 4 + 8, '\0');
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  EXPECT_NE(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<std::size_t>(-1)) << utf8 << " to " << to;
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace nuv::test
