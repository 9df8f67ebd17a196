#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace tavorine {

// Whether anything is at the path, a dangling link included: a profile is
// never written over something the user did not name with --force.
bool Exists(const std::filesystem::path& path);

// Looks at the bytes that really reached the disk; returns why they are not
// what was meant, or empty when they are.
using StoredCheck = std::function<std::string(std::string_view stored)>;

// Puts text into the file at path so that the file is never seen half
// written: the text goes into a new file in the same folder (readable by the
// owner only on POSIX, as it holds a password), is flushed to the disk, read
// back and checked, and only then renamed over path. An existing file at path
// is replaced only when replaceExisting is set. Returns why nothing was
// installed, or empty on success; on failure the temporary file is gone.
std::string InstallFile(const std::filesystem::path& path, std::string_view text, bool replaceExisting,
                        const StoredCheck& check);

}  // namespace tavorine
