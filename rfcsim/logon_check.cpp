#include "logon_check.h"

namespace rfcsim {
namespace {

std::string Unreached(std::string_view what, const std::optional<std::string>& given, const std::string& expected) {
  return "partner not reached: " + std::string(what) + " " + given.value_or("(none)") + ", expected " + expected;
}

std::string GatewayReason(const SystemDescription& system, const LogonRequest& request) {
  if (system.gatewayHost && UpperCase(request.gatewayHost.value_or("")) != UpperCase(*system.gatewayHost)) {
    return Unreached("gateway host", request.gatewayHost, *system.gatewayHost);
  }
  if (system.gatewayService && UpperCase(request.gatewayService.value_or("")) != UpperCase(*system.gatewayService)) {
    return Unreached("gateway service", request.gatewayService, *system.gatewayService);
  }
  return {};
}

std::string HostReason(const SystemDescription& system, const LogonRequest& request) {
  if (!request.applicationServer) return GatewayReason(system, request);
  if (system.host && UpperCase(request.host.value_or("")) != UpperCase(*system.host)) {
    return Unreached("host", request.host, *system.host);
  }
  if (system.sysnr && request.sysnr != system.sysnr) {
    const std::string given = request.sysnr ? std::to_string(*request.sysnr) : "(none)";
    return "partner not reached: system number " + given + ", expected " + std::to_string(*system.sysnr);
  }
  return {};
}

}  // namespace

std::string TrimRight(std::string_view text) {
  const size_t last = text.find_last_not_of(' ');
  return std::string(last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1));
}

std::string RefusalReason(const SystemDescription& system, const LogonRequest& request) {
  if (std::string reason = HostReason(system, request); !reason.empty()) return reason;
  if (system.client && request.client != *system.client) {
    return "client " + request.client + " is not available in this system";
  }
  const bool userMatches = !system.user || UpperCase(TrimRight(request.user)) == TrimRight(*system.user);
  const bool passwordMatches = !system.password || TrimRight(request.password) == TrimRight(*system.password);
  if (!userMatches || !passwordMatches) return "Name or password is incorrect (repeat logon)";
  if (system.language && UpperCase(request.language) != UpperCase(*system.language)) {
    return "language " + request.language + " is not installed in this system";
  }
  if (system.failures.logonRefused) return *system.failures.logonRefused;
  return {};
}

}  // namespace rfcsim
