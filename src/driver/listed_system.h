#pragma once
#include <optional>
#include <string>

#include "config/profile_data.h"
#include "driver/rfc_run.h"
#include "driver/run_options.h"
#include "platform/output_sink.h"
#include "rfc/call_outcome.h"
#include "rfc/logon.h"

namespace tavorine {

// One entry of a listing run before its logon: its profile read.
struct PreparedSystem {
  std::string entry;
  bool skipped = true;  // its profile does not open, or the entry leaves the sensor folder
  bool profileFault = false;
  std::string consoleLine;  // "* hh:mm:ss entry, host, destination, sysnr, client"
  ProfileData profile;
};

PreparedSystem PrepareSystem(const RunOptions& options, const std::string& entry);

// What the logon and checks of one prepared system gave.
struct SystemResult {
  bool logonFailed = false;
  // Why the library was not asked to log on, when that has a message of its own.
  std::optional<RunFailure> logonFailure;
  // The run's deadline came while the logon waited for "SapRfc.ini".
  bool deadlineCame = false;
  CallStatus callStatus = CallStatus::ERR;
  std::string errorText;  // the failed checks' texts
  // A failure that ends the whole run: a failed CPU read or system
  // information call (its text then still wants the trace's), or a database
  // that is not DB4.
  enum class Ending { None, FailedCheck, DatabaseMismatch } ending = Ending::None;
};

// The logon and the checks of a prepared system, its connection closed at
// the end. destinationIni is ReadDestinationIni's for the system; the wait
// for "SapRfc.ini" ends at the deadline.
SystemResult CheckPreparedSystem(const PreparedSystem& system, const std::optional<WholeFile>& destinationIni,
                                 const RunOptions& options, RfcRun& rfc, LogonRecords& records, OutputSink& output,
                                 Deadline deadline);

// The texts a worker receives and sends back.
std::string EncodeProfile(const ProfileData& profile);
std::optional<ProfileData> DecodeProfile(std::string_view bytes);
std::string EncodeResult(const SystemResult& result);
std::optional<SystemResult> DecodeResult(std::string_view bytes);

}  // namespace tavorine
