#include "rfc/sap_rfc_ini.h"

#include "platform/files/file_lock.h"
#include "platform/process/atomic_write.h"

namespace tavorine {

namespace {

constexpr std::string_view kSapRfcIni = "SapRfc.ini";
constexpr std::string_view kLockFile = "SapRfc.ini.lck";

}  // namespace

std::optional<WholeFile> ReadDestinationIni(std::string_view destination) {
  if (destination.find_first_of("\\/:") != std::string_view::npos) return std::nullopt;
  WholeFile file = ReadWholeFile("SapRfc." + std::string(destination));
  if (file.fault == WholeFileFault::Missing) return std::nullopt;
  return file;
}

std::variant<RFC_HANDLE, SapRfcIniFault> WithSapRfcIni(std::string_view contents,
                                                       const std::function<RFC_HANDLE()>& open, Deadline deadline) {
  const FileLock lock(kLockFile, {kSapRfcIniLockWait, deadline});
  if (lock.Result() == LockState::TimedOut) return SapRfcIniFault::LockTimedOut;
  if (lock.Result() == LockState::DeadlineCame) return SapRfcIniFault::DeadlineCame;
  const Writers writers = lock.Result() == LockState::Held ? Writers::OneAtATime : Writers::Several;
  if (!WriteFileAtomically(kSapRfcIni, contents, writers)) return SapRfcIniFault::NotWritten;
  return open();
}

std::optional<SapRfcIniFault> WriteSapRfcIni(std::string_view contents, Deadline deadline) {
  const auto written = WithSapRfcIni(contents, [] { return RFC_HANDLE{0}; }, deadline);
  if (const auto* fault = std::get_if<SapRfcIniFault>(&written)) return *fault;
  return std::nullopt;
}

}  // namespace tavorine
