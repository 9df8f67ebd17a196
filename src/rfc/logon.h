#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "config/profile_data.h"
#include "output/run_log.h"
#include "rfc/rfc_library.h"

namespace tavorine {

// The logon's records and its copies of the profile's texts, which the
// records point into. The caller keeps one for the whole process: a profile
// without a system number logs on with the number of the logon before it.
struct LogonRecords {
  std::string destination, client, user, password, language, hostname, gwhost, gwservice;
  RFC_OPTIONS OpenOptions{};
  RFC_CONNOPT_R2 GatewayParams{};
  RFC_CONNOPT_R3 ServerParams{};
};

// The text RfcOpenEx gets: logon data and the destination to look up in
// "SapRfc.ini" (always language D on this road).
std::string ConnectString(const ProfileData& profile);

// The value of an option word such as ",HOST=" in the options: the text as
// typed after the word, up to the next comma or blank. Empty optional without it.
std::optional<std::string> OptionValue(std::string_view optionsText, std::string_view optionsAsGiven,
                                       std::string_view word);

// Fills the records from the profile for RfcOpen. The options ",HOST=name"
// and ",NO=nn" override the profile's host name and system number.
void FillOpenOptions(const ProfileData& profile, std::string_view optionsText, std::string_view optionsAsGiven,
                     LogonRecords& records);

// Opens the connection: through RfcOpenEx after copying "SapRfc.<Destination>"
// to "SapRfc.ini" when that file exists, through RfcOpen otherwise. Returns the
// handle, 0 when no connection was opened.
RFC_HANDLE Logon(const RfcLibrary& library, const ProfileData& profile, std::string_view optionsText,
                 std::string_view optionsAsGiven, LogonRecords& records, RunLog& runLog);

}  // namespace tavorine
