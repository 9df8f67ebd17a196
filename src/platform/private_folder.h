#pragma once
#include <string>

namespace tavorine {

// A new empty folder of the process's own in the system's folder for
// temporary files, removed with everything in it when the object goes.
// Native path; empty when no folder could be made.
class PrivateFolder {
 public:
  PrivateFolder();
  ~PrivateFolder();
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace tavorine
