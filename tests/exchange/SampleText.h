// Sample texts, coding shorthands and byte helpers shared by the Palm DOC tests.
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "exchange/PalmDocCodec.h"
#include "exchange/PalmDocFile.h"
#include "support/TempDir.h"

namespace nuv::test {

// Moves every CR LF that a 4096-byte block boundary would split.
inline void AvoidStraddle(std::string& s) {
  for (std::size_t i = kPalmRecordSize - 1; i + 1 < s.size(); i += kPalmRecordSize)
    if (s[i] == '\r') s.replace(i, 2, "xy");
}

// Shift JIS and ASCII text of `size` bytes with CR LF line ends that never
// straddle a 4096-byte block boundary and no control bytes, so it survives
// the line-end conversions unchanged.
inline std::string SampleText(std::size_t size, unsigned seed) {
  std::mt19937 rng(seed);
  const std::string words[] = {Sj("吾輩は"), Sj("猫である。"), "name ", Sj("まだ無い"), "abc", Sj("ソ表")};
  std::string s;
  while (s.size() < size) {
    s += words[rng() % 6];
    if (rng() % 5 == 0) s += "\r\n";
  }
  s.resize(size);
  AvoidStraddle(s);
  if (!s.empty() && s.back() == '\r') s.back() = 'x';
  return s;
}

// The text with every CR LF as LF, as a Palm DOC stores it.
inline std::string StoredForm(std::string s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i)
    if (!(s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')) out += s[i];
  return out;
}

// The image of a text, expected to encode.
inline std::string Encode(std::string_view text, std::string_view title, bool compress = true, bool binary = false) {
  std::string image;
  TPalmDocOptions options;
  options.compress = compress;
  options.binary = binary;
  EXPECT_EQ(EncodePalmDoc(text, title, options, image), TPalmDocResult::Ok);
  return image;
}

// The text of an image, expected to decode.
inline std::string Decode(std::string_view image, bool binary = false) {
  std::string text;
  TPalmDocOptions options;
  options.binary = binary;
  EXPECT_EQ(DecodePalmDoc(image, options, text), TPalmDocResult::Ok);
  return text;
}

inline uint32_t BE32(std::string_view s, std::size_t at) {
  uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
  return v;
}
inline uint16_t BE16(std::string_view s, std::size_t at) { return static_cast<uint16_t>(BE32(s, at) >> 16); }

// Record k of a Palm database image, by its record list.
inline std::string_view RecordOf(std::string_view image, std::size_t k) {
  const std::size_t count = BE16(image, 76);
  const std::size_t begin = BE32(image, 78 + 8 * k);
  const std::size_t end = k + 1 < count ? BE32(image, 78 + 8 * (k + 1)) : image.size();
  return image.substr(begin, end - begin);
}

}  // namespace nuv::test
