#include "platform/console.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace tavorine {

void Print(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void UseBinaryStandardOutput() {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
}

}  // namespace tavorine
