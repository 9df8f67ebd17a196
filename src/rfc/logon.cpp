#include "rfc/logon.h"

#include <optional>

#include "output/messages.h"
#include "rfc/sap_rfc_ini.h"

namespace tavorine {

namespace {

constexpr std::size_t kUserWidth = 12;
constexpr std::size_t kPasswordWidth = 10;

std::string PaddedTo(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

char* TextOrNone(std::string& text) { return text.empty() ? nullptr : text.data(); }

// An override word typed without a value keeps the profile's value: an empty
// ",NO=" would otherwise log on to system number 00 and an empty ",HOST=" to
// no host at all.
std::string OverrideOr(const std::optional<std::string>& value, const std::string& profileValue) {
  return value && !value->empty() ? *value : profileValue;
}

std::int32_t LeadingNumber(std::string_view text) {
  std::int32_t number = 0;
  for (std::size_t at = 0; at < text.size() && text[at] >= '0' && text[at] <= '9' && number < 100000000; ++at) {
    number = number * 10 + (text[at] - '0');
  }
  return number;
}

}  // namespace

std::string ConnectString(const ProfileData& profile) {
  return "CLIENT=" + profile.Client + " USER=" + profile.User + " PASSWD=" + profile.Password +
         " LANG=D DEST=" + profile.Destination;
}

void FillOpenOptions(const ProfileData& profile, const LogonOverrides& overrides, LogonRecords& records) {
  records.destination = profile.Destination;
  records.client = profile.Client;
  records.user = PaddedTo(profile.User, kUserWidth);
  records.password = PaddedTo(profile.Password, kPasswordWidth);
  records.language = profile.Language;
  records.hostname = OverrideOr(overrides.host, profile.Hostname);
  const std::string sysnr = OverrideOr(overrides.systemNumber, profile.Sysnr);
  records.gwhost = profile.Gwhost;
  records.gwservice = profile.Gwservice;

  RFC_OPTIONS& options = records.OpenOptions;
  options.destination = records.destination.data();
  options.client = records.client.data();
  options.user = records.user.data();
  options.password = records.password.data();
  options.language = records.language.data();
  options.trace = 0;
  if (profile.Mode == "R/2") {
    options.mode = 1;
    records.GatewayParams = {TextOrNone(records.gwhost), TextOrNone(records.gwservice)};
    options.connopt = &records.GatewayParams;
  } else {
    options.mode = 0;
    records.ServerParams.hostname = TextOrNone(records.hostname);
    records.ServerParams.sysnr = sysnr.empty() ? 0 : LeadingNumber(sysnr);
    records.ServerParams.gateway_host = TextOrNone(records.gwhost);
    records.ServerParams.gateway_service = TextOrNone(records.gwservice);
    options.connopt = &records.ServerParams;
  }
}

LogonResult Logon(const LogonContext& context, const ProfileData& profile,
                  const std::optional<WholeFile>& destinationIni, LogonRecords& records) {
  FillOpenOptions(profile, context.overrides, records);
  if (!destinationIni) {
    const RFC_HANDLE handle = context.library.RfcOpen(&records.OpenOptions);
    context.runLog.Write(static_cast<std::int32_t>(handle), "RfcOpen called", "");
    return {handle, LogonRoad::RfcOpen, std::nullopt};
  }
  if (context.tellsSapRfcIni) context.output.Write("* SapRfc.Ini.......: " + profile.Destination + "<\n");
  if (destinationIni->fault == WholeFileFault::TooLarge) {
    return {0, LogonRoad::SapRfcIni, messages::FileTooLarge("SapRfc." + profile.Destination)};
  }
  const std::string connectString = ConnectString(profile);
  RFC_ERROR_INFO errorInfo{};
  const auto opened = WithSapRfcIni(
      destinationIni->bytes, [&] { return context.library.RfcOpenEx(connectString.c_str(), &errorInfo); },
      context.deadline);
  if (const auto* fault = std::get_if<SapRfcIniFault>(&opened)) {
    // At the deadline the run's own ending takes over; a copy that failed
    // fails the logon as the library would.
    if (*fault != SapRfcIniFault::LockTimedOut) return {0, LogonRoad::SapRfcIni, std::nullopt};
    return {0, LogonRoad::SapRfcIni, messages::SapRfcIniLocked(static_cast<int>(kSapRfcIniLockWait.count()))};
  }
  const RFC_HANDLE handle = std::get<RFC_HANDLE>(opened);
  context.runLog.Write(static_cast<std::int32_t>(handle), "RfcOpenEx called", "");
  return {handle, LogonRoad::SapRfcIni, std::nullopt};
}

}  // namespace tavorine
