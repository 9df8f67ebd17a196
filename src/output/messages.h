#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "output/run_failure.h"

// Every numbered message the program reports in its error document, in one
// place. The numbers and the texts of 1001 to 1030 are those the monitor's
// users have known for years, typos included; 1040 and up are this program's
// own.
namespace tavorine::messages {

RunFailure ProfileNameMissing();                                  // 1001
RunFailure ProfileMissing(std::string_view name);                 // 1002
RunFailure InvalidParameters(std::string_view profileName);       // 1003
RunFailure InvalidPassword(std::string_view profileName);         // 1004
RunFailure WrongPassword(std::string_view profileName);           // 1005
RunFailure UsernameMissing(std::string_view profileName);         // 1006
RunFailure PasswordMissing(std::string_view profileName);         // 1007
RunFailure LogonFailed(std::string_view destination);             // 1011
RunFailure ExceptionRaised(std::string_view exception);           // 1012
RunFailure SysExceptionRaised();                                  // 1013
RunFailure RfcFailureRaised();                                    // 1014
RunFailure OtherFailureRaised();                                  // 1015
// A function-module call that did not succeed: code 1 (1014), 2 (1012, with
// the exception text), 3 (1013), any other (1015).
RunFailure CallFailed(std::int32_t code, std::string_view exception);
RunFailure DatabaseMismatch();                                    // 1018
RunFailure NoServerListing();                                     // 1025
RunFailure NoItem();                                              // 1026
RunFailure SensorNotAllocated();                                  // 1029
RunFailure GlobalSensorNotFound(std::string_view sensor);         // 1030
RunFailure InvalidPathUsage();                                    // Sorry, ...
RunFailure UnknownOutputMode(std::string_view word);              // 1040
RunFailure LibraryNotFound(std::string_view name, const std::vector<std::string>& places);  // 1041
RunFailure LibraryLacksRoutine(std::string_view path, std::string_view routine);           // 1042
RunFailure LibraryNotLoaded(std::string_view path, std::string_view reason);               // 1043
RunFailure SapRfcIniLocked(int seconds);                          // 1044
RunFailure FileTooLarge(std::string_view name);                   // 1045
RunFailure InternalFailure(std::string_view what);                // 1046
RunFailure NoAnswer(int seconds, std::string_view destination, std::string_view step);  // 1047
RunFailure OptionOutOfRange(std::string_view word, int lowest, int highest);           // 1048

}  // namespace tavorine::messages
