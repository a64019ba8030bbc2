// Fuzzes the width and case conversions: characters are never split, case
// conversion keeps the length and every double-byte character, and text made
// only of table entries goes there and back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/Sjis.h"
#include "exchange/TextConversions.h"

// A broken invariant ends the run as a crash the fuzzer reports.
#define CHECK(condition) \
  if (!(condition)) std::abort()

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nuv;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const TWidthConversion options{size % 2 == 0, (size & 2) != 0, (size & 4) != 0, (size & 8) != 0};
  (void)ConvertWidth(text, options);
  const std::string upper = LowerToUpper(text);
  CHECK(upper.size() == text.size() && UpperToLower(upper).size() == text.size());
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i))
    if (CharLength(text, i) == 2) CHECK(upper.compare(i, 2, text.substr(i, 2)) == 0);
  // Digits and letters only: half to full and back is the identity.
  std::string ascii;
  for (const char c : text)
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) ascii.push_back(c);
  const std::string full = ConvertWidth(ascii, {true, true, true, true});
  CHECK(full.size() == ascii.size() * 2);
  CHECK(ConvertWidth(full, {false, true, true, true}) == ascii);
  return 0;
}
