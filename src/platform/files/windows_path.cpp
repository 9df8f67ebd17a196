#include "platform/files/windows_path.h"

#ifndef _WIN32
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/files/folder_entries.h"
#include "platform/text/narrow_text.h"
#endif

namespace tavorine {

#ifdef _WIN32

std::string NativePath(std::string_view windowsPath) { return std::string(windowsPath); }

#else

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string DriveRoot() {
  const char* root = std::getenv("TAVORINE_DRIVE_ROOT");
  std::string text = (root != nullptr && *root != '\0') ? root : "/";
  if (text.back() != '/') text += '/';
  return text;
}

std::vector<std::string> Components(std::string_view text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t at = 0; at <= text.size(); ++at) {
    if (at == text.size() || IsSeparator(text[at])) {
      if (at > start) parts.emplace_back(text.substr(start, at - start));
      start = at + 1;
    }
  }
  return parts;
}

// Where a path starts: a drive's folder, or the working directory when that
// lies on no drive (the path then stays relative).
struct PathStart {
  std::string folder;  // "<root>X" or empty
  std::vector<std::string> below;
  bool onDrive = false;
};

// The working directory as a drive and the names below it, when it lies under the root.
std::optional<PathStart> WorkingDirectoryOnDrive(const std::string& root) {
  std::error_code error;
  const std::string cwd = std::filesystem::current_path(error).string() + "/";
  if (error || cwd.size() <= root.size() + 1 || cwd.compare(0, root.size(), root) != 0 ||
      !std::isalpha(static_cast<unsigned char>(cwd[root.size()])) || cwd[root.size() + 1] != '/') {
    return std::nullopt;
  }
  return PathStart{root + cwd[root.size()], Components(std::string_view(cwd).substr(root.size() + 2)), true};
}

PathStart StartOf(std::string_view& path) {
  const std::string root = DriveRoot();
  if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
    const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    path.remove_prefix(2);
    return {root + drive, {}, true};
  }
  const std::optional<PathStart> cwd = WorkingDirectoryOnDrive(root);
  if (!path.empty() && IsSeparator(path.front())) {
    return {cwd ? cwd->folder : root + "C", {}, true};
  }
  return cwd ? *cwd : PathStart{};
}

// What Win32 makes of a name: a folder's name loses one final dot, the last
// name every final blank and dot. A name that would become "." or ".." (or
// nothing) keeps its letters, so it can never climb.
std::string Trimmed(const std::string& name, bool last) {
  std::string trimmed = name;
  if (last) {
    while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '.')) trimmed.pop_back();
  } else if (trimmed.size() > 1 && trimmed.back() == '.') {
    trimmed.pop_back();
  }
  return (trimmed.empty() || trimmed == "." || trimmed == "..") ? name : trimmed;
}

// A name of the path and whether it was written in it (the working
// directory's own names are taken as they are).
struct Name {
  std::string text;
  bool written;
};

// "." and ".." resolved in the text, never above the start of a drive.
std::vector<Name> Resolved(const std::vector<Name>& names, bool onDrive) {
  std::vector<Name> result;
  for (const Name& name : names) {
    if (name.text == ".") continue;
    if (name.text == "..") {
      if (!result.empty() && result.back().text != "..") {
        result.pop_back();
      } else if (!onDrive) {
        result.push_back(name);
      }
      continue;
    }
    result.push_back(name);
  }
  for (std::size_t i = 0; i < result.size(); ++i) {
    if (result[i].written && result[i].text != "..") result[i].text = Trimmed(result[i].text, i + 1 == result.size());
  }
  return result;
}

std::u32string CaseFolded(std::string_view name) {
  std::u32string folded = DecodeUtf8(name);
  for (char32_t& c : folded) {
    if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) c -= 0x20;
  }
  return folded;
}

bool Exists(const std::string& path) {
  struct stat status {};
  return lstat(path.c_str(), &status) == 0;
}

// The entry of folder named name in another letter case, the first in sorted
// order when there are several.
std::optional<std::string> EntryInOtherCase(const std::string& folder, const std::string& name) {
  FolderEntries entries(folder);
  const std::u32string wanted = CaseFolded(name);
  std::optional<std::string> found;
  std::string candidate;
  bool regularFile = false;
  while (entries.Next(candidate, regularFile)) {
    if (CaseFolded(candidate) == wanted && (!found || candidate < *found)) found = candidate;
  }
  return found;
}

}  // namespace

std::string NativePath(std::string_view windowsPath) {
  PathStart start = StartOf(windowsPath);
  std::vector<Name> names;
  for (std::string& name : start.below) names.push_back({std::move(name), false});
  for (std::string& name : Components(windowsPath)) names.push_back({std::move(name), true});
  std::string path = start.folder;
  bool matching = true;
  for (const Name& name : Resolved(names, start.onDrive)) {
    const std::string folder = path;
    if (!path.empty()) path += '/';
    std::string entry = name.text;
    if (matching && !Exists(path + entry)) {
      const std::optional<std::string> other = EntryInOtherCase(folder, entry);
      if (other) entry = *other;
      matching = other.has_value();
    }
    path += entry;
  }
  return path.empty() ? std::string(".") : path;
}

#endif

}  // namespace tavorine
