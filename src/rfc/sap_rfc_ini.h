#pragma once
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "platform/files/input_file.h"
#include "platform/time/deadline.h"
#include "rfc/rfc_api.h"

namespace tavorine {

// How long a logon waits for another run's logon through "SapRfc.ini". Well
// under the monitor's default timeout of 60 s, so that a run that waited in
// vain still reports it; long enough for a queue of healthy logons, each of
// which holds the lock for one network round trip.
inline constexpr std::chrono::seconds kSapRfcIniLockWait{20};

// The file "SapRfc.<destination>" in the working directory, read whole, when
// it is there. A destination that holds a path separator or a drive colon
// names no such file: a profile must not make the program copy a file from
// elsewhere into the library's configuration.
std::optional<WholeFile> ReadDestinationIni(std::string_view destination);

enum class SapRfcIniFault {
  NotWritten,    // "SapRfc.ini" cannot be written: no logon
  LockTimedOut,  // another run held the lock for all of kSapRfcIniLockWait
  DeadlineCame,  // the run's deadline came while another run held the lock
};

// Writes the bytes as "SapRfc.ini" in the working directory and runs open
// (RfcOpenEx, which reads that file) while no other run can replace it: an
// exclusive lock on "SapRfc.ini.lck" is held from before the copy until open
// returns, and the copy goes to a temporary file renamed into place, so no run
// ever reads a half-written or foreign "SapRfc.ini". open is not called when
// the file cannot be written, or the lock does not come within its limit or
// before the run's deadline.
std::variant<RFC_HANDLE, SapRfcIniFault> WithSapRfcIni(std::string_view contents,
                                                       const std::function<RFC_HANDLE()>& open, Deadline deadline);

// Writes "SapRfc.ini" as WithSapRfcIni does, without a logon: a listing run
// leaves the file its workers' logons wrote in their own folders, in the
// order the one-at-a-time run writes it. Empty when it was written.
std::optional<SapRfcIniFault> WriteSapRfcIni(std::string_view contents, Deadline deadline);

}  // namespace tavorine
