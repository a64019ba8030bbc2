// TnuvConfig: every user preference that is not window geometry or history,
// one member per settings key, loaded from and saved to an ini file.
//
// Text members hold Shift JIS bytes exactly as the file does; paths among
// them (LastFile, Path.Data, Path.Backup, EditModes[].File, Tools[].File) must
// be converted to the native encoding before they are used as file names.
// The file names handed to Load and Save are native paths.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace nuv {

class TIniFile;

// A font-style set: bold is bit 0, italic bit 1, underline bit 2.
using TFontStyles = uint8_t;
constexpr TFontStyles kStyleBold = 1 << 0;
constexpr TFontStyles kStyleItalic = 1 << 1;
constexpr TFontStyles kStyleUnderline = 1 << 2;

// Colours are 0x00BBGGRR, or 0x80000000 plus a system colour index.
constexpr int32_t kSystemColorBase = INT32_MIN;  // 0x80000000
constexpr int32_t kColorWindow = kSystemColorBase + 5;
constexpr int32_t kColorWindowText = kSystemColorBase + 8;
// The editor's "no colour": use its default colour instead.
constexpr int32_t kColorNone = 0x1FFFFFFF;

// One text colour group of the editor (keys <G>Color, <G>BkColor, <G>Bold, ...).
struct TColorGroup {
  int32_t Color = 0;
  int32_t BkColor = 0;
  TFontStyles Style = 0;
  bool operator==(const TColorGroup&) const = default;
};

// A highlight bracket: everything from Str to End is painted in its colours.
struct TBracketSlot {
  std::string Str;  // begin text
  std::string End;  // end text
  int32_t Color = 0;
  int32_t BkColor = 0;
  TFontStyles Style = 0;
  // Only a slot with both texts is saved and given to the editor.
  bool InUse() const { return !Str.empty() && !End.empty(); }
  bool operator==(const TBracketSlot&) const = default;
};

// A user edit mode; a slot with an empty name is not offered.
struct TEditModeSlot {
  std::string Name;
  std::string Accelerator;
  std::string File;  // reserved-word file, relative to the program folder
  bool operator==(const TEditModeSlot&) const = default;
};

// An external tool: the page's text goes to File through a temporary file.
struct TnuvTool {
  std::string Title;   // menu caption
  std::string File;    // program
  std::string Option;  // arguments placed before the file name
  std::string Ext;     // extension of the temporary file, with its dot
  bool operator==(const TnuvTool&) const = default;
};

// Section Path.
struct TPathSettings {
  std::string Data;    // data folder
  std::string Backup;  // backup folder, empty: beside the document
  std::string Editor;  // external editor command
  bool operator==(const TPathSettings&) const = default;
};

constexpr int kBracketSlots = 14;
constexpr int kLabelCount = 8;
constexpr int kEditModeSlots = 10;
// More tools than this in a file are not read: a damaged Count must not make
// the store allocate or loop for billions of records.
constexpr int kMaxTools = 100;

// The default external editor: a terminal editor in the desktop's terminal,
// which returns only when the editor has been closed.
inline constexpr const char* kDefaultEditor = "x-terminal-emulator -e nano";

// One key as the store sees it, for listings and tests.
struct TConfigEntry {
  std::string section;
  std::string key;
  std::string value;  // as written to the file (Shift JIS, decimal, "1"/"0")
};

// Lets the owner of other sections write them into the same file, in the same
// atomic replacement (the main window's session state).
using TIniWriter = std::function<void(TIniFile&)>;

class TnuvConfig {
 public:
  // Every member at its default. An empty program folder means ProgramFolder().
  explicit TnuvConfig(std::string programFolder = std::string());

  // Section EditView.
  std::string TreeFontFace;
  int32_t TreeFontSize = 0;
  std::string ListFontFace;
  int32_t ListFontSize = 0;
  std::string FontFace;
  int32_t FontSize = 0;
  bool ShowTab = false;
  bool ShowRet = false;
  bool ShowEOF = false;
  bool ShowSBSp = false;
  bool ShowDBSp = false;
  bool ShowLineNo = false;
  int32_t LineNoMode = 0;  // 0 logical lines, 1 display rows
  bool ShowMarginRight = false;
  int32_t MarginRightPos = 0;
  bool ShowRuler = false;
  int32_t RulerRange = 0;
  bool RulerEdge = false;
  bool Underline = false;
  int32_t MarginTop = 0;
  int32_t MarginLeft = 0;
  int32_t MarginLine = 0;
  int32_t MarginChar = 0;
  int32_t TabSpace = 0;
  bool AutoIndent = false;
  bool TabIndent = false;
  bool ZeroBase = false;
  bool WordWrap = false;
  int32_t WrapByte = 0;
  bool WrapRight = false;
  bool FollowPunctuation = false;
  bool FollowRetMark = false;
  bool Leading = false;
  bool WordBreak = false;

  // Section EditColors.
  TColorGroup Ank, DBCS, Comment, Keyword, URL, Mail, Str, Digit;
  int32_t SelectColor = 0;
  int32_t SelectBkColor = 0;
  int32_t TabColor = 0;
  int32_t RetColor = 0;
  int32_t EOFColor = 0;
  int32_t DBSpColor = 0;
  int32_t SpColor = 0;
  int32_t RulerColor = 0;
  int32_t RulerBkColor = 0;
  int32_t RulerMarkColor = 0;
  int32_t LineNoColor = 0;
  int32_t LineNoBkColor = 0;
  int32_t RightMarginColor = 0;
  int32_t EditBkColor = 0;
  int32_t UnderlineColor = 0;
  int32_t FindMarkColor = 0;

  // Section Colors.
  int32_t TreeFontColor = 0;
  int32_t TreeBkColor = 0;
  int32_t ListFontColor = 0;
  int32_t ListBkColor = 0;

  // Section Brackets: slots 1 to 14 are Brackets[0] to Brackets[13].
  std::array<TBracketSlot, kBracketSlots> Brackets;

  // Section Label: Label1 to Label8 are Labels[0] to Labels[7].
  bool ShowLabel1 = false;
  bool ClearLabel1 = false;
  std::array<std::string, kLabelCount> Labels;

  // Section Format.
  std::string Date;
  std::string Time;
  std::string DateAndTime;

  // Section Action.
  bool OpenLastFile = false;
  std::string OpennuvExt;
  std::string LastFile;
  bool ExpandAll = false;
  bool PirkaCompatible = false;
  int32_t ExecLinkMode = 0;  // 0 click, 1 Ctrl+click, 2 double click
  bool Backup = false;
  bool AlwaysSave = false;
  bool NoAskSave = false;
  int32_t ScrollLine = 0;
  bool DelViewLine = false;
  bool IMEMode = false;
  bool AskDelNode = false;
  bool TextSave = false;
  bool MakeDLinkNewNode = false;
  bool AskSaveDL = false;
  bool UseTrash = false;
  bool TextSaveWithData = false;

  // Section EditMode: slots 1 to 10 are EditModes[0] to EditModes[9].
  std::array<TEditModeSlot, kEditModeSlots> EditModes;

  // Section Path.
  TPathSettings Path;

  // Section Tools, in menu order.
  std::vector<TnuvTool> Tools;

  // Reads every key. "nuv.ini" (exactly) is the program folder's file and
  // makes the current settings file empty; any other name is a full path and
  // becomes the current settings file. A missing file reads as defaults; a
  // file that exists but cannot be read changes nothing and gives false.
  bool Load(const std::string& name);
  // Writes every key, keeping every other line of the file. "nuv.ini" is the
  // current settings file, or the program folder's file while that is empty;
  // any other name is a full path and does not change the current file.
  // `also` writes further sections into the same file first. Values holding
  // CR or LF are not written; their "Section.Key" names go to *refused.
  // False when the file could not be read or written.
  bool Save(const std::string& name, const TIniWriter& also = {}, std::vector<std::string>* refused = nullptr);
  // Saves to the current settings file, then loads another one: changes made
  // since the last load go back to the file they belong to instead of being lost.
  bool SwitchTo(const std::string& name);

  // The settings in an ini already in memory. A Brackets section whose slot 8
  // is not "<node@" is ignored and every slot takes its default; missing keys
  // of the editor's settings keep their current values, all others take
  // their defaults; then the values are checked (Validate).
  void ReadFrom(const TIniFile& ini);
  // False when a value was refused (see Save).
  bool WriteTo(TIniFile& ini, std::vector<std::string>* refused = nullptr) const;

  // Every key at its default.
  void ResetToDefaults();
  // Brings every number into the range its user accepts (sizes, margins,
  // widths, choices, colours) and replaces the old Windows editor default.
  // Load does this; code that changes members calls it before applying them.
  void Validate();

  // Every key of every section in file order, tools included.
  std::vector<TConfigEntry> Entries() const;

  // The current settings file: a path, empty while the default file is in use.
  const std::string& CurrentFile() const { return m_currentFile; }
  // The program folder given at construction, else ProgramFolder().
  std::string ProgramFolderPath() const;
  // The file a name means to Load ("nuv.ini": the program folder's file).
  std::string FileForLoad(const std::string& name) const;
  // The file a name means to Save (see Save).
  std::string FileForSave(const std::string& name) const;

  bool operator==(const TnuvConfig&) const = default;

 private:
  std::string m_programFolder;
  std::string m_currentFile;
};

// The name of the default settings file.
inline constexpr const char* kDefaultSettingsName = "nuv.ini";

// A folder setting as the settings dialog stores it: with a trailing "/" when
// it is longer than one byte and has none.
std::string WithTrailingSlash(std::string_view folder);

}  // namespace nuv
