#pragma once
#include <string>
#include <string_view>

namespace tavorine {

// The system's own handle of an open file or pipe: a HANDLE on Windows, a
// file descriptor elsewhere.
#ifdef _WIN32
using NativeFile = void*;
#else
using NativeFile = int;
#endif

// Everything the file or pipe still gives, to its end (or its first error).
std::string ReadToEnd(NativeFile file);

// Writes all the bytes; false when the file or pipe takes no more.
bool WriteAll(NativeFile file, std::string_view bytes);

}  // namespace tavorine
