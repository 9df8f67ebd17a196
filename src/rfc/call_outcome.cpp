#include "rfc/call_outcome.h"

namespace tavorine {

bool ClassifyCallOutcome(RFC_RC code, std::string_view exception, CallState& state) {
  switch (code) {
    case 0:
      state.callStatus = CallStatus::OK;
      return true;
    case 1:
      state.errorText += "Error 1014: RFC-Failure raised !";
      break;
    case 2:
      state.errorText += "Error 1012: Exception.: ";
      state.errorText += exception;
      break;
    case 3:
      state.errorText += "Error 1013: Sys-Exception raised !";
      break;
    default:
      state.errorText += "Error 1015: Other Failure raised !";
      break;
  }
  return false;
}

}  // namespace tavorine
