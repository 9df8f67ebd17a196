#pragma once
#include "output/check_outcome.h"
#include "rfc/call_outcome.h"
#include "rfc/rfc_session.h"

namespace tavorine {

// Reads the state out of a received DB02INFDB4 record (120 bytes).
DictionaryState DictionaryStateOf(const unsigned char* record);

// Calls DB02_DB4_GET_INFO; on success state gets the dictionary state it reports.
CallOutcome MissingObjectsCheck(RfcSession& session, RFC_HANDLE handle, DictionaryState& state);

}  // namespace tavorine
