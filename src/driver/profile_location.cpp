#include "driver/profile_location.h"

#include <optional>

#include "config/sensor_directory.h"
#include "driver/startup.h"
#include "output/messages.h"

namespace tavorine {

namespace {

// What the path file names; empty optional without a path file.
std::variant<std::optional<std::string>, RunFailure> ReadPathFile(const Narration& narration) {
  std::optional<InputFile> pathFile = InputFile::Open(kPathFile);
  if (!pathFile) {
    narration.Say("Path file " + std::string(kPathFile) + ": none, so the working directory is searched, then " +
                  "the monitor's folders in \\Programme, \\Program Files and \\Program Files (x86) of this drive");
    return std::optional<std::string>();
  }
  if (pathFile->TooLarge()) return messages::FileTooLarge(kPathFile);
  narration.Say("Path file " + std::string(kPathFile) + ", line by line (the last line naming a folder counts):");
  const std::string directory = PathFileDirectory(*pathFile, [&narration](std::string_view line, bool counts) {
    narration.Say("\"" + std::string(line) + "\": " +
                      (counts ? "names a folder" : "does not count: a folder line starts with a drive (D:) or a \\"),
                  1);
  });
  narration.Say(directory.empty() ? "no line names a folder: the root of the current drive is searched"
                                  : "the folder it names: " + directory,
                1);
  return std::optional<std::string>(directory);
}

std::variant<OpenedProfile, RunFailure> Opened(const std::string& directory, const std::string& name,
                                                const RunFailure& missing) {
  const std::string path = directory + name;
  std::optional<InputFile> file = InputFile::Open(path);
  if (!file) return missing;
  if (file->TooLarge()) return messages::FileTooLarge(name);
  return OpenedProfile{directory, path, std::move(*file)};
}

// What the administrator can do about a search that failed.
void TellSearchFailure(const Narration& narration, const RunFailure& failure, bool pathFile) {
  if (failure.message == messages::InvalidPathUsage().message && !pathFile) {
    narration.Say("Refused: the profile was found in the working directory, and a profile there is never taken, "
                  "even when the working directory is the ExeXml folder. Name the monitor's installation folder in "
                  "C:\\PRTG_Path.Txt (a line such as C:\\Program Files (x86)\\PRTG Network Monitor), and keep "
                  "the profile in its Custom Sensors\\EXEXML folder.");
  } else if (failure.message == messages::InvalidPathUsage().message) {
    narration.Say("Refused: the folder C:\\PRTG_Path.Txt leads to is no ExeXml folder. Name the monitor's "
                  "installation folder there, and keep the profile in its Custom Sensors\\EXEXML folder.");
  } else {
    narration.Say("Not found in any of these places. Put the profile into the monitor's Custom Sensors\\EXEXML "
                  "folder, and check that C:\\PRTG_Path.Txt names the monitor's installation folder.");
  }
}

}  // namespace

std::variant<OpenedProfile, RunFailure> OpenRunProfile(const RunOptions& options, const Narration& narration) {
  if (!SearchesSensorDirectory(options)) {
    narration.Say("The profile is opened where the command line names it (an output mode other than EXEXML, or @ "
                  "in the options): " + options.profileDir + options.profileName);
    return Opened(options.profileDir, options.profileName,
                  messages::ProfileMissing(options.profileDir + options.profileName));
  }
  auto pathFile = ReadPathFile(narration);
  if (const auto* failure = std::get_if<RunFailure>(&pathFile)) return *failure;
  narration.Say("Looking for " + options.profileName + ":");
  const std::optional<std::string>& pathFileDirectory = std::get<std::optional<std::string>>(pathFile);
  std::string lastTold;  // the search looks at the place it settles on twice; told once
  auto searched = SearchSensorDirectory(options.profileName, pathFileDirectory, [&](const std::string& path) {
    const bool found = IsReadableFile(path);
    const bool here = path.find_first_of("\\/") == std::string::npos;
    if (path != lastTold) {
      narration.Say(path + (here ? " (in the working directory)" : "") + ": " + (found ? "found" : "not there"), 1);
    }
    lastTold = path;
    return found;
  });
  if (const auto* failure = std::get_if<RunFailure>(&searched)) {
    TellSearchFailure(narration, *failure, pathFileDirectory.has_value());
    return *failure;
  }
  const std::string& directory = std::get<std::string>(searched);
  narration.Say("Accepted: " + directory + " is an ExeXml folder.");
  return Opened(directory, options.profileName, messages::ProfileMissing(options.profileName));
}

}  // namespace tavorine
