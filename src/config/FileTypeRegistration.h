// Registering nuv as the program for a document extension on a freedesktop
// desktop: a shared-mime-info package and a .desktop entry under the user's
// data folder, then the MIME database update and the default application.
#pragma once

#include <string>

namespace nuv {

struct TFileTypeFiles {
  std::string mimeType;     // "application/x-nuv-pk2"
  std::string mimePackage;  // the XML written under <dataHome>/mime/packages
  std::string desktopEntry; // the .desktop file written under <dataHome>/applications
};

// The texts of the two files for an extension such as ".pk2"; the Exec line
// quotes the program path. Paths and texts are UTF-8.
std::string MimeTypeForExtension(const std::string& extension);
std::string MimePackageText(const std::string& extension);
std::string DesktopEntryText(const std::string& extension, const std::string& programPath);
// Quotes one argument of a desktop entry's Exec key.
std::string QuoteDesktopExecArgument(const std::string& argument);

// Writes both files and runs update-mime-database and xdg-mime. The
// extension must begin with "." and hold at least two characters; false
// otherwise or when a file cannot be written. `dataHome` empty means
// $XDG_DATA_HOME or ~/.local/share.
bool RegisterFileType(const std::string& extension, const std::string& programPath, std::string dataHome,
                      TFileTypeFiles* written = nullptr);

}  // namespace nuv
