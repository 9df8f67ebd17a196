#include "config/sensor_directory.h"

#include <array>
#include <optional>

#include "platform/text_file.h"

namespace tavorine {

namespace {

constexpr std::string_view kPathFile = "C:\\PRTG_Path.Txt";
constexpr std::size_t kPathFilePieceLength = 99;
constexpr std::string_view kAboveInstallation = "PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
constexpr std::string_view kInsideInstallation = "Custom Sensors\\ExeXml\\";
constexpr std::array<std::string_view, 3> kFixedDirectories = {
    "\\Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
};

bool NamesDirectory(std::string_view line) {
  return (!line.empty() && line[0] == '\\') || (line.size() >= 3 && line[2] == '\\') ||
         (line.size() >= 2 && line[1] == ':');
}

RunFailure ProfileMissing(const std::string& profileName) {
  return RunFailure{"Error 1002: Profile " + profileName + " is missing..."};
}

// The directory that the path file leads to, or empty when there is no path file.
std::optional<std::string> DirectoryFromPathFile(const std::string& profileName) {
  const auto pathFile = ReadTextFile(kPathFile);
  if (!pathFile) return std::nullopt;
  std::string directory = PathFileDirectory(*pathFile);
  if (directory.empty() || directory.back() != '\\') directory += '\\';
  if (CanOpenForReading(directory + std::string(kAboveInstallation) + profileName)) directory += kAboveInstallation;
  if (CanOpenForReading(directory + std::string(kInsideInstallation) + profileName)) directory += kInsideInstallation;
  return directory;
}

}  // namespace

std::string PathFileDirectory(std::string_view pathFileText) {
  std::string directory;
  std::string piece;
  PieceReader reader(pathFileText, kPathFilePieceLength);
  while (reader.Next(piece)) {
    if (NamesDirectory(piece)) directory = piece;
  }
  return directory;
}

bool IsExeXmlDirectory(std::string_view directory) {
  if (directory.size() < 7) return false;
  std::string name(directory.substr(directory.size() - 7, 6));
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return name == "EXEXML";
}

std::variant<OpenedProfile, RunFailure> SearchSensorDirectory(const std::string& profileName) {
  OpenedProfile found;
  std::optional<std::string> text;
  if (const auto fromPathFile = DirectoryFromPathFile(profileName)) {
    found.directory = *fromPathFile;
    text = ReadTextFile(found.directory + profileName);
    if (!text) return ProfileMissing(profileName);
  } else {
    text = ReadTextFile(profileName);
    for (std::size_t i = 0; !text && i < kFixedDirectories.size(); ++i) {
      found.directory = kFixedDirectories[i];
      text = ReadTextFile(found.directory + profileName);
    }
    if (!text) return ProfileMissing(profileName);
  }
  found.path = found.directory + profileName;
  found.text = std::move(*text);
  if (!IsExeXmlDirectory(found.directory)) return RunFailure{"Sorry, invalid Path-Usage..."};
  return found;
}

}  // namespace tavorine
