// The settings key table and the reading, formatting and checking of one key.
#include "config/ConfigKeys.h"

#include <algorithm>

#include "base/AsciiCase.h"
#include "base/Codec.h"
#include "base/IniFile.h"

namespace nuv {

namespace {

// A default as written in the tables: a UTF-8 text or a number.
struct TDefault {
  const char* text = "";
  int32_t number = 0;
  constexpr TDefault(const char* t) : text(t) {}
  constexpr TDefault(int32_t n) : number(n) {}
};

constexpr TRange Clamp(int32_t min, int32_t max) { return {TCheck::Clamp, min, max}; }
constexpr TRange Even(int32_t min, int32_t max) { return {TCheck::ClampEven, min, max}; }
constexpr TRange Choice(int32_t min, int32_t max) { return {TCheck::Choice, min, max}; }
constexpr TRange kNonZeroIsOne{TCheck::NonZeroIsOne, 0, 1};

constexpr bool kEditor = true;  // the default is the editor's current value

constexpr TKeyType kText = TKeyType::Text;
constexpr TKeyType kInt = TKeyType::Int;
constexpr TKeyType kBool = TKeyType::Bool;
constexpr TKeyType kColor = TKeyType::Color;
constexpr TKeyType kStyle = TKeyType::Style;

using TMember = TFieldRef (*)(TnuvConfig&);

struct TPlainRow {
  const char* section;
  const char* key;
  TMember member;
  TKeyType type;
  TDefault def;
  bool editorValue = false;
  TRange range = {};
};

// The key name and the member of the same name.
#define NUV_KEY(name) #name, [](TnuvConfig& c) -> TFieldRef { return &c.name; }
#define NUV_PATH_KEY(name) #name, [](TnuvConfig& c) -> TFieldRef { return &c.Path.name; }
#define NUV_LABEL_KEY(n) "Label" #n, [](TnuvConfig& c) -> TFieldRef { return &c.Labels[n - 1]; }

// Font sizes in points and the right-margin column have no limit of their
// own in the editor; these keep a damaged file from asking for absurd ones.
constexpr TRange kFontSize = Clamp(1, 200);
constexpr TRange kMargin = Clamp(0, 100);

const TPlainRow kEditViewRows[] = {
    {"EditView", NUV_KEY(TreeFontFace), kText, "ＭＳ Ｐゴシック"},
    {"EditView", NUV_KEY(TreeFontSize), kInt, 9, false, kFontSize},
    {"EditView", NUV_KEY(ListFontFace), kText, "ＭＳ Ｐゴシック"},
    {"EditView", NUV_KEY(ListFontSize), kInt, 9, false, kFontSize},
    {"EditView", NUV_KEY(FontFace), kText, "ＭＳ ゴシック", kEditor},
    {"EditView", NUV_KEY(FontSize), kInt, 9, kEditor, kFontSize},
    {"EditView", NUV_KEY(ShowTab), kBool, true, kEditor},
    {"EditView", NUV_KEY(ShowRet), kBool, true, kEditor},
    {"EditView", NUV_KEY(ShowEOF), kBool, true, kEditor},
    {"EditView", NUV_KEY(ShowSBSp), kBool, false, kEditor},
    {"EditView", NUV_KEY(ShowDBSp), kBool, true, kEditor},
    {"EditView", NUV_KEY(ShowLineNo), kBool, true, kEditor},
    {"EditView", NUV_KEY(LineNoMode), kInt, 0, false, kNonZeroIsOne},
    {"EditView", NUV_KEY(ShowMarginRight), kBool, true, kEditor},
    {"EditView", NUV_KEY(MarginRightPos), kInt, 80, kEditor, Clamp(0, 1000)},
    {"EditView", NUV_KEY(ShowRuler), kBool, true, kEditor},
    {"EditView", NUV_KEY(RulerRange), kInt, 10, kEditor, Even(8, 10)},
    {"EditView", NUV_KEY(RulerEdge), kBool, true, kEditor},
    {"EditView", NUV_KEY(Underline), kBool, false, kEditor},
    {"EditView", NUV_KEY(MarginTop), kInt, 2, kEditor, kMargin},
    {"EditView", NUV_KEY(MarginLeft), kInt, 8, kEditor, kMargin},
    {"EditView", NUV_KEY(MarginLine), kInt, 1, kEditor, kMargin},
    {"EditView", NUV_KEY(MarginChar), kInt, 0, kEditor, kMargin},
    {"EditView", NUV_KEY(TabSpace), kInt, 4, kEditor, Even(2, 8)},
    {"EditView", NUV_KEY(AutoIndent), kBool, true, kEditor},
    {"EditView", NUV_KEY(TabIndent), kBool, true, kEditor},
    {"EditView", NUV_KEY(ZeroBase), kBool, false, kEditor},
    {"EditView", NUV_KEY(WordWrap), kBool, true, kEditor},
    {"EditView", NUV_KEY(WrapByte), kInt, 80, kEditor, Clamp(kWrapByteMin, kWrapByteMax)},
    {"EditView", NUV_KEY(WrapRight), kBool, true},
    {"EditView", NUV_KEY(FollowPunctuation), kBool, false, kEditor},
    {"EditView", NUV_KEY(FollowRetMark), kBool, false, kEditor},
    {"EditView", NUV_KEY(Leading), kBool, false, kEditor},
    {"EditView", NUV_KEY(WordBreak), kBool, false, kEditor},
};

// EditColors: each group gives <prefix>Color, BkColor, Bold, Italic, Underline.
struct TColorGroupRow {
  const char* prefix;
  TColorGroup TnuvConfig::*group;
  TColorGroup def;
};
const TColorGroupRow kColorGroupRows[] = {
    {"Ank", &TnuvConfig::Ank, {0, 16777215, 0}},
    {"DBCS", &TnuvConfig::DBCS, {0, 16777215, 0}},
    {"Comment", &TnuvConfig::Comment, {32768, 16777215, 0}},
    {"Keyword", &TnuvConfig::Keyword, {16711680, 16777215, 0}},
    {"URL", &TnuvConfig::URL, {16711680, 16777215, kStyleUnderline}},
    {"Mail", &TnuvConfig::Mail, {16711680, 16777215, kStyleUnderline}},
    {"Str", &TnuvConfig::Str, {8388736, 16777215, 0}},
    {"Digit", &TnuvConfig::Digit, {0, 16777215, 0}},
};

const TPlainRow kEditColorRows[] = {
    {"EditColors", NUV_KEY(SelectColor), kColor, 16777215, kEditor},
    {"EditColors", NUV_KEY(SelectBkColor), kColor, 8388608, kEditor},
    {"EditColors", NUV_KEY(TabColor), kColor, 8421504, kEditor},
    {"EditColors", NUV_KEY(RetColor), kColor, 8421504, kEditor},
    {"EditColors", NUV_KEY(EOFColor), kColor, 8421504, kEditor},
    {"EditColors", NUV_KEY(DBSpColor), kColor, 8421504, kEditor},
    {"EditColors", NUV_KEY(SpColor), kColor, kColorWindow, kEditor},
    {"EditColors", NUV_KEY(RulerColor), kColor, 8421376, kEditor},
    {"EditColors", NUV_KEY(RulerBkColor), kColor, 16777215, kEditor},
    {"EditColors", NUV_KEY(RulerMarkColor), kColor, 32768, kEditor},
    {"EditColors", NUV_KEY(LineNoColor), kColor, 8421376, kEditor},
    {"EditColors", NUV_KEY(LineNoBkColor), kColor, 16777215, kEditor},
    {"EditColors", NUV_KEY(RightMarginColor), kColor, 12632256, kEditor},
    {"EditColors", NUV_KEY(EditBkColor), kColor, 16777215, kEditor},
    {"EditColors", NUV_KEY(UnderlineColor), kColor, 8421504, kEditor},
    {"EditColors", NUV_KEY(FindMarkColor), kColor, 65280, kEditor},
    {"Colors", NUV_KEY(TreeFontColor), kColor, kColorWindowText},
    {"Colors", NUV_KEY(TreeBkColor), kColor, kColorWindow},
    {"Colors", NUV_KEY(ListFontColor), kColor, kColorWindowText},
    {"Colors", NUV_KEY(ListBkColor), kColor, kColorWindow},
};

// Brackets: slot n gives BracketsStr<n> ... BracketsUnderline<n>. Slots 1 to
// 8 default to the editor's start-up brackets, the others to an empty slot.
struct TBracketDefault {
  const char* str;
  const char* end;
  int32_t color;
  int32_t bkColor;
  TFontStyles style;
};
const TBracketDefault kBracketDefaults[] = {
    {"/*", "*/", 32768, 16777215, 0},
    {"{*", "*}", 255, 16777215, 0},
    {"{!", "!}", 8421376, 16777215, 0},
    {"「", "」", kColorWindowText, kColorWindow, 0},
    {"<node:", ">", 128, 16777215, 0},
    {"<line:", ">", 128, 16777215, 0},
    {"<file@", ">", 16711680, 16777215, kStyleUnderline},
    {"<node@", ">", 128, 16777215, 0},
};
constexpr TBracketDefault kEmptyBracket = {"", "", 0, 16777215, 0};

const TPlainRow kLabelRows[] = {
    {"Label", NUV_KEY(ShowLabel1), kBool, false},
    {"Label", NUV_KEY(ClearLabel1), kBool, false},
    {"Label", NUV_LABEL_KEY(1), kText, "なし"},
    {"Label", NUV_LABEL_KEY(2), kText, "重要"},
    {"Label", NUV_LABEL_KEY(3), kText, "やや重要"},
    {"Label", NUV_LABEL_KEY(4), kText, "普通"},
    {"Label", NUV_LABEL_KEY(5), kText, "緊急"},
    {"Label", NUV_LABEL_KEY(6), kText, "急ぎ"},
    {"Label", NUV_LABEL_KEY(7), kText, "のんびり"},
    {"Label", NUV_LABEL_KEY(8), kText, "必須"},
    {"Format", NUV_KEY(Date), kText, "yyyy/mm/dd(ddd)"},
    {"Format", NUV_KEY(Time), kText, "hh:nn:ss"},
    {"Format", NUV_KEY(DateAndTime), kText, "yyyy/mm/dd(ddd)hh:nn:ss"},
    {"Action", NUV_KEY(OpenLastFile), kBool, true},
    {"Action", NUV_KEY(OpennuvExt), kText, "*.nuv;*.pk2"},
    {"Action", NUV_KEY(LastFile), kText, ""},
    {"Action", NUV_KEY(ExpandAll), kBool, true},
    {"Action", NUV_KEY(PirkaCompatible), kBool, false},
    {"Action", NUV_KEY(ExecLinkMode), kInt, 1, false, Choice(0, 2)},
    {"Action", NUV_KEY(Backup), kBool, false},
    {"Action", NUV_KEY(AlwaysSave), kBool, false},
    {"Action", NUV_KEY(NoAskSave), kBool, false},
    {"Action", NUV_KEY(ScrollLine), kInt, 1, false, Clamp(1, 100)},
    {"Action", NUV_KEY(DelViewLine), kBool, true},
    {"Action", NUV_KEY(IMEMode), kBool, false},
    {"Action", NUV_KEY(AskDelNode), kBool, false},
    {"Action", NUV_KEY(TextSave), kBool, false},
    {"Action", NUV_KEY(MakeDLinkNewNode), kBool, false},
    {"Action", NUV_KEY(AskSaveDL), kBool, false},
    {"Action", NUV_KEY(UseTrash), kBool, true},
    {"Action", NUV_KEY(TextSaveWithData), kBool, false},
};

const TPlainRow kPathRows[] = {
    {"Path", NUV_PATH_KEY(Data), kText, ""},
    {"Path", NUV_PATH_KEY(Backup), kText, ""},
    {"Path", NUV_PATH_KEY(Editor), kText, kDefaultEditor},
};

#undef NUV_KEY
#undef NUV_PATH_KEY
#undef NUV_LABEL_KEY

// The keys of one slot of a numbered group.
template <class TSlot>
struct TSlotField {
  const char* stem;
  TKeyType type;
  TFieldRef (*field)(TSlot&);
};

const TSlotField<TColorGroup> kColorGroupFields[] = {
    {"Color", kColor, [](TColorGroup& g) -> TFieldRef { return &g.Color; }},
    {"BkColor", kColor, [](TColorGroup& g) -> TFieldRef { return &g.BkColor; }},
    {"Bold", kStyle, [](TColorGroup& g) -> TFieldRef { return TStyleBit{&g.Style, kStyleBold}; }},
    {"Italic", kStyle, [](TColorGroup& g) -> TFieldRef { return TStyleBit{&g.Style, kStyleItalic}; }},
    {"Underline", kStyle, [](TColorGroup& g) -> TFieldRef { return TStyleBit{&g.Style, kStyleUnderline}; }},
};

const TSlotField<TBracketSlot> kBracketFields[] = {
    {"BracketsStr", kText, [](TBracketSlot& s) -> TFieldRef { return &s.Str; }},
    {"BracketsEnd", kText, [](TBracketSlot& s) -> TFieldRef { return &s.End; }},
    {"BracketsColor", kColor, [](TBracketSlot& s) -> TFieldRef { return &s.Color; }},
    {"BracketsBkColor", kColor, [](TBracketSlot& s) -> TFieldRef { return &s.BkColor; }},
    {"BracketsBold", kStyle, [](TBracketSlot& s) -> TFieldRef { return TStyleBit{&s.Style, kStyleBold}; }},
    {"BracketsItalic", kStyle, [](TBracketSlot& s) -> TFieldRef { return TStyleBit{&s.Style, kStyleItalic}; }},
    {"BracketsUnderline", kStyle,
     [](TBracketSlot& s) -> TFieldRef { return TStyleBit{&s.Style, kStyleUnderline}; }},
};

const TSlotField<TEditModeSlot> kEditModeFields[] = {
    {"Name", kText, [](TEditModeSlot& s) -> TFieldRef { return &s.Name; }},
    {"Accelerator", kText, [](TEditModeSlot& s) -> TFieldRef { return &s.Accelerator; }},
    {"File", kText, [](TEditModeSlot& s) -> TFieldRef { return &s.File; }},
};

const TToolField kToolFields[] = {
    {"Title", [](TnuvTool& t) { return &t.Title; }},
    {"File", [](TnuvTool& t) { return &t.File; }},
    {"Option", [](TnuvTool& t) { return &t.Option; }},
    {"Ext", [](TnuvTool& t) { return &t.Ext; }},
};

// Fills a row's default from the value a field has in a default slot.
void SetDefault(TConfigKey& key, const TFieldRef& def) {
  if (const auto* text = std::get_if<std::string*>(&def)) key.textDefault = **text;
  else if (const auto* number = std::get_if<int32_t*>(&def)) key.numberDefault = **number;
  else if (const auto* flag = std::get_if<bool*>(&def)) key.numberDefault = **flag ? 1 : 0;
  else {
    const TStyleBit bit = std::get<TStyleBit>(def);
    key.numberDefault = (*bit.set & bit.bit) ? 1 : 0;
  }
}

void AddPlain(std::vector<TConfigKey>& out, std::span<const TPlainRow> rows) {
  for (const TPlainRow& row : rows) {
    TConfigKey key;
    key.section = row.section;
    key.key = row.key;
    key.type = row.type;
    if (row.type == kText) key.textDefault = SjisFromLiteral(row.def.text);
    key.numberDefault = row.def.number;
    key.editorValue = row.editorValue;
    key.range = row.range;
    key.field = row.member;
    out.push_back(std::move(key));
  }
}

// One slot's keys: key names are prefix + stem + suffix.
template <class TSlot, class TGetSlot>
void AddSlot(std::vector<TConfigKey>& out, std::string_view section, std::span<const TSlotField<TSlot>> fields,
             std::string_view prefix, std::string_view suffix, int slot, TSlot def, bool editorValue,
             TGetSlot getSlot) {
  for (const TSlotField<TSlot>& f : fields) {
    TConfigKey key;
    key.section = section;
    key.key = std::string(prefix) + f.stem + std::string(suffix);
    key.type = f.type;
    SetDefault(key, f.field(def));
    key.editorValue = editorValue;
    key.slot = slot;
    key.field = [getSlot, field = f.field](TnuvConfig& c) { return field(getSlot(c)); };
    out.push_back(std::move(key));
  }
}

std::vector<TConfigKey> BuildKeys() {
  std::vector<TConfigKey> keys;
  AddPlain(keys, kEditViewRows);
  for (int g = 0; g < static_cast<int>(std::size(kColorGroupRows)); ++g) {
    const TColorGroupRow& row = kColorGroupRows[g];
    AddSlot<TColorGroup>(keys, "EditColors", kColorGroupFields, row.prefix, "", g, row.def, kEditor,
                         [group = row.group](TnuvConfig& c) -> TColorGroup& { return c.*group; });
  }
  AddPlain(keys, kEditColorRows);
  for (int n = 1; n <= kBracketSlots; ++n) {
    const TBracketDefault& d = n <= static_cast<int>(std::size(kBracketDefaults)) ? kBracketDefaults[n - 1]
                                                                                  : kEmptyBracket;
    const TBracketSlot def{SjisFromLiteral(d.str), SjisFromLiteral(d.end), d.color, d.bkColor, d.style};
    AddSlot<TBracketSlot>(keys, kBracketsSection, kBracketFields, "", std::to_string(n), n - 1, def, false,
                          [i = n - 1](TnuvConfig& c) -> TBracketSlot& { return c.Brackets[i]; });
  }
  AddPlain(keys, kLabelRows);
  for (int n = 1; n <= kEditModeSlots; ++n)
    AddSlot<TEditModeSlot>(keys, "EditMode", kEditModeFields, "", std::to_string(n), n - 1, TEditModeSlot{},
                           false, [i = n - 1](TnuvConfig& c) -> TEditModeSlot& { return c.EditModes[i]; });
  AddPlain(keys, kPathRows);
  return keys;
}

// stem followed by one or more decimal digits, the stem in any case.
bool IsNumbered(std::string_view key, std::string_view stem) {
  if (key.size() <= stem.size() || !AsciiEqualNoCase(key.substr(0, stem.size()), stem)) return false;
  for (char ch : key.substr(stem.size()))
    if (ch < '0' || ch > '9') return false;
  return true;
}

template <class T>
T* Get(const TFieldRef& ref) {
  return std::get<T*>(ref);
}

void SetBit(const TStyleBit& bit, bool on) {
  *bit.set = static_cast<TFontStyles>(on ? (*bit.set | bit.bit) : (*bit.set & ~bit.bit));
}

}  // namespace

const std::vector<TConfigKey>& ConfigKeys() {
  static const std::vector<TConfigKey> keys = BuildKeys();
  return keys;
}

std::span<const TToolField> ToolFields() { return kToolFields; }

bool IsRewrittenKey(std::string_view section, std::string_view key) {
  if (AsciiEqualNoCase(section, kBracketsSection))
    return std::any_of(std::begin(kBracketFields), std::end(kBracketFields),
                       [&](const auto& f) { return IsNumbered(key, f.stem); });
  if (AsciiEqualNoCase(section, kToolsSection))
    return AsciiEqualNoCase(key, "Count") || std::any_of(std::begin(kToolFields), std::end(kToolFields),
                                                    [&](const auto& f) { return IsNumbered(key, f.stem); });
  return false;
}

bool IsValidColor(int32_t color) {
  const auto u = static_cast<uint32_t>(color);
  if ((u & 0xFF000000u) == 0) return true;
  if ((u & 0xFFFFFF00u) == 0x80000000u && (u & 0xFFu) <= 30) return true;
  return color == kColorNone;
}

std::string FormatValue(TKeyType type, const TFieldRef& ref) {
  switch (type) {
    case TKeyType::Text: return *Get<std::string>(ref);
    case TKeyType::Int:
    case TKeyType::Color: return std::to_string(*Get<int32_t>(ref));
    case TKeyType::Bool: return *Get<bool>(ref) ? "1" : "0";
    case TKeyType::Style: {
      const TStyleBit bit = std::get<TStyleBit>(ref);
      return (*bit.set & bit.bit) ? "1" : "0";
    }
  }
  return std::string();
}

void ReadValue(const TIniFile& ini, const TConfigKey& key, TnuvConfig& config) {
  const TFieldRef ref = key.field(config);
  switch (key.type) {
    case TKeyType::Text: {
      std::string& value = *Get<std::string>(ref);
      value = ini.ReadString(key.section, key.key, key.editorValue ? value : key.textDefault);
      return;
    }
    case TKeyType::Int:
    case TKeyType::Color: {
      int32_t& value = *Get<int32_t>(ref);
      value = ini.ReadInteger(key.section, key.key, key.editorValue ? value : key.numberDefault);
      return;
    }
    case TKeyType::Bool: {
      bool& value = *Get<bool>(ref);
      value = ini.ReadBool(key.section, key.key, key.editorValue ? value : key.numberDefault != 0);
      return;
    }
    case TKeyType::Style: {
      const TStyleBit bit = std::get<TStyleBit>(ref);
      const bool current = (*bit.set & bit.bit) != 0;
      SetBit(bit, ini.ReadBool(key.section, key.key, key.editorValue ? current : key.numberDefault != 0));
      return;
    }
  }
}

void SetToDefault(const TConfigKey& key, TnuvConfig& config) {
  const TFieldRef ref = key.field(config);
  switch (key.type) {
    case TKeyType::Text: *Get<std::string>(ref) = key.textDefault; return;
    case TKeyType::Int:
    case TKeyType::Color: *Get<int32_t>(ref) = key.numberDefault; return;
    case TKeyType::Bool: *Get<bool>(ref) = key.numberDefault != 0; return;
    case TKeyType::Style: SetBit(std::get<TStyleBit>(ref), key.numberDefault != 0); return;
  }
}

void CheckValue(const TConfigKey& key, TnuvConfig& config) {
  if (key.type == TKeyType::Color) {
    int32_t& color = *Get<int32_t>(key.field(config));
    if (!IsValidColor(color)) color = key.numberDefault;
    return;
  }
  if (key.type != TKeyType::Int || key.range.check == TCheck::None) return;
  int32_t& value = *Get<int32_t>(key.field(config));
  const TRange& r = key.range;
  switch (r.check) {
    case TCheck::None: break;
    case TCheck::Clamp: value = std::clamp(value, r.min, r.max); break;
    case TCheck::ClampEven:
      value = std::clamp(value, r.min, r.max);
      if (value % 2 != 0) value = std::max(r.min, value - 1);
      break;
    case TCheck::Choice:
      if (value < r.min || value > r.max) value = key.numberDefault;
      break;
    case TCheck::NonZeroIsOne: value = value != 0 ? 1 : 0; break;
  }
}

}  // namespace nuv
