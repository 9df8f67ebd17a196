#include "platform/process/atomic_write.h"

#include <cstdio>
#include <string>

#include "platform/files/native_file.h"
#include "platform/files/windows_path.h"
#include "platform/process/process_id.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tavorine {

namespace {

std::string TemporaryPath(std::string_view target, Writers writers) {
  std::string path(target);
  if (writers == Writers::OneAtATime) return path + ".tmp";
  return path + "." + std::to_string(CurrentProcessId()) + ".tmp";
}

bool Renamed(const std::string& from, const std::string& to) {
#ifdef _WIN32
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace

bool WriteFileAtomically(std::string_view windowsPath, std::string_view contents, Writers writers) {
  const std::string temporaryWindowsPath = TemporaryPath(windowsPath, writers);
  // A link put in the temporary file's place makes the write fail, and is
  // left alone: removing it could remove what it leads to.
  NativeFile file = OpenEmptyFile(temporaryWindowsPath);
  if (!file.IsOpen()) return false;
  const bool written = WriteAll(file.Handle(), contents);
  const std::string temporary = NativePath(temporaryWindowsPath);
  if (file.Close() && written && Renamed(temporary, NativePath(windowsPath))) return true;
  std::remove(temporary.c_str());
  return false;
}

}  // namespace tavorine
