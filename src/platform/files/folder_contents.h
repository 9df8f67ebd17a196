#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tavorine {

// The names of the regular files of the folder a Windows path names, in
// sorted order; empty when it names no folder.
std::vector<std::string> FileNamesIn(std::string_view windowsFolder);

// Whether a Windows path names a folder.
bool IsFolder(std::string_view windowsPath);

}  // namespace tavorine
