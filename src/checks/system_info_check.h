#pragma once
#include <string>

#include "rfc/call_outcome.h"
#include "rfc/rfc_session.h"

namespace tavorine {

// Calls RFC_SYSTEM_INFO; on success databaseSystem gets what the run uses of
// its answer, RFCDBSYS, 10 characters as received. RFCHOST, the host that
// answered, is not kept: every line that shows a host is printed before the
// call.
CallOutcome SystemInfoCheck(RfcSession& session, RFC_HANDLE handle, std::string& databaseSystem);

}  // namespace tavorine
