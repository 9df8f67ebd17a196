#pragma once
#include <string>
#include <string_view>

namespace tavorine {

// The program speaks Windows paths ("C:\PRTG_Path.Txt", "\Program Files\...",
// "Sensors\SYS.P00"). NativePath turns one into the path the file system takes.
// On Windows it is returned unchanged. On POSIX the separators become "/" and
// drives live under a drive root: "X:\a" is <root>/X/a, and a drive-relative
// "\a" lies on the drive of the working directory (C when the working directory
// is not below the root). The root is the environment variable
// TAVORINE_DRIVE_ROOT, "/" when unset; tests point it at a temporary folder.
std::string NativePath(std::string_view windowsPath);

}  // namespace tavorine
