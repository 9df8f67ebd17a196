#include "file_named.h"

#include "platform/files/windows_path.h"

namespace tavorine {

std::string FileNamed(const std::string& file) {
  const std::string tried = NativePath(file);
  return tried == file ? file : file + " (tried as " + tried + ")";
}

}  // namespace tavorine
