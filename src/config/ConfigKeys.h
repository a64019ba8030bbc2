// The table of settings keys: one row per key of the fixed sections, with its
// section, name, type, default, check and the TnuvConfig member that holds it.
//
// The rows of the numbered groups (colour groups, bracket slots, edit-mode
// slots) are expanded from small per-group tables when the table is first
// used; the tools, whose number the file decides, use the same field
// descriptors (ToolFields) with keys numbered from 0.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "config/NuvConfig.h"

namespace nuv {

enum class TKeyType : uint8_t {
  Text,   // Shift JIS text
  Int,    // signed 32-bit decimal
  Bool,   // "1" or "0"; any integer other than 0 reads as true
  Color,  // an Int holding a colour
  Style,  // a Bool stored as one bit of a TFontStyles set
};

// What Validate does to an Int value read from a file.
enum class TCheck : uint8_t {
  None,
  Clamp,         // into min..max
  ClampEven,     // into min..max, then down to an even number
  Choice,        // one of min..max, else the default
  NonZeroIsOne,  // 0 stays 0, anything else becomes 1
};

struct TRange {
  TCheck check = TCheck::None;
  int32_t min = 0;
  int32_t max = 0;
};

struct TStyleBit {
  TFontStyles* set;
  TFontStyles bit;
};
// Where a key's value lives: the alternative follows the key's type
// (Text: string, Int and Color: int32_t, Bool: bool, Style: one bit).
using TFieldRef = std::variant<std::string*, int32_t*, bool*, TStyleBit>;

struct TConfigKey {
  std::string section;
  std::string key;
  TKeyType type = TKeyType::Int;
  std::string textDefault;  // Shift JIS
  int32_t numberDefault = 0;
  // A key the editor also holds: when it is missing from a file the current
  // value (the one the editor shows) is kept instead of the default.
  bool editorValue = false;
  TRange range;
  int slot = -1;  // 0-based slot of a numbered group, -1 for a plain key
  std::function<TFieldRef(TnuvConfig&)> field;
};

// Every key of the fixed sections in file order: EditView, EditColors, Colors,
// Brackets, Label, Format, Action, EditMode, Path.
const std::vector<TConfigKey>& ConfigKeys();

// The four keys of a tool; key names are the stem followed by the tool's
// 0-based number.
struct TToolField {
  const char* stem;
  std::string* (*field)(TnuvTool&);
};
std::span<const TToolField> ToolFields();

inline constexpr std::string_view kBracketsSection = "Brackets";
inline constexpr std::string_view kToolsSection = "Tools";
// A Brackets section is kept only when slot 8 holds this begin text; older
// files lose the section and start from the default brackets.
inline constexpr std::string_view kBracketsMarkerKey = "BracketsStr8";
inline constexpr std::string_view kBracketsMarker = "<node@";

// Whether a key of the Brackets or Tools section is one nuv writes (a slot or
// tool key with any number, or the tool Count): saving removes these before
// it writes the slots and tools afresh, and keeps every other line.
bool IsRewrittenKey(std::string_view section, std::string_view key);

// The editor's range of the wrap width.
constexpr int32_t kWrapByteMin = 20;
constexpr int32_t kWrapByteMax = 250;

// Colours a settings file may hold: 0x00BBGGRR, a system colour
// (0x80000000 + 0..30) or the editor's "no colour".
bool IsValidColor(int32_t color);

// A value as the file holds it, and back.
std::string FormatValue(TKeyType type, const TFieldRef& ref);
void ReadValue(const TIniFile& ini, const TConfigKey& key, TnuvConfig& config);
void SetToDefault(const TConfigKey& key, TnuvConfig& config);
// Applies the key's check (and, for colours, the validity test) to its value.
void CheckValue(const TConfigKey& key, TnuvConfig& config);

}  // namespace nuv
