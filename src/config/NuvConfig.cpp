// TnuvConfig: file resolution, loading, saving and checking of the settings.
#include "config/NuvConfig.h"

#include <algorithm>

#include "base/AsciiCase.h"
#include "base/FileIo.h"
#include "base/IniFile.h"
#include "base/ProgramFolder.h"
#include "config/ConfigKeys.h"

namespace nuv {

namespace {

std::string ToolKey(const TToolField& field, std::size_t index) { return field.stem + std::to_string(index); }

// The store only reads through these references; the member accessors of the
// key table take mutable records so one table serves reading and writing.
template <class T>
T& Unconst(const T& record) {
  return const_cast<T&>(record);
}

// Removes the slot or tool keys of a section, so that slots emptied and tools
// deleted since the last save do not come back; comments and keys of others stay.
void RemoveRewrittenKeys(TIniFile& ini, std::string_view section) {
  for (const std::string& key : ini.ReadSection(section))
    if (IsRewrittenKey(section, key)) ini.DeleteKey(section, key);
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
  for (const TConfigKey& key : ConfigKeys()) SetToDefault(key, *this);
  Tools.clear();
}

void TnuvConfig::Validate() {
  for (const TConfigKey& key : ConfigKeys()) CheckValue(key, *this);
  // A file brought over from Windows names a program that does not exist here.
  if (AsciiEqualNoCase(Path.Editor, "notepad.exe") || AsciiEqualNoCase(Path.Editor, "notepad")) Path.Editor = kDefaultEditor;
}

void TnuvConfig::ReadFrom(const TIniFile& ini) {
  // Brackets written before the "<node@" slot existed are dropped: every slot
  // then takes its default, as if the section were empty.
  const bool keepBrackets = ini.ReadString(kBracketsSection, kBracketsMarkerKey, "") == kBracketsMarker;
  for (const TConfigKey& key : ConfigKeys()) {
    if (key.section == kBracketsSection && !keepBrackets) SetToDefault(key, *this);
    else ReadValue(ini, key, *this);
  }

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
  RemoveRewrittenKeys(ini, kBracketsSection);
  for (const TConfigKey& key : ConfigKeys()) {
    // Only slots with both texts are written.
    if (key.section == kBracketsSection && !Brackets[static_cast<std::size_t>(key.slot)].InUse()) continue;
    write(key.section, key.key, FormatValue(key.type, key.field(self)));
  }

  RemoveRewrittenKeys(ini, kToolsSection);
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
