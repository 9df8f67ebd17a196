#pragma once
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "output/run_log.h"
#include "rfc/rfc_library.h"

namespace tavorine {

// What every check needs to talk to the library: the routines, the run log,
// and the type handles of the structures installed so far. Structures are
// installed once per process and their handles reused by every later call.
class RfcSession {
 public:
  RfcSession(const RfcLibrary& library, RunLog& runLog) : library_(library), runLog_(runLog) {}

  const RfcLibrary& Library() const { return library_; }
  RunLog& Log() { return runLog_; }

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
  RunLog& runLog_;
  std::map<std::string, RFC_TYPEHANDLE, std::less<>> structures_;
};

// An internal table of the library, created for one check. Creating or
// deleting it fails only when the library does, and that ends the process
// through the error report, named "ItCreate <table>" or "ItDelete <table>".
class InternalTable {
 public:
  InternalTable(const RfcLibrary& library, const char* name, std::uint32_t rowLength);
  InternalTable(const InternalTable&) = delete;
  InternalTable& operator=(const InternalTable&) = delete;

  ITAB_H Handle() const { return handle_; }
  const char* Name() const { return name_; }
  // Fetches every line, as a caller that reads the table would.
  void FetchAllLines() const;
  void Delete();

 private:
  const RfcLibrary& library_;
  const char* name_;
  ITAB_H handle_;
};

}  // namespace tavorine
