#pragma once
#include <string>
#include <string_view>

#include "rfc/rfc_api.h"

namespace tavorine {

// The run status of the checks: set to ERR before each check; a check whose
// call succeeds sets OK.
enum class CallStatus { ERR, OK };

// What the checks of one system leave for the run driver: the status, and the
// error texts of failed calls, gathered for the error envelope.
struct CallState {
  CallStatus callStatus = CallStatus::ERR;
  std::string errorText;
};

// Turns a call code into the call status and, on failure, appends Error 1012
// (code 2, with the exception text), 1013 (code 3), 1014 (code 1) or 1015 (any
// other code) to the error text. Returns true on code 0.
bool ClassifyCallOutcome(RFC_RC code, std::string_view exception, CallState& state);

}  // namespace tavorine
