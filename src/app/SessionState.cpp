// Reading and writing the main window's sections.
#include "app/SessionState.h"

#include <algorithm>

#include "base/Codec.h"
#include "base/FileIo.h"
#include "base/IniFile.h"

namespace nuv {

namespace {

void ReadPaths(const TIniFile& ini, const char* section, std::vector<std::string>& out) {
  out.clear();
  for (std::size_t i = 0; i < TSessionState::kFileHistoryMax; ++i) {
    const std::string value = ini.ReadString(section, "File" + std::to_string(i), "");
    if (value.empty()) continue;
    const std::string path = Cp932ToUtf8(value);
    if (FileExists(path)) out.push_back(path);
  }
}

void WritePaths(TIniFile& ini, const char* section, const std::vector<std::string>& paths) {
  int index = 0;
  for (const std::string& path : paths) {
    // A path Shift JIS cannot hold cannot be kept in the file.
    if (const auto sjis = Utf8ToCp932(path)) ini.WriteString(section, "File" + std::to_string(index++), *sjis);
  }
}

void ReadTexts(const TIniFile& ini, const char* stem, std::vector<std::string>& out) {
  out.clear();
  for (std::size_t i = 0; i < TSessionState::kFindHistoryMax; ++i) {
    std::string value = ini.ReadString("History", stem + std::to_string(i), "");
    if (!value.empty()) out.push_back(std::move(value));
  }
}

void WriteTexts(TIniFile& ini, const char* stem, const std::vector<std::string>& texts) {
  for (std::size_t i = 0; i < texts.size() && i < TSessionState::kFindHistoryMax; ++i)
    ini.WriteString("History", stem + std::to_string(i), texts[i]);
}

}  // namespace

TSessionState::TSessionState() { Bars[6].Visible = false; }  // the date bar starts hidden

void TSessionState::Load(const TIniFile& ini) {
  WinPosX = ini.ReadInteger("Window", "WinPosX", kKeepOwnValue);
  WinPosY = ini.ReadInteger("Window", "WinPosY", kKeepOwnValue);
  WinWidth = ini.ReadInteger("Window", "WinWidth", kKeepOwnValue);
  WinHeight = ini.ReadInteger("Window", "WinHeight", kKeepOwnValue);
  WindowState = ini.ReadInteger("Window", "WindowState", 0);
  Splitter = ini.ReadInteger("Window", "Splitter", kKeepOwnValue);
  Splitter2 = ini.ReadInteger("Window", "Splitter2", kKeepOwnValue);
  StatusBar = ini.ReadBool("Window", "StatusBar", true);
  for (std::size_t i = 0; i < kBarNames.size(); ++i) {
    const std::string name = kBarNames[i];
    Bars[i].Top = ini.ReadInteger("ToolBar", name + "Top", kKeepOwnValue);
    Bars[i].Left = ini.ReadInteger("ToolBar", name + "Left", kKeepOwnValue);
    Bars[i].Visible = ini.ReadBool("ToolBar", name + "Visible", name != "Date");
  }
  ReadPaths(ini, "History", FileHistory);
  ReadPaths(ini, "TextHistory", TextHistory);
  ReadTexts(ini, "Find", FindHistory);
  ReadTexts(ini, "Replace", ReplaceHistory);
}

void TSessionState::Save(TIniFile& ini) const {
  if (WindowState != 2) {
    ini.WriteInteger("Window", "WinPosX", WinPosX);
    ini.WriteInteger("Window", "WinPosY", WinPosY);
    ini.WriteInteger("Window", "WinWidth", WinWidth);
    ini.WriteInteger("Window", "WinHeight", WinHeight);
  }
  ini.WriteInteger("Window", "WindowState", WindowState);
  ini.WriteInteger("Window", "Splitter", Splitter);
  ini.WriteInteger("Window", "Splitter2", Splitter2);
  ini.WriteBool("Window", "StatusBar", StatusBar);
  for (std::size_t i = 0; i < kBarNames.size(); ++i) {
    const std::string name = kBarNames[i];
    ini.WriteInteger("ToolBar", name + "Top", Bars[i].Top);
    ini.WriteInteger("ToolBar", name + "Left", Bars[i].Left);
    ini.WriteBool("ToolBar", name + "Visible", Bars[i].Visible);
  }
  ini.EraseSection("History");
  WritePaths(ini, "History", FileHistory);
  WriteTexts(ini, "Find", FindHistory);
  WriteTexts(ini, "Replace", ReplaceHistory);
  // Erased like History, so an entry once removed does not come back.
  ini.EraseSection("TextHistory");
  WritePaths(ini, "TextHistory", TextHistory);
}

void AddToHistory(std::vector<std::string>& history, const std::string& path, std::size_t max) {
  history.erase(std::remove(history.begin(), history.end(), path), history.end());
  history.insert(history.begin(), path);
  if (history.size() > max) history.resize(max);
}

}  // namespace nuv
