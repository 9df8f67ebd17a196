#pragma once
#include <string>
#include <string_view>
#include <variant>

#include "output/run_failure.h"

namespace tavorine {

// A profile (or listing file) found and read, with the directory it lies in.
struct OpenedProfile {
  std::string directory;  // empty or ending in "\"
  std::string path;       // directory + file name
  std::string text;
};

// The directory that the path file "C:\PRTG_Path.Txt" names: its last line
// (read in pieces of 99 characters) whose first or third character is "\" or
// whose second is ":"; empty when no line names one.
std::string PathFileDirectory(std::string_view pathFileText);

// True when the directory ends in "ExeXml\" (any letter case).
bool IsExeXmlDirectory(std::string_view directory);

// Finds the profile in the monitor's "Custom Sensors\ExeXml\" directory:
// through the path file, else in the working directory, else in the three
// fixed installation folders of the current drive. Fails with Error 1002 when
// it is nowhere, and with "Sorry, invalid Path-Usage..." when the folder it was
// found in is no ExeXml folder.
std::variant<OpenedProfile, RunFailure> SearchSensorDirectory(const std::string& profileName);

}  // namespace tavorine
