// The settings files around TnuvConfig: the named files of the program folder
// (the settings-file menu), saving under a name, and per-document files.
// File names here are native paths.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/NuvConfig.h"

namespace nuv {

// One item of the settings-file menu.
struct TSettingsFile {
  std::string caption;  // the file name
  std::string path;     // program folder + "/" + caption
  bool checked = false;  // the lower-cased name is "nuv.ini"
};

// Every regular file of the folder whose name ends in ".ini" (any case),
// sorted by name.
std::vector<TSettingsFile> ListSettingsFiles(const std::string& folder);

// path with the extension of its last component replaced by ext (which
// includes the dot), or ext appended when it has none.
std::string ChangeFileExt(std::string_view path, std::string_view ext);

// The document's own settings file: its path with the extension ".ini".
std::string DocumentSettingsFile(const std::string& documentPath);

// What to load after a document was read successfully: its own settings file
// when that exists, else "nuv.ini" when another file is current, else nothing.
// The main window loads its sections and the config from the result and
// applies them.
std::optional<std::string> SettingsForDocument(const TnuvConfig& config, const std::string& documentPath);

// "Save settings under a name": the chosen file gets the extension ".ini",
// `windowSections` and the config are written into it, and the current
// settings file stays as it was.
struct TSaveAsResult {
  std::string path;     // the file written
  bool written = false;
  // The menu caption when the file lies in the program folder (the caller
  // adds it unless the menu lists it already), else empty.
  std::string menuCaption;
};
TSaveAsResult SaveSettingsAs(TnuvConfig& config, const std::string& chosenPath,
                             const TIniWriter& windowSections = {});

}  // namespace nuv
