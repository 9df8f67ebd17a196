#include "platform/windows_path.h"

#ifndef _WIN32
#include <cctype>
#include <cstdlib>
#include <filesystem>
#endif

namespace tavorine {

#ifdef _WIN32

std::string NativePath(std::string_view windowsPath) { return std::string(windowsPath); }

#else

namespace {

std::string DriveRoot() {
  const char* root = std::getenv("TAVORINE_DRIVE_ROOT");
  std::string text = (root != nullptr && *root != '\0') ? root : "/";
  if (text.back() != '/') text += '/';
  return text;
}

char CurrentDrive(const std::string& root) {
  std::error_code error;
  const std::string cwd = std::filesystem::current_path(error).string() + "/";
  if (!error && cwd.size() > root.size() + 1 && cwd.compare(0, root.size(), root) == 0 &&
      std::isalpha(static_cast<unsigned char>(cwd[root.size()])) && cwd[root.size() + 1] == '/') {
    return cwd[root.size()];
  }
  return 'C';
}

std::string WithSlashes(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c == '\\') c = '/';
  }
  return result;
}

}  // namespace

std::string NativePath(std::string_view windowsPath) {
  const bool hasDrive = windowsPath.size() >= 2 && windowsPath[1] == ':' &&
                        std::isalpha(static_cast<unsigned char>(windowsPath[0]));
  if (hasDrive) {
    std::string_view rest = windowsPath.substr(2);
    if (!rest.empty() && rest.front() == '\\') rest.remove_prefix(1);
    const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(windowsPath[0])));
    return DriveRoot() + drive + "/" + WithSlashes(rest);
  }
  if (!windowsPath.empty() && windowsPath.front() == '\\') {
    const std::string root = DriveRoot();
    return root + CurrentDrive(root) + WithSlashes(windowsPath);
  }
  return WithSlashes(windowsPath);
}

#endif

}  // namespace tavorine
