#pragma once
#include <atomic>
#include <optional>
#include <string>
#include <string_view>

namespace tavorine {

// A new empty folder of the process's own in the system's folder for
// temporary files, "Tavorine.<process id>.<16 random hex digits>", removed
// with everything in it when the object goes. Native path; empty when no
// folder could be made, and then Failure() tells why.
class PrivateFolder {
 public:
  PrivateFolder();
  ~PrivateFolder();
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  const std::string& Path() const { return path_; }
  const std::optional<std::string>& Failure() const { return failure_; }
  // Removes the folder now; no process may work in it any more.
  void Remove();

 private:
  std::string path_;
  std::optional<std::string> failure_;
  std::atomic<bool> removed_{false};
};

// Whether the native path names a private folder that the process with this
// id made: its place and its name, and a folder, not a link to one. A worker
// works in no other folder, whoever started it.
bool IsPrivateFolderOf(const std::string& path, std::string_view processId);

// Removes the private folders that killed runs left: a name of the pattern,
// in the folder for temporary files, made more than an hour ago, of a process
// that is gone. A link is never followed, nor removed.
void RemoveStalePrivateFolders();

}  // namespace tavorine
