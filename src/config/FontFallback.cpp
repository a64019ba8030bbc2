// Font counterparts of the Windows faces the default settings name.
#include "config/FontFallback.h"

#include "base/Codec.h"

namespace nuv {

namespace {

struct TCounterpart {
  const char* windows;  // UTF-8
  const char* family;
};
const TCounterpart kCounterparts[] = {
    {"ＭＳ ゴシック", "IPAGothic"},
    {"ＭＳ Ｐゴシック", "IPAPGothic"},
    {"ＭＳ 明朝", "IPAMincho"},
    {"ＭＳ Ｐ明朝", "IPAPMincho"},
};

}  // namespace

std::string FontFamilyFor(std::string_view storedSjis, const TFontExists& exists) {
  const std::string name = Cp932ToUtf8(storedSjis);
  if (!name.empty() && exists(name)) return name;
  for (const TCounterpart& c : kCounterparts)
    if (name == c.windows && exists(c.family)) return c.family;
  if (exists(kFallbackFontFamily)) return kFallbackFontFamily;
  return kLastResortFontFamily;
}

}  // namespace nuv
