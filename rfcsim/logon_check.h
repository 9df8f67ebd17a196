#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "description.h"

namespace rfcsim {

// The logon data as either road delivers it, padding already removed.
struct LogonRequest {
  std::string routine;  // RfcOpen or RfcOpenEx
  std::string destination;
  std::string client;
  std::string user;
  std::string password;
  std::string language;
  // An application server is reached by host and system number, any other
  // partner through its gateway; only the data of the road taken are checked.
  bool applicationServer = true;
  std::optional<std::string> host;
  std::optional<int32_t> sysnr;
  std::optional<std::string> gatewayHost;
  std::optional<std::string> gatewayService;
};

// Why the system refuses the logon, or empty when it accepts it. Never
// contains the password.
std::string RefusalReason(const SystemDescription& system, const LogonRequest& request);

std::string TrimRight(std::string_view text);

}  // namespace rfcsim
