#include "rfc/rfc_session.h"

namespace tavorine {

RFC_TYPEHANDLE RfcSession::Structure(const char* name, std::vector<RFC_TYPE_ELEMENT> fields) {
  const auto known = structures_.find(name);
  if (known != structures_.end()) return known->second;
  RFC_TYPEHANDLE handle = 0;
  if (library_.RfcInstallStructure(name, fields.data(), static_cast<std::uint32_t>(fields.size()), &handle) != 0) {
    report_.Report("RfcInstallStructure");
  }
  structures_.emplace(name, handle);
  return handle;
}

RFC_RC RfcSession::CallAndReceive(RFC_HANDLE handle, const char* function, RFC_PARAMETER* exporting,
                                  RFC_PARAMETER* importing, RFC_TABLE* tables, std::string& exception) {
  const RFC_RC sent = library_.RfcCall(handle, function, exporting, tables);
  runLog_.Write(static_cast<std::int32_t>(handle), "RfcCall called", "");
  if (sent != 0) return sent;
  char* received = nullptr;
  const RFC_RC code = library_.RfcReceive(handle, importing, tables, &received);
  runLog_.Write(static_cast<std::int32_t>(handle), "RfcReceive called", "");
  if ((code == 2 || code == 3) && received != nullptr) exception = received;
  return code;
}

InternalTable::InternalTable(const RfcSession& session, const char* name, std::uint32_t rowLength)
    : session_(session), name_(name), handle_(session.Library().ItCreate(name, rowLength, 0, 0)) {
  if (handle_ == nullptr) session_.Report().Report(std::string("ItCreate ") + name);
}

InternalTable::~InternalTable() {
  if (handle_ != nullptr) Delete();
}

void InternalTable::FetchAllLines() const {
  const std::uint32_t lines = session_.Library().ItFill(handle_);
  for (std::uint32_t line = 1; line <= lines; ++line) {
    if (session_.Library().ItGetLine(handle_, line) == nullptr) {
      session_.Report().Report(std::string("ItGetLine ") + name_);
    }
  }
}

void InternalTable::Delete() {
  if (session_.Library().ItDelete(handle_) != 0) session_.Report().Report(std::string("ItDelete ") + name_);
  handle_ = nullptr;
}

}  // namespace tavorine
