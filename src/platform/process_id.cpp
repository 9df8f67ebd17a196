#include "platform/process_id.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace tavorine {

int CurrentProcessId() {
#ifdef _WIN32
  return _getpid();
#else
  return static_cast<int>(getpid());
#endif
}

}  // namespace tavorine
