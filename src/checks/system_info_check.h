#pragma once
#include <string>

#include "rfc/call_outcome.h"
#include "rfc/rfc_session.h"

namespace tavorine {

// Calls RFC_SYSTEM_INFO; on success databaseSystem gets what the run uses of
// its answer, RFCDBSYS, 10 characters as received. (The answering host,
// RFCHOST, would only replace the host of progress lines that are printed
// before the call, so it is not kept.)
CallOutcome SystemInfoCheck(RfcSession& session, RFC_HANDLE handle, std::string& databaseSystem);

}  // namespace tavorine
