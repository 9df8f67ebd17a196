#include "driver/startup/profile_location.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "config/sensor_directory.h"
#include "config/text_encoding.h"
#include "driver/startup/startup.h"
#include "output/messages.h"
#include "platform/files/folder_contents.h"
#include "platform/process/shared_library.h"
#include "platform/text/ascii_case.h"

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
  if (const std::string problem = EncodingProblem(pathFile->ReadAt(0, 512)); !problem.empty()) {
    narration.Say("The file cannot be read as it is: " + problem + ". Save it as ANSI.", 1);
  }
  const std::string directory = PathFileDirectory(*pathFile, [&narration](std::string_view line, bool counts) {
    const bool blankAtEnd = counts && !line.empty() && line.back() == ' ';
    narration.Say("\"" + std::string(line) + "\": " +
                      (!counts     ? "does not count: a folder line starts with a drive (D:) or a \\"
                       : blankAtEnd ? "names a folder, but one whose name ends in a blank: take the blank away"
                                    : "names a folder"),
                  1);
  });
  if (directory.empty()) {
    narration.Say("no line names a folder: the root of the current drive is searched", 1);
  } else {
    narration.Say("the folder it names: " + directory + (IsFolder(directory) ? "" : " (no such folder)"), 1);
  }
  return std::optional<std::string>(directory);
}

// The profile opened, or the file the search opened there already.
std::variant<OpenedProfile, RunFailure> Opened(const std::string& directory, const std::string& name,
                                                const RunFailure& missing, std::optional<InputFile> file = {}) {
  const std::string path = directory + name;
  if (!file) file = InputFile::Open(path);
  if (!file) return missing;
  if (file->TooLarge()) return messages::FileTooLarge(name);
  return OpenedProfile{directory, path, std::move(*file)};
}

// Where the program itself lies tells where the monitor is installed, when
// it lies in the monitor's ExeXml folder as it should.
std::string InstallationHint(const std::string& programFolder) {
  constexpr std::string_view kBelowInstallation = "CUSTOM SENSORS\\EXEXML\\";
  const std::string upper = AsciiUpperCase(programFolder);
  if (!upper.ends_with(kBelowInstallation)) return "";
  const std::string installation = programFolder.substr(0, programFolder.size() - kBelowInstallation.size() - 1);
  return ": C:\\PRTG_Path.Txt may name its installation folder, " + installation;
}

// The profiles in the folders searched, the names nearest to the one wanted
// first: a name typed wrong, or a file saved under another one.
void TellProfilesNearby(const Narration& narration, const std::string& wanted, const std::vector<std::string>& folders) {
  constexpr std::size_t kShown = 5;
  const std::string extension = AsciiUpperCase(wanted.substr(wanted.size() - std::min<std::size_t>(4, wanted.size())));
  for (const std::string& folder : folders) {
    if (!folder.empty() && !IsFolder(folder)) continue;
    std::vector<std::string> names;
    for (const std::string& name : FileNamesIn(folder.empty() ? "." : folder)) {
      if (AsciiUpperCase(name).ends_with(extension)) names.push_back(name);
    }
    std::stable_sort(names.begin(), names.end(), [&wanted](const std::string& a, const std::string& b) {
      return EditDistance(AsciiUpperCase(a), AsciiUpperCase(wanted)) < EditDistance(AsciiUpperCase(b), AsciiUpperCase(wanted));
    });
    if (names.size() > kShown) names.resize(kShown);
    std::string listed;
    for (const std::string& name : names) listed += (listed.empty() ? "" : ", ") + name;
    narration.Say((folder.empty() ? std::string("The working directory") : folder) + " holds " +
                      (listed.empty() ? "no profile" : "these profiles, the nearest names first: " + listed),
                  1);
  }
}

// The search's look at each place. The last profile found stays open, to be
// the one the run reads. A diagnosis tells each place once (the search looks
// at the one it settles on twice) and keeps the folders looked in.
class SearchLooks {
 public:
  SearchLooks(const Narration& narration, const std::string& profileName)
      : narration_(narration), profileName_(profileName) {}

  bool Look(const std::string& path) {
    if (!found_ || path != foundPath_) {
      if (std::optional<InputFile> opened = InputFile::Open(path)) {
        found_ = std::move(opened);
        foundPath_ = path;
      }
    }
    const bool isThere = found_ && path == foundPath_;
    if (narration_.Told()) Tell(path, isThere);
    return isThere;
  }

  std::optional<InputFile> Take(const std::string& path) {
    if (path != foundPath_) return std::nullopt;
    return std::move(found_);
  }

  const std::vector<std::string>& Folders() const { return folders_; }

 private:
  void Tell(const std::string& path, bool isThere) {
    const bool here = path.find_first_of("\\/") == std::string::npos;
    if (path != lastTold_) {
      narration_.Say(path + (here ? " (in the working directory)" : "") + ": " + (isThere ? "found" : "not there"),
                     1);
    }
    const std::string folder = path.substr(0, path.size() - profileName_.size());
    if (std::find(folders_.begin(), folders_.end(), folder) == folders_.end()) folders_.push_back(folder);
    lastTold_ = path;
  }

  const Narration& narration_;
  const std::string& profileName_;
  std::optional<InputFile> found_;
  std::string foundPath_;
  std::string lastTold_;
  std::vector<std::string> folders_;
};

// What the administrator can do about a search that failed.
void TellSearchFailure(const Narration& narration, const RunFailure& failure, bool pathFile) {
  const bool refused = failure.number == messages::InvalidPathUsage().number;
  if (refused && !pathFile) {
    narration.Say("Refused: the profile was found in the working directory, and a profile there is never taken, "
                  "even when the working directory is the ExeXml folder. Name the monitor's installation folder in "
                  "C:\\PRTG_Path.Txt (a line such as C:\\Program Files (x86)\\PRTG Network Monitor), and keep "
                  "the profile in its Custom Sensors\\EXEXML folder.");
  } else if (refused) {
    narration.Say("Refused: the folder C:\\PRTG_Path.Txt leads to is no ExeXml folder. Name the monitor's "
                  "installation folder there, and keep the profile in its Custom Sensors\\EXEXML folder.");
  } else {
    narration.Say("Not found in any of these places. Put the profile into the monitor's Custom Sensors\\EXEXML "
                  "folder, and check that C:\\PRTG_Path.Txt names the monitor's installation folder.");
  }
  narration.Say("Tavorine.exe lies in " + ProgramFolder() + InstallationHint(ProgramFolder()), 1);
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
  SearchLooks looks(narration, options.profileName);
  auto searched = SearchSensorDirectory(options.profileName, pathFileDirectory,
                                        [&looks](const std::string& path) { return looks.Look(path); });
  if (const auto* failure = std::get_if<RunFailure>(&searched)) {
    TellSearchFailure(narration, *failure, pathFileDirectory.has_value());
    if (narration.Told() && failure->number != messages::InvalidPathUsage().number) {
      TellProfilesNearby(narration, options.profileName, looks.Folders());
    }
    return *failure;
  }
  const std::string& directory = std::get<std::string>(searched);
  narration.Say("Accepted: " + directory + " is an ExeXml folder.");
  return Opened(directory, options.profileName, messages::ProfileMissing(options.profileName),
                looks.Take(directory + options.profileName));
}

}  // namespace tavorine
