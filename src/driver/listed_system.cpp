#include "driver/listed_system.h"

#include <array>

#include "checks/cpu_read.h"
#include "checks/missing_objects_check.h"
#include "checks/system_info_check.h"
#include "config/listing_file.h"
#include "config/profile_reader.h"
#include "driver/worker_records.h"
#include "platform/local_time.h"

namespace tavorine {

namespace {

// The profile's texts in a fixed order, for the trip to a worker.
constexpr std::array<std::string ProfileData::*, 12> kProfileTexts = {
    &ProfileData::Extcompany, &ProfileData::Destination, &ProfileData::Client,   &ProfileData::User,
    &ProfileData::Password,   &ProfileData::Language,    &ProfileData::Mode,     &ProfileData::Hostname,
    &ProfileData::Sysnr,      &ProfileData::Gwhost,      &ProfileData::Gwservice, &ProfileData::DisplayHost,
};

// Takes the state of one call into the result; false when the run cannot go on.
bool Took(const CallState& state, SystemResult& result) {
  result.callStatus = state.callStatus;
  result.errorText = state.errorText;
  if (state.callStatus == CallStatus::OK) return true;
  result.ending = SystemResult::Ending::FailedCheck;
  return false;
}

void CheckConnectedSystem(RfcSession& session, RFC_HANDLE handle, SystemResult& result) {
  CallState state;
  CpuRead(session, handle, state);
  if (!Took(state, result)) return;
  state.callStatus = CallStatus::ERR;
  SystemInfo info;
  SystemInfoCheck(session, handle, state, info);
  if (!Took(state, result)) return;
  if (!IsDb4(info.DatabaseSystem)) {
    result.ending = SystemResult::Ending::DatabaseMismatch;
    return;
  }
  state.callStatus = CallStatus::ERR;
  MissingObjectsCheck(session, handle, state, nullptr, "");
  result.callStatus = state.callStatus;
  result.errorText = state.errorText;
}

}  // namespace

PreparedSystem PrepareSystem(const RunOptions& options, const std::string& entry) {
  PreparedSystem system;
  system.entry = entry;
  if (!StaysInSensorFolder(entry)) return system;
  std::optional<InputFile> file = InputFile::Open(options.profileDir + entry);
  if (!file) return system;
  system.skipped = false;
  if (file->TooLarge()) {
    system.profileFault = true;
  } else {
    const ProfileReading reading = ReadProfile(*file, kListingPieceLength, PasswordFaultHandling::ReadOn);
    system.profileFault = reading.fault.has_value();
    system.profile = reading.data;
  }
  const ProfileData& profile = system.profile;
  system.consoleLine = "* " + LocalTimeOfDay() + " " + entry + ", " + profile.DisplayHost + ", " +
                       profile.Destination + ", " + profile.Sysnr + ", " + profile.Client;
  return system;
}

SystemResult CheckPreparedSystem(const PreparedSystem& system, const std::optional<WholeFile>& destinationIni,
                                 const RunOptions& options, RfcRun& rfc, LogonRecords& records, OutputSink& output,
                                 Deadline deadline) {
  SystemResult result;
  const LogonContext logon{rfc.Library(), rfc.Log(), output, options.optionsText, options.optionsAsGiven, deadline};
  const LogonResult loggedOn = Logon(logon, system.profile, destinationIni, records);
  if (loggedOn.handle == 0) {
    result.logonFailed = true;
    result.logonFailure = loggedOn.failure;
    result.deadlineCame = loggedOn.deadlineCame;
    return result;
  }
  const RfcConnection connection(rfc.Library(), loggedOn.handle);
  CheckConnectedSystem(rfc.Session(), connection.Handle(), result);
  return result;
}

std::string EncodeProfile(const ProfileData& profile) {
  std::vector<std::string> fields;
  for (const auto member : kProfileTexts) fields.push_back(profile.*member);
  return JoinFields(fields);
}

std::optional<ProfileData> DecodeProfile(std::string_view bytes) {
  const auto fields = SplitFields(bytes);
  if (!fields || fields->size() != kProfileTexts.size()) return std::nullopt;
  ProfileData profile;
  for (std::size_t i = 0; i < kProfileTexts.size(); ++i) profile.*kProfileTexts[i] = (*fields)[i];
  return profile;
}

std::string EncodeResult(const SystemResult& result) {
  return JoinFields({result.logonFailed ? "1" : "0", result.callStatus == CallStatus::OK ? "OK" : "ERR",
                     std::to_string(static_cast<int>(result.ending)), result.errorText,
                     result.logonFailure ? result.logonFailure->message : ""});
}

std::optional<SystemResult> DecodeResult(std::string_view bytes) {
  const auto fields = SplitFields(bytes);
  if (!fields || fields->size() != 5 || (*fields)[2].size() != 1) return std::nullopt;
  const int ending = (*fields)[2][0] - '0';
  if (ending < 0 || ending > static_cast<int>(SystemResult::Ending::DatabaseMismatch)) return std::nullopt;
  SystemResult result;
  result.logonFailed = (*fields)[0] == "1";
  result.callStatus = (*fields)[1] == "OK" ? CallStatus::OK : CallStatus::ERR;
  result.ending = static_cast<SystemResult::Ending>(ending);
  result.errorText = (*fields)[3];
  if (!(*fields)[4].empty()) result.logonFailure = RunFailure{(*fields)[4]};
  return result;
}

}  // namespace tavorine
