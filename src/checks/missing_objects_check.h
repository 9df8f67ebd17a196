#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "output/result_document.h"
#include "rfc/call_outcome.h"
#include "rfc/rfc_session.h"

namespace tavorine {

// The dictionary state that DB02_DB4_GET_INFO reports and the document shows.
struct DictionaryState {
  std::string DBSYS;      // trailing blanks removed
  std::string FS_A_DATE;  // 8 characters as received
  std::string FS_A_TIME;  // 6 characters as received
  std::string SYSID;      // 8 characters, blanks kept
  std::int32_t TAB_MIS_DD = 0;
  std::int32_t IDX_MIS_DD = 0;
  std::int32_t CST_MIS_DD = 0;
  std::int32_t VIE_MIS_DD = 0;
};

// Reads the state out of a received DB02INFDB4 record (120 bytes).
DictionaryState DictionaryStateOf(const unsigned char* record);

// The whole result document of a single-profile run: the text and the four
// channels "Abap Tables missing", "Abap Primary missing", "Abap Indexes
// missing", "Abap Views missing".
void WriteMissingObjectsDocument(ResultDocument& document, std::string_view destination, const DictionaryState& state);

// Calls DB02_DB4_GET_INFO and sets CallStatus. On success it writes the
// document, unless document is null (a listing run writes no channels).
RFC_RC MissingObjectsCheck(RfcSession& session, RFC_HANDLE handle, CallState& state, ResultDocument* document,
                           std::string_view destination);

}  // namespace tavorine
