// The program folder: where nuv.ini and the other files "beside the program" live.
//
// Resolution: $NUV_HOME when set; else the executable's folder when it holds
// nuv.ini (a portable copy); else $XDG_CONFIG_HOME/nuv (~/.config/nuv).
#pragma once

#include <string>
#include <string_view>

namespace nuv {

// Records argv[0]'s program; without it /proc/self/exe is used.
void SetExecutablePath(const std::string& path);
std::string ExecutablePath();
std::string ExecutableFolder();

// The resolved program folder, without a trailing slash.
std::string ProgramFolder();
// ProgramFolder() + "/" + name.
std::string ProgramFile(std::string_view name);
// Creates the program folder if needed and copies in the bundled files it
// lacks (mark.dat, reserved-word files and the like; not the sample documents
// nor the manual).
void PrepareProgramFolder();
// The folder of the bundled files (share/ of the source or build tree, or the
// installed share/nuv), or empty when none is found.
std::string ShareFolder();
// ProgramFolder()/__temp__, created with mode 0700 when missing.
std::string TempFolder();

}  // namespace nuv
