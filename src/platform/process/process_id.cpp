#include "platform/process/process_id.h"

#include "platform/files/native_file.h"
#include "platform/process/process_end.h"

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace tavorine {

int CurrentProcessId() {
#ifdef _WIN32
  return _getpid();
#else
  return static_cast<int>(getpid());
#endif
}

bool ProcessIsAlive(int processId) {
#ifdef _WIN32
  const NativeFile process(OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(processId)));
  if (!process.IsOpen()) return GetLastError() == ERROR_ACCESS_DENIED;
  return WaitForSingleObject(process.Handle(), 0) == WAIT_TIMEOUT;
#else
  return processId > 0 && (kill(processId, 0) == 0 || errno == EPERM);
#endif
}

void TerminateThisProcess([[maybe_unused]] ExitStatus status) {
#ifdef _WIN32
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
#endif
}

}  // namespace tavorine
