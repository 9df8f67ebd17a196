#include "platform/process/standard_streams.h"

#include "platform/files/native_file.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#endif

namespace tavorine {
#ifdef _WIN32
namespace {

bool IsValid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

// The C library's descriptor of a standard stream, pointed at the null device
// when the process has no handle for it.
void CoverDescriptor(int descriptor, DWORD standardHandle) {
  if (IsValid(GetStdHandle(standardHandle)) && _get_osfhandle(descriptor) != -1) return;
  const int null = _open("NUL", descriptor == 0 ? _O_RDONLY : _O_WRONLY);
  if (null < 0) return;
  if (null != descriptor) {
    _dup2(null, descriptor);
    _close(null);
  }
}

}  // namespace

NativeHandle StandardInput() { return GetStdHandle(STD_INPUT_HANDLE); }

bool PrepareStandardStreams() {
  const bool outputOpen = IsValid(GetStdHandle(STD_OUTPUT_HANDLE));
  CoverDescriptor(0, STD_INPUT_HANDLE);
  CoverDescriptor(1, STD_OUTPUT_HANDLE);
  CoverDescriptor(2, STD_ERROR_HANDLE);
  return outputOpen;
}

#else

namespace {

bool IsOpen(int descriptor) { return fcntl(descriptor, F_GETFD) != -1 || errno != EBADF; }

}  // namespace

NativeHandle StandardInput() { return STDIN_FILENO; }

bool PrepareStandardStreams() {
  bool outputOpen = true;
  // In order, so that open() hands out exactly the descriptor that is missing.
  for (int descriptor = 0; descriptor <= 2; ++descriptor) {
    if (IsOpen(descriptor)) continue;
    if (descriptor == STDOUT_FILENO) outputOpen = false;
    const int null = open("/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY);
    if (null >= 0 && null != descriptor) {
      dup2(null, descriptor);
      close(null);
    }
  }
  std::signal(SIGPIPE, SIG_IGN);
  return outputOpen;
}

#endif

}  // namespace tavorine
