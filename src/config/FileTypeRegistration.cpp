// Writing the MIME package and the desktop entry, and running the XDG tools.
#include "config/FileTypeRegistration.h"

#include <cstdlib>

#include "base/FileIo.h"
#include "base/Process.h"

namespace nuv {

namespace {
std::string Bare(const std::string& extension) { return extension.substr(1); }

std::string XmlEscape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// The description the file type carries ("pk2ファイル"); desktop files are UTF-8.
std::string TypeDescription(const std::string& extension) { return Bare(extension) + "ファイル"; }
}  // namespace

std::string MimeTypeForExtension(const std::string& extension) { return "application/x-nuv-" + Bare(extension); }

std::string MimePackageText(const std::string& extension) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
         "  <mime-type type=\"" + MimeTypeForExtension(extension) + "\">\n"
         "    <comment>" + XmlEscape(TypeDescription(extension)) + "</comment>\n"
         "    <glob pattern=\"*" + XmlEscape(extension) + "\"/>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

std::string QuoteDesktopExecArgument(const std::string& argument) {
  // Inside the quotes `"`, backquote, `$` and `\` take a backslash; then the
  // string-value escape doubles every backslash, and `%` is doubled for the
  // field codes.
  std::string quoted = "\"";
  for (char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  std::string out;
  for (char c : quoted) {
    if (c == '\\') out += '\\';
    if (c == '%') out += '%';
    out += c;
  }
  return out;
}

std::string DesktopEntryText(const std::string& extension, const std::string& programPath) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=nuv\n"
         "Comment=" + TypeDescription(extension) + "\n"
         "Exec=" + QuoteDesktopExecArgument(programPath) + " %f\n"
         "MimeType=" + MimeTypeForExtension(extension) + ";\n"
         "Terminal=false\n"
         "Categories=Office;TextEditor;\n";
}

bool RegisterFileType(const std::string& extension, const std::string& programPath, std::string dataHome,
                      TFileTypeFiles* written) {
  if (extension.size() < 2 || extension[0] != '.') return false;
  if (dataHome.empty()) {
    const char* env = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    dataHome = (env && *env == '/') ? env : std::string(home ? home : "") + "/.local/share";
  }
  const std::string packages = dataHome + "/mime/packages";
  const std::string applications = dataHome + "/applications";
  TFileTypeFiles files;
  files.mimeType = MimeTypeForExtension(extension);
  files.mimePackage = packages + "/nuv-" + Bare(extension) + ".xml";
  files.desktopEntry = applications + "/nuv.desktop";
  if (!ForceDirectories(packages) || !ForceDirectories(applications)) return false;
  if (!WriteFileAtomic(files.mimePackage, MimePackageText(extension))) return false;
  if (!WriteFileAtomic(files.desktopEntry, DesktopEntryText(extension, programPath))) return false;
  RunProgram({"update-mime-database", dataHome + "/mime"});
  RunProgram({"update-desktop-database", applications});
  RunProgram({"xdg-mime", "default", "nuv.desktop", files.mimeType});
  if (written) *written = files;
  return true;
}

}  // namespace nuv
