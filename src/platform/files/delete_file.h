#pragma once
#include <string_view>

namespace tavorine {

// Deletes a file named by a Windows path (a link to a file: the link); a
// missing file, and a folder, FIFO or device of that name, are left as they are.
void DeleteRegularFile(std::string_view windowsPath);

}  // namespace tavorine
