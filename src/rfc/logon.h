#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "config/profile_data.h"
#include "output/run_failure.h"
#include "output/run_log.h"
#include "platform/files/input_file.h"
#include "platform/process/output_sink.h"
#include "rfc/rfc_library.h"
#include "rfc/sap_rfc_ini.h"

namespace tavorine {

// The logon's records and its copies of the profile's texts, which the
// records point into; so it is neither copied nor moved. A profile without a
// system number logs on with 0, whatever logon came before it in the process:
// a group sensor's system must reach the same instance whichever systems went
// before it and whichever process checks it.
struct LogonRecords {
  LogonRecords() = default;
  LogonRecords(const LogonRecords&) = delete;
  LogonRecords& operator=(const LogonRecords&) = delete;

  std::string destination, client, user, password, language, hostname, gwhost, gwservice;
  RFC_OPTIONS OpenOptions{};
  RFC_CONNOPT_R2 GatewayParams{};
  RFC_CONNOPT_R3 ServerParams{};
};

// The text RfcOpenEx gets: logon data and the destination to look up in
// "SapRfc.ini" (always language D on this road).
std::string ConnectString(const ProfileData& profile);

// What the run's options put in the place of the profile's host name and
// system number, when they name one.
struct LogonOverrides {
  std::optional<std::string> host;
  std::optional<std::string> systemNumber;
};

// Fills the records from the profile for RfcOpen, with the overrides.
void FillOpenOptions(const ProfileData& profile, const LogonOverrides& overrides, LogonRecords& records);

// What the logon needs besides the profile; all borrowed.
struct LogonContext {
  const RfcLibrary& library;
  RunLog& runLog;
  OutputSink& output;  // for the "* SapRfc.Ini" line
  const LogonOverrides& overrides;
  Deadline deadline;  // the run's: the wait for "SapRfc.ini" ends there
  bool tellsSapRfcIni;  // prints the "* SapRfc.Ini" line of a logon through SapRfc.ini
};

enum class LogonRoad { RfcOpen, SapRfcIni };

struct LogonResult {
  RFC_HANDLE handle = 0;  // 0: no connection
  LogonRoad road = LogonRoad::RfcOpen;
  // Why the library was not even asked, when that has its own message:
  // "SapRfc.<destination>" too large, "SapRfc.ini" locked for too long.
  std::optional<RunFailure> failure;
};

// Opens the connection: through RfcOpenEx after copying destinationIni (the
// bytes of "SapRfc.<Destination>", ReadDestinationIni) to "SapRfc.ini" when
// there is such a file, through RfcOpen otherwise.
LogonResult Logon(const LogonContext& context, const ProfileData& profile,
                  const std::optional<WholeFile>& destinationIni, LogonRecords& records);

}  // namespace tavorine
