#pragma once
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "output/run_log.h"
#include "rfc/error_report.h"
#include "rfc/rfc_library.h"

namespace tavorine {

// What every check needs to talk to the library: the routines, the error
// report, the run log, and the type handles of the structures installed so
// far (installed once per process and reused by every later call). Borrows
// all three; owns the handles.
class RfcSession {
 public:
  RfcSession(const RfcLibrary& library, const RfcErrorReport& report, RunLog& runLog)
      : library_(library), report_(report), runLog_(runLog) {}

  const RfcLibrary& Library() const { return library_; }
  const RfcErrorReport& Report() const { return report_; }
  RunLog& Log() const { return runLog_; }

  // The type handle of a structure, installing it on first use. A failed
  // installation ends the process through the error report.
  RFC_TYPEHANDLE Structure(const char* name, std::vector<RFC_TYPE_ELEMENT> fields);

  // RfcCall, then (if it sent) RfcReceive, each followed by its run-log line.
  // Returns the code of the call that failed or 0; after codes 2 and 3 the
  // exception text is in exception.
  RFC_RC CallAndReceive(RFC_HANDLE handle, const char* function, RFC_PARAMETER* exporting, RFC_PARAMETER* importing,
                        RFC_TABLE* tables, std::string& exception);

 private:
  const RfcLibrary& library_;
  const RfcErrorReport& report_;
  RunLog& runLog_;
  std::map<std::string, RFC_TYPEHANDLE, std::less<>> structures_;
};

// An internal table of the library, created for one check and owned by it:
// Delete() where the order of deletion matters, the destructor on any other
// path. Creating, reading or deleting fails only when the library does, and
// that ends the process through the error report, named "ItCreate <table>",
// "ItGetLine <table>" or "ItDelete <table>".
class InternalTable {
 public:
  InternalTable(const RfcSession& session, const char* name, std::uint32_t rowLength);
  ~InternalTable();
  InternalTable(const InternalTable&) = delete;
  InternalTable& operator=(const InternalTable&) = delete;

  ITAB_H Handle() const { return handle_; }
  // Fetches every line, as a caller that reads the table would.
  void FetchAllLines() const;
  void Delete();

 private:
  const RfcSession& session_;
  const char* name_;
  ITAB_H handle_;
};

// The connection of one logon, closed by its owner's destructor on every path.
class RfcConnection {
 public:
  RfcConnection(const RfcLibrary& library, RFC_HANDLE handle) : library_(library), handle_(handle) {}
  ~RfcConnection() {
    if (handle_ != 0) library_.RfcClose(handle_);
  }
  RfcConnection(const RfcConnection&) = delete;
  RfcConnection& operator=(const RfcConnection&) = delete;

  RFC_HANDLE Handle() const { return handle_; }

 private:
  const RfcLibrary& library_;
  RFC_HANDLE handle_;
};

}  // namespace tavorine
