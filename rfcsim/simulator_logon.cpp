#include <fstream>
#include <sstream>

#include "logon_contract.h"
#include "network_keys.h"
#include "saprfc_ini.h"
#include "simulator.h"

namespace rfcsim {
namespace {

std::optional<std::string> ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string Problem(std::string_view file, const std::vector<DescriptionProblem>& problems) {
  if (problems.empty()) return {};
  return std::string(file) + " line " + std::to_string(problems.front().line) + ": " + problems.front().text;
}

LogonRequest Request(std::string routine, std::string destination, std::string client, std::string user,
                     std::string password, std::string language) {
  LogonRequest request;
  request.routine = std::move(routine);
  request.destination = std::move(destination);
  request.client = std::move(client);
  request.user = std::move(user);
  request.password = std::move(password);
  request.language = std::move(language);
  return request;
}

}  // namespace

void Simulator::ReadDescription() {
  if (description_) return;
  if (auto text = ReadFile(directory_ / "RfcSim.txt")) description_ = ParseDescription(std::move(*text));
}

std::string Simulator::DescriptionProblem() {
  ReadDescription();
  if (!description_) return "no RfcSim.txt in the working directory";
  return Problem("RfcSim.txt", description_->problems);
}

RFC_HANDLE Simulator::Open(RFC_OPTIONS* options) {
  if (std::string problem = CheckOpenOptions(options); !problem.empty()) {
    ContractFailure("RfcOpen: " + problem);
    return 0;
  }
  LogonRequest request = Request("RfcOpen", options->destination, options->client, options->user, options->password,
                                 options->language);
  request.applicationServer = options->mode == 0;
  const auto text = [](const char* given) { return given ? std::optional<std::string>(given) : std::nullopt; };
  if (request.applicationServer) {
    const auto* server = static_cast<const RFC_CONNOPT_R3*>(options->connopt);
    request.host = text(server->hostname);
    request.sysnr = server->sysnr;
  } else {
    const auto* gateway = static_cast<const RFC_CONNOPT_R2*>(options->connopt);
    request.gatewayHost = text(gateway->gateway_host);
    request.gatewayService = text(gateway->gateway_service);
  }
  return Logon(request, nullptr);
}

std::string Simulator::CheckOpenEx(const char* connectString, LogonRequest& request) const {
  if (!connectString) return "no connect string";
  const auto parts = ParseConnectString(connectString);
  if (!parts) return "connect string not of the form CLIENT=c USER=u PASSWD=p LANG=D DEST=d";
  if (std::string problem = CheckConnectStringValues(*parts); !problem.empty()) return problem;
  request = Request("RfcOpenEx", parts->destination, parts->client, parts->user, parts->password, parts->language);
  return {};
}

RFC_HANDLE Simulator::OpenEx(const char* connectString, RFC_ERROR_INFO* errorInfo) {
  LogonRequest request;
  if (std::string problem = CheckOpenEx(connectString, request); !problem.empty()) {
    ContractFailure("RfcOpenEx: " + problem);
    LastError(errorInfo);
    return 0;
  }
  const auto text = ReadFile(directory_ / "SapRfc.ini");
  if (!text) return Refuse(request, "no SapRfc.ini in the working directory", errorInfo);
  const IniFile ini = ParseSapRfcIni(*text);
  if (!ini.problems.empty()) return Refuse(request, Problem("SapRfc.ini", ini.problems), errorInfo);
  const IniDestination* entry = ini.Find(request.destination);
  if (!entry) return Refuse(request, "destination " + request.destination + " not found in SapRfc.ini", errorInfo);
  request.applicationServer = entry->type == "A";
  request.host = entry->ashost;
  request.sysnr = entry->sysnr;
  request.gatewayHost = entry->gwhost;
  request.gatewayService = entry->gwserv;
  return Logon(request, errorInfo);
}

RFC_HANDLE Simulator::Logon(const LogonRequest& request, RFC_ERROR_INFO* errorInfo) {
  if (std::string reason = DescriptionProblem(); !reason.empty()) return Refuse(request, reason, errorInfo);
  const SystemDescription* system = description_->Find(request.destination);
  if (!system) {
    return Refuse(request, "destination " + request.destination + " is not described in RfcSim.txt", errorInfo);
  }
  // A refused logon takes its time as well: the partner answers it.
  Answer(*system, kLogonStep);
  if (std::string reason = RefusalReason(*system, request); !reason.empty()) {
    return Refuse(request, reason, errorInfo);
  }
  if (system->failures.callbackAtLogon) {
    CallbackFailure(*system, request.routine + " " + request.destination, *system->failures.callbackAtLogon);
    LastError(errorInfo);
    return 0;
  }
  const RFC_HANDLE handle = nextHandle_++;
  connections_[handle] = {system, nullptr};
  lastLogon_ = system;
  return handle;
}

RFC_HANDLE Simulator::Refuse(const LogonRequest& request, const std::string& reason, RFC_ERROR_INFO* errorInfo) {
  const std::string where = request.routine + " " + request.destination;
  Fail({"RFC_ERROR_LOGON_FAILURE", where, where + ": logon refused", reason, reason});
  LastError(errorInfo);
  return 0;
}

}  // namespace rfcsim
