#include "rfc/sap_rfc_ini.h"

#include "platform/file_lock.h"
#include "platform/text_file.h"
#include "platform/atomic_write.h"

namespace tavorine {

namespace {

constexpr std::string_view kSapRfcIni = "SapRfc.ini";
constexpr std::string_view kLockFile = "SapRfc.ini.lck";

}  // namespace

std::optional<std::string> ReadDestinationIni(std::string_view destination) {
  if (destination.find_first_of("\\/:") != std::string_view::npos) return std::nullopt;
  return ReadTextFile("SapRfc." + std::string(destination));
}

std::optional<RFC_HANDLE> WithSapRfcIni(std::string_view contents, const std::function<RFC_HANDLE()>& open) {
  const FileLock lock(kLockFile);
  if (!WriteFileAtomically(kSapRfcIni, contents)) return std::nullopt;
  return open();
}

}  // namespace tavorine
