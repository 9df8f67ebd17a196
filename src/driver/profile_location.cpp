#include "driver/profile_location.h"

#include <optional>

#include "config/sensor_directory.h"
#include "driver/startup.h"
#include "output/messages.h"

namespace tavorine {

namespace {

// What the path file names; empty optional without a path file.
std::variant<std::optional<std::string>, RunFailure> ReadPathFile() {
  std::optional<InputFile> pathFile = InputFile::Open(kPathFile);
  if (!pathFile) return std::optional<std::string>();
  if (pathFile->TooLarge()) return messages::FileTooLarge(kPathFile);
  return std::optional<std::string>(PathFileDirectory(*pathFile));
}

std::variant<OpenedProfile, RunFailure> Opened(const std::string& directory, const std::string& name,
                                                const RunFailure& missing) {
  const std::string path = directory + name;
  std::optional<InputFile> file = InputFile::Open(path);
  if (!file) return missing;
  if (file->TooLarge()) return messages::FileTooLarge(name);
  return OpenedProfile{directory, path, std::move(*file)};
}

}  // namespace

std::variant<OpenedProfile, RunFailure> OpenRunProfile(const RunOptions& options) {
  if (!SearchesSensorDirectory(options)) {
    return Opened(options.profileDir, options.profileName,
                  messages::ProfileMissing(options.profileDir + options.profileName));
  }
  auto pathFile = ReadPathFile();
  if (const auto* failure = std::get_if<RunFailure>(&pathFile)) return *failure;
  auto searched = SearchSensorDirectory(options.profileName, std::get<std::optional<std::string>>(pathFile),
                                        IsReadableFile);
  if (const auto* failure = std::get_if<RunFailure>(&searched)) return *failure;
  return Opened(std::get<std::string>(searched), options.profileName, messages::ProfileMissing(options.profileName));
}

}  // namespace tavorine
