#pragma once
#include "rfc/call_outcome.h"
#include "rfc/rfc_session.h"

namespace tavorine {

// The first call of a run, GET_CPU_ALL with LOCAL_REMOTE "LOCAL": a probe that
// the system answers at all. Its rows are fetched and not used.
CallOutcome CpuRead(RfcSession& session, RFC_HANDLE handle);

}  // namespace tavorine
