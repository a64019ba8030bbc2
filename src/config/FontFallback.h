// Which installed font family shows a font name from the settings: the stored
// Windows names stay in the file, and a missing one is replaced on screen.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace nuv {

// Whether a font family (UTF-8 name) is installed; the Qt layer asks its font database.
using TFontExists = std::function<bool(const std::string& utf8Family)>;

// The fixed-pitch CJK family of Debian's fonts-ipafont-gothic.
inline constexpr const char* kFallbackFontFamily = "IPAGothic";
// Fontconfig's generic family, which always resolves to some installed font.
inline constexpr const char* kLastResortFontFamily = "monospace";

// The UTF-8 family to use for a stored name (Shift JIS): the name itself when
// installed; else its Linux counterpart (IPAPGothic for "ＭＳ Ｐゴシック",
// IPAGothic for "ＭＳ ゴシック", the IPA Mincho faces for the Mincho ones)
// when installed; else IPAGothic; else "monospace".
std::string FontFamilyFor(std::string_view storedSjis, const TFontExists& exists);

}  // namespace nuv
