// TnuvConfig: file resolution, loading, saving and checking of the settings.
#include "config/NuvConfig.h"

#include <algorithm>

#include "base/FileIo.h"
#include "base/IniFile.h"
#include "base/ProgramFolder.h"
#include "config/ConfigKeys.h"

namespace nuv {

namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch; };
           return lower(x) == lower(y);
         });
}

std::string ToolKey(const TToolField& field, std::size_t index) { return field.stem + std::to_string(index); }

// The store only reads through these references; the member accessors of the
// key table take mutable records so one table serves reading and writing.
template <class T>
T& Unconst(const T& record) {
  return const_cast<T&>(record);
}

}  // namespace

std::string WithTrailingSlash(std::string_view folder) {
  std::string out(folder);
  if (out.size() > 1 && out.back() != '/') out += '/';
  return out;
}

TnuvConfig::TnuvConfig(std::string programFolder) : m_programFolder(std::move(programFolder)) { ResetToDefaults(); }

std::string TnuvConfig::ProgramFolderPath() const {
  return m_programFolder.empty() ? ProgramFolder() : m_programFolder;
}

std::string TnuvConfig::FileForLoad(const std::string& name) const {
  if (name == kDefaultSettingsName) return ProgramFolderPath() + "/" + kDefaultSettingsName;
  return name;
}

std::string TnuvConfig::FileForSave(const std::string& name) const {
  if (name == kDefaultSettingsName && !m_currentFile.empty()) return m_currentFile;
  return FileForLoad(name);
}

void TnuvConfig::ResetToDefaults() {
  for (const TConfigKey& key : ConfigKeys()) {
    const TFieldRef ref = key.field(*this);
    switch (key.type) {
      case TKeyType::Text: *std::get<std::string*>(ref) = key.textDefault; break;
      case TKeyType::Int:
      case TKeyType::Color: *std::get<int32_t*>(ref) = key.numberDefault; break;
      case TKeyType::Bool: *std::get<bool*>(ref) = key.numberDefault != 0; break;
      case TKeyType::Style: {
        const TStyleBit bit = std::get<TStyleBit>(ref);
        *bit.set = static_cast<TFontStyles>(key.numberDefault ? (*bit.set | bit.bit) : (*bit.set & ~bit.bit));
        break;
      }
    }
  }
  Tools.clear();
}

void TnuvConfig::Validate() {
  for (const TConfigKey& key : ConfigKeys()) CheckValue(key, *this);
  // A file brought over from Windows names a program that does not exist here.
  if (EqualNoCase(Path.Editor, "notepad.exe") || EqualNoCase(Path.Editor, "notepad")) Path.Editor = kDefaultEditor;
}

void TnuvConfig::ReadFrom(TIniFile& ini) {
  if (ini.ReadString(kBracketsSection, kBracketsMarkerKey, "") != kBracketsMarker) ini.EraseSection(kBracketsSection);
  for (const TConfigKey& key : ConfigKeys()) ReadValue(ini, key, *this);

  const int32_t count = std::clamp(ini.ReadInteger(kToolsSection, "Count", 0), 0, kMaxTools);
  Tools.assign(static_cast<std::size_t>(count), TnuvTool{});
  for (std::size_t i = 0; i < Tools.size(); ++i)
    for (const TToolField& field : ToolFields())
      *field.field(Tools[i]) = ini.ReadString(kToolsSection, ToolKey(field, i), "");

  Validate();
}

bool TnuvConfig::WriteTo(TIniFile& ini, std::vector<std::string>* refused) const {
  bool all = true;
  auto write = [&](std::string_view section, const std::string& key, const std::string& value) {
    if (ini.WriteString(section, key, value)) return;
    all = false;
    if (refused) refused->push_back(std::string(section) + "." + key);
  };

  TnuvConfig& self = Unconst(*this);
  bool bracketsErased = false;
  for (const TConfigKey& key : ConfigKeys()) {
    if (key.section == kBracketsSection) {
      // Rewritten whole, so slots emptied since the last save disappear.
      if (!bracketsErased) ini.EraseSection(kBracketsSection);
      bracketsErased = true;
      if (!Brackets[static_cast<std::size_t>(key.slot)].InUse()) continue;
    }
    write(key.section, key.key, FormatValue(key.type, key.field(self)));
  }

  ini.EraseSection(kToolsSection);
  write(kToolsSection, "Count", std::to_string(Tools.size()));
  for (std::size_t i = 0; i < Tools.size(); ++i)
    for (const TToolField& field : ToolFields())
      write(kToolsSection, ToolKey(field, i), *field.field(Unconst(Tools[i])));
  return all;
}

bool TnuvConfig::Load(const std::string& name) {
  TIniFile ini;
  if (!ini.Load(FileForLoad(name))) return false;
  ReadFrom(ini);
  m_currentFile = name == kDefaultSettingsName ? std::string() : name;
  return true;
}

bool TnuvConfig::Save(const std::string& name, const TIniWriter& also, std::vector<std::string>* refused) {
  const std::string path = FileForSave(name);
  TIniFile ini;
  // A file that cannot be read is never replaced: its other sections would be lost.
  if (!ini.Load(path)) return false;
  const std::string before = ini.ToBytes();
  if (also) also(ini);
  WriteTo(ini, refused);
  if (FileExists(path) && ini.ToBytes() == before) return true;
  return ini.SaveAs(path);
}

bool TnuvConfig::SwitchTo(const std::string& name) {
  const bool saved = Save(kDefaultSettingsName);
  return Load(name) && saved;
}

std::vector<TConfigEntry> TnuvConfig::Entries() const {
  std::vector<TConfigEntry> entries;
  TnuvConfig& self = Unconst(*this);
  for (const TConfigKey& key : ConfigKeys())
    entries.push_back({key.section, key.key, FormatValue(key.type, key.field(self))});
  const std::string tools(kToolsSection);
  entries.push_back({tools, "Count", std::to_string(Tools.size())});
  for (std::size_t i = 0; i < Tools.size(); ++i)
    for (const TToolField& field : ToolFields())
      entries.push_back({tools, ToolKey(field, i), *field.field(Unconst(Tools[i]))});
  return entries;
}

}  // namespace nuv
