#pragma once
// The keys of RfcSim.txt that say how a system answers over the network:
// latency.logon, latency.call, latency.call.FM, jitter, hang and crash. They
// may stand in a system's section or in [defaults].
#include <optional>
#include <string>
#include <string_view>

#include "description.h"

namespace rfcsim {

inline constexpr std::string_view kLogonStep = "LOGON";

// Applies one line with an upper-cased key. Gives nothing when the key is
// none of these, otherwise the problem, empty when the line fits.
std::optional<std::string> ApplyNetworkKey(NetworkConduct& network, std::string_view key, std::string_view value);

// Takes from [defaults] what the system leaves unset, key by key.
void InheritNetwork(NetworkConduct& system, const NetworkConduct& defaults);

}  // namespace rfcsim
