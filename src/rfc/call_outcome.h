#pragma once
#include <string>

#include "rfc/rfc_api.h"

namespace tavorine {

// What one function-module call gave: the code of RfcCall, or, when that
// sent the call, of RfcReceive (0 OK, 1 failure, 2 exception, 3 system
// exception, any other an other failure); for codes 2 and 3 the exception
// text that RfcReceive handed out.
struct CallOutcome {
  RFC_RC code = 0;
  std::string exception;

  bool Succeeded() const { return code == 0; }
};

}  // namespace tavorine
