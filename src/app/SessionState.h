// The main window's own sections of the settings file: window bounds,
// splitters, toolbars and the histories. Plain data, no widgets.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace nuv {

class TIniFile;

constexpr int kKeepOwnValue = -9999;  // an absent integer key leaves the window's own value

struct TToolBarState {
  int Top = kKeepOwnValue;
  int Left = kKeepOwnValue;
  bool Visible = true;
};

struct TSessionState {
  static constexpr std::array<const char*, 7> kBarNames = {"Standard", "Tree", "Edit", "Find",
                                                           "Editor",   "Title", "Date"};
  static constexpr std::size_t kFileHistoryMax = 12;
  static constexpr std::size_t kFindHistoryMax = 20;

  int WinPosX = kKeepOwnValue;
  int WinPosY = kKeepOwnValue;
  int WinWidth = kKeepOwnValue;
  int WinHeight = kKeepOwnValue;
  int WindowState = 0;  // 0 normal, 1 minimised, 2 maximised
  int Splitter = kKeepOwnValue;
  int Splitter2 = kKeepOwnValue;
  bool StatusBar = true;
  std::array<TToolBarState, kBarNames.size()> Bars{};

  // Document and text histories hold native paths, newest first; the find
  // and replace histories hold Shift JIS texts.
  std::vector<std::string> FileHistory;
  std::vector<std::string> TextHistory;
  std::vector<std::string> FindHistory;
  std::vector<std::string> ReplaceHistory;

  TSessionState();
  // Reads the sections; empty entries and history files that no longer exist are skipped.
  void Load(const TIniFile& ini);
  // Writes the sections; bounds only while the window is not maximised. The
  // History and TextHistory sections are erased first.
  void Save(TIniFile& ini) const;
};

// Puts path at the front of a history, without duplicates, at most `max` entries.
void AddToHistory(std::vector<std::string>& history, const std::string& path, std::size_t max);

}  // namespace nuv
