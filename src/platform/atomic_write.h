#pragma once
#include <string_view>

namespace tavorine {

// Writes the bytes to a temporary file beside the target and renames it over
// the target, so a reader sees the old file or the new one, never a part.
// False when the file cannot be written.
bool WriteFileAtomically(std::string_view windowsPath, std::string_view contents);

}  // namespace tavorine
