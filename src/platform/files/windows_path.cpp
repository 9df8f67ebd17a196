#include "platform/files/windows_path.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/files/folder_entries.h"
#include "platform/text/ascii_case.h"
#include "platform/text/narrow_text.h"
#endif

namespace tavorine {

#ifdef _WIN32

std::string NativePath(std::string_view windowsPath) { return std::string(windowsPath); }

std::optional<std::string> ExistingNativePath(std::string_view windowsPath) { return std::string(windowsPath); }

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

// The working directory with a final slash; none when it cannot be told.
// Grown as needed rather than PATH_MAX on the stack, which would reach a
// page further down at every path looked up.
std::optional<std::string> WorkingDirectory() {
  std::string folder(256, '\0');
  while (getcwd(folder.data(), folder.size()) == nullptr) {
    if (errno != ERANGE) return std::nullopt;
    folder.resize(folder.size() * 2);
  }
  folder.resize(std::strlen(folder.c_str()));
  return folder + '/';
}

// The working directory as a drive and the names below it, when it lies under the root.
std::optional<PathStart> WorkingDirectoryOnDrive(const std::string& root) {
  const std::optional<std::string> working = WorkingDirectory();
  if (!working) return std::nullopt;
  const std::string& cwd = *working;
  if (cwd.size() <= root.size() + 1 || cwd.compare(0, root.size(), root) != 0 ||
      !IsAsciiLetter(cwd[root.size()]) || cwd[root.size() + 1] != '/') {
    return std::nullopt;
  }
  return PathStart{root + cwd[root.size()], Components(std::string_view(cwd).substr(root.size() + 2)), true};
}

PathStart StartOf(std::string_view& path) {
  const std::string root = DriveRoot();
  if (path.size() >= 2 && path[1] == ':' && IsAsciiLetter(path[0])) {
    const char drive = AsciiUpper(path[0]);
    path.remove_prefix(2);
    return {root + drive, {}, true};
  }
  std::optional<PathStart> cwd = WorkingDirectoryOnDrive(root);
  if (!path.empty() && IsSeparator(path.front())) {
    return {cwd ? cwd->folder : root + "C", {}, true};
  }
  return cwd ? std::move(*cwd) : PathStart{};
}

// What Win32 makes of a name: a folder's name loses one final dot, the last
// name every final blank and dot. A name that would become "." or ".." (or
// nothing) keeps its letters, so it can never climb.
void Trim(std::string& name, bool last) {
  std::string_view trimmed = name;
  if (last) {
    while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '.')) trimmed.remove_suffix(1);
  } else if (trimmed.size() > 1 && trimmed.back() == '.') {
    trimmed.remove_suffix(1);
  }
  if (!trimmed.empty() && trimmed != "." && trimmed != "..") name.resize(trimmed.size());
}

// A name of the path and whether it was written in it (the working
// directory's own names are taken as they are).
struct Name {
  std::string text;
  bool written;
};

// "." and ".." resolved in the text, never above the start of a drive.
std::vector<Name> Resolved(std::vector<Name> names, bool onDrive) {
  std::vector<Name> result;
  result.reserve(names.size());
  for (Name& name : names) {
    if (name.text == ".") continue;
    if (name.text == "..") {
      if (!result.empty() && result.back().text != "..") {
        result.pop_back();
      } else if (!onDrive) {
        result.push_back(std::move(name));
      }
      continue;
    }
    result.push_back(std::move(name));
  }
  for (std::size_t i = 0; i < result.size(); ++i) {
    if (result[i].written && result[i].text != "..") Trim(result[i].text, i + 1 == result.size());
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

// A look through a folder for an entry of a name in another letter case.
struct Lookup {
  bool folderThere = false;
  std::optional<std::string> entry;  // the first in sorted order when there are several
};

Lookup EntryInOtherCase(const std::string& folder, const std::string& name) {
  FolderEntries entries(folder);
  Lookup lookup{entries.IsOpen(), std::nullopt};
  const std::u32string wanted = CaseFolded(name);
  std::string candidate;
  bool regularFile = false;
  while (entries.Next(candidate, regularFile)) {
    // Folding keeps each character's length in UTF-8, and an undecodable
    // byte folds to nothing but itself: names of other lengths never match.
    if (candidate.size() != name.size() || CaseFolded(candidate) != wanted) continue;
    if (!lookup.entry || candidate < *lookup.entry) lookup.entry = candidate;
  }
  return lookup;
}

// The names of a Windows path below the folder it starts from.
struct PathNames {
  std::string start;  // "<root>X", or empty for the working directory off the drives
  std::vector<Name> names;

  std::string Joined(std::size_t count) const {
    std::string path = start;
    for (std::size_t i = 0; i < count; ++i) {
      if (!path.empty()) path += '/';
      path += names[i].text;
    }
    return path;
  }
};

PathNames NamesOf(std::string_view windowsPath) {
  PathStart start = StartOf(windowsPath);
  std::vector<Name> names;
  std::vector<std::string> written = Components(windowsPath);
  names.reserve(start.below.size() + written.size());
  for (std::string& name : start.below) names.push_back({std::move(name), false});
  for (std::string& name : written) names.push_back({std::move(name), true});
  return {std::move(start.folder), Resolved(std::move(names), start.onDrive)};
}

std::string InFolder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  std::string path;
  path.reserve(folder.size() + 1 + name.size());
  return path.append(folder).append(1, '/').append(name);
}

// A path with each name that is there in some letter case spelled as it is
// there, and the rest as written; whether all of it is there.
struct Resolution {
  std::string path;
  bool there = false;
};

// The first count names, each folder looked at from the top: a name missing
// there is looked for in another letter case.
Resolution FromTop(const PathNames& path, std::size_t count) {
  std::string folder = path.start;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string& name = path.names[i].text;
    if (Exists(InFolder(folder, name))) {
      folder = InFolder(folder, name);
      continue;
    }
    const std::optional<std::string> other = EntryInOtherCase(folder, name).entry;
    if (!other) {
      for (std::size_t rest = i; rest < count; ++rest) folder = InFolder(folder, path.names[rest].text);
      return {folder, false};
    }
    folder = InFolder(folder, *other);
  }
  return {folder, true};
}

// Mostly the path is there as written: one look. Else mostly only its last
// name is missing, in a folder that is there: the look through that folder
// tells both. Only when the folder is missing too are its names looked at.
Resolution Resolve(const PathNames& path) {
  const std::string asWritten = path.Joined(path.names.size());
  if (path.names.empty()) return {asWritten.empty() ? std::string(".") : asWritten, true};
  if (Exists(asWritten)) return {asWritten, true};
  const std::size_t folderNames = path.names.size() - 1;
  const std::string& last = path.names.back().text;
  Resolution folder{path.Joined(folderNames), true};
  Lookup lookup = EntryInOtherCase(folder.path, last);
  if (!lookup.folderThere) {
    folder = FromTop(path, folderNames);
    if (folder.there) lookup = EntryInOtherCase(folder.path, last);
  }
  if (!lookup.entry) return {InFolder(folder.path, last), false};
  return {InFolder(folder.path, *lookup.entry), true};
}

}  // namespace

std::optional<std::string> ExistingNativePath(std::string_view windowsPath) {
  Resolution resolved = Resolve(NamesOf(windowsPath));
  if (!resolved.there) return std::nullopt;
  return std::move(resolved.path);
}

std::string NativePath(std::string_view windowsPath) { return Resolve(NamesOf(windowsPath)).path; }

#endif

}  // namespace tavorine
