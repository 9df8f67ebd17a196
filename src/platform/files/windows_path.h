#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace tavorine {

// The program speaks Windows paths ("C:\PRTG_Path.Txt", "\Program Files\...",
// "Sensors\SYS.P00"); "/" separates like "\". NativePath turns one into the
// path the file system takes. On Windows it is returned unchanged.
//
// On POSIX drives live under a drive root: "X:\a" is <root>/X/a, and a rooted
// "\a" lies on the drive of the working directory (C when the working
// directory is not below the root). The root is the environment variable
// TAVORINE_DRIVE_ROOT, "/" when unset; tests point it at a temporary folder.
// Names then mean what they mean on Windows, so that the Linux build shows
// what a probe shows: "." and ".." are resolved in the text and never climb
// above a drive; a folder's name loses one final dot and the last name all
// its final blanks and dots; and a name that does not exist as written finds
// an entry that differs only in letter case.
std::string NativePath(std::string_view windowsPath);

// The same for a file or folder that is there; none when resolving the names
// found nothing there, so that a reader need not look again. On Windows,
// which resolves names itself, always the path: the reader's own open tells.
std::optional<std::string> ExistingNativePath(std::string_view windowsPath);

}  // namespace tavorine
