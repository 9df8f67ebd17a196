#include "config/sensor_directory.h"

#include <array>

#include "output/messages.h"
#include "platform/text/ascii_case.h"
#include "platform/text/piece_reader.h"

namespace tavorine {

namespace {

constexpr std::size_t kPathFilePieceLength = 99;
constexpr std::string_view kAboveInstallation = "PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
constexpr std::string_view kInsideInstallation = "Custom Sensors\\ExeXml\\";
constexpr std::array<std::string_view, 3> kFixedDirectories = {
    "\\Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
};

// Where a path file leads: its directory, then the monitor's ExeXml folder
// below it or below the installation it names, where that holds the profile.
std::string DirectoryFromPathFile(std::string directory, const std::string& profileName, const FileProbe& canOpen) {
  if (directory.empty() || directory.back() != '\\') directory += '\\';
  if (canOpen(directory + std::string(kAboveInstallation) + profileName)) directory += kAboveInstallation;
  if (canOpen(directory + std::string(kInsideInstallation) + profileName)) directory += kInsideInstallation;
  return directory;
}

std::optional<std::string> DirectoryWithoutPathFile(const std::string& profileName, const FileProbe& canOpen) {
  if (canOpen(profileName)) return std::string();
  for (const std::string_view directory : kFixedDirectories) {
    if (canOpen(std::string(directory) + profileName)) return std::string(directory);
  }
  return std::nullopt;
}

}  // namespace

bool NamesDirectory(std::string_view line) {
  return (!line.empty() && line[0] == '\\') || (line.size() >= 3 && line[2] == '\\') ||
         (line.size() >= 2 && line[1] == ':');
}

std::string PathFileDirectory(ByteStream& pathFile, const PathFileLineSeen& onLine) {
  std::string directory;
  std::string piece;
  PieceReader reader(pathFile, kPathFilePieceLength);
  while (reader.Next(piece)) {
    const bool counts = NamesDirectory(piece);
    if (onLine) onLine(piece, counts);
    if (counts) directory = piece;
  }
  return directory;
}

bool IsExeXmlDirectory(std::string_view directory) {
  return directory.size() >= 7 && AsciiUpperCase(directory.substr(directory.size() - 7, 6)) == "EXEXML";
}

std::variant<std::string, RunFailure> SearchSensorDirectory(const std::string& profileName,
                                                            const std::optional<std::string>& pathFileDirectory,
                                                            const FileProbe& canOpen) {
  std::optional<std::string> directory;
  if (pathFileDirectory) {
    directory = DirectoryFromPathFile(*pathFileDirectory, profileName, canOpen);
    if (!canOpen(*directory + profileName)) directory.reset();
  } else {
    directory = DirectoryWithoutPathFile(profileName, canOpen);
  }
  if (!directory) return messages::ProfileMissing(profileName);
  if (!IsExeXmlDirectory(*directory)) return messages::InvalidPathUsage();
  return *directory;
}

}  // namespace tavorine
