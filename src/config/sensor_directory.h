#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "output/run_failure.h"
#include "platform/text/byte_stream.h"

namespace tavorine {

// The optional file that names the monitor's installation.
inline constexpr std::string_view kPathFile = "C:\\PRTG_Path.Txt";

// Whether a line of the path file names a directory: its first or third
// character is "\", or its second is ":".
bool NamesDirectory(std::string_view line);

// The directory that the path file names: its last line (read in pieces of 99
// characters) that names one; empty when none does. onLine, when given, sees
// every line and whether it counts.
using PathFileLineSeen = std::function<void(std::string_view line, bool counts)>;
std::string PathFileDirectory(ByteStream& pathFile, const PathFileLineSeen& onLine = {});

// True when the directory ends in "ExeXml\" (any letter case).
bool IsExeXmlDirectory(std::string_view directory);

// Whether a file opens for reading; the search's only look at the file system.
using FileProbe = std::function<bool(const std::string& windowsPath)>;

// The monitor's "Custom Sensors\ExeXml\" directory that holds the profile,
// empty or ending in "\". With a path file (pathFileDirectory holds what it
// names, maybe nothing) the place it leads to is final; without one the
// working directory is tried, then the three fixed installation folders of
// the current drive. Fails with Error 1002 when the profile is nowhere, and
// with "Sorry, invalid Path-Usage..." when it lies in a folder that is no
// ExeXml folder.
std::variant<std::string, RunFailure> SearchSensorDirectory(const std::string& profileName,
                                                            const std::optional<std::string>& pathFileDirectory,
                                                            const FileProbe& canOpen);

}  // namespace tavorine
