#pragma once
#include <string>

#include "rfc/call_outcome.h"
#include "rfc/rfc_session.h"

namespace tavorine {

// What RFC_SYSTEM_INFO tells that the run uses. (The answering host, RFCHOST,
// would only replace the host of progress lines that are printed before the
// call, so it is not kept.)
struct SystemInfo {
  std::string DatabaseSystem;  // RFCDBSYS, 10 characters as received
};

// Calls RFC_SYSTEM_INFO; sets CallStatus, and on success fills info.
RFC_RC SystemInfoCheck(RfcSession& session, RFC_HANDLE handle, CallState& state, SystemInfo& info);

// The run goes on only with a DB4 database: the first three characters, exactly.
bool IsDb4(const std::string& databaseSystem);

}  // namespace tavorine
