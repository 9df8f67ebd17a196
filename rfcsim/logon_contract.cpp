#include "logon_contract.h"

#include <charconv>
#include <cstdint>
#include <string_view>

#include "contract.h"
#include "description.h"

namespace rfcsim {
namespace {

constexpr size_t kUserWidth = 12;
constexpr size_t kPasswordWidth = 10;

// Whether the blanks at the end of the text reach from inside `width` to at
// least `width`: the shape RfcOpen's padding gives a shorter value. A value
// of its own ends that way only with enough trailing blanks to fill the
// width, and the ERP system ignores trailing blanks of user and password.
bool BlankPaddedTo(std::string_view text, size_t width) {
  const size_t kept = text.find_last_not_of(' ') + 1;
  return kept < width && text.size() >= width;
}

bool IsPortNumber(std::string_view text) {
  uint32_t port = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
  return error == std::errc() && end == text.data() + text.size() && port >= 1 && port <= 65535;
}

// "sapgw00" or a port number: what a gateway service is called, and what no
// host is called.
bool LooksLikeService(const char* text) {
  if (!text) return false;
  const std::string_view name(text);
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  if (name.size() == 7 && UpperCase(name.substr(0, 5)) == "SAPGW") return isDigit(name[5]) && isDigit(name[6]);
  return IsPortNumber(name);
}

std::string Quoted(const char* text) { return text ? "\"" + Shown(text) + "\"" : "none"; }

// A host named like a service next to a service that is not named like one
// is a swap: sound calls have host names there, and no host is called that.
std::string CheckGateway(const char* host, const char* service) {
  if (!LooksLikeService(host) || LooksLikeService(service)) return {};
  return "gateway host " + Quoted(host) + " is named like a service, gateway service " + Quoted(service) +
         " is not: host and service swapped?";
}

std::string CheckConnectionParameters(const RFC_OPTIONS& options) {
  if (!options.connopt) return "options without connection parameters";
  if (options.mode == 1) {
    const auto* gateway = static_cast<const RFC_CONNOPT_R2*>(options.connopt);
    return CheckGateway(gateway->gateway_host, gateway->gateway_service);
  }
  const auto* server = static_cast<const RFC_CONNOPT_R3*>(options.connopt);
  return CheckGateway(server->gateway_host, server->gateway_service);
}

std::string CheckPadding(std::string_view user, std::string_view password) {
  if (user.size() < kUserWidth) {
    return "user field of " + std::to_string(user.size()) + " characters, expected blank-padded to 12";
  }
  if (user.size() > kUserWidth && BlankPaddedTo(user, kUserWidth)) {
    return "user field of " + std::to_string(user.size()) + " characters, blank-padded beyond 12";
  }
  if (password.size() < kPasswordWidth) return "password field shorter than 10, expected blank-padded to 10";
  if (password.size() > kPasswordWidth && BlankPaddedTo(password, kPasswordWidth)) {
    return "password field blank-padded beyond 10";
  }
  return {};
}

}  // namespace

std::string CheckOpenOptions(const RFC_OPTIONS* options) {
  if (!options) return "no options record";
  if (!options->destination) return "options without a destination";
  if (options->mode != 0 && options->mode != 1) {
    return "connection mode " + std::to_string(options->mode) + ", expected 0 or 1";
  }
  if (std::string problem = CheckConnectionParameters(*options); !problem.empty()) return problem;
  if (!options->client || !options->user || !options->password || !options->language) {
    return "options without client, user, password or language";
  }
  if (std::string problem = CheckPadding(options->user, options->password); !problem.empty()) return problem;
  if (options->trace != 0) return "trace " + std::to_string(options->trace) + ", expected 0";
  return {};
}

std::string CheckConnectStringValues(const ConnectString& parts) {
  if (parts.language != "D") return "connect string LANG=" + parts.language + ", expected LANG=D";
  if (BlankPaddedTo(parts.user, kUserWidth)) {
    return "connect string USER blank-padded to 12, expected the profile's value as it stands";
  }
  if (BlankPaddedTo(parts.password, kPasswordWidth)) {
    return "connect string PASSWD blank-padded to 10, expected the profile's value as it stands";
  }
  return {};
}

}  // namespace rfcsim
