#pragma once
#include <string>
#include <string_view>

namespace tavorine {

// Paths here are the system's own (native) paths.

// The folder of the running program, ending in its separator.
std::string ProgramFolder();

// The file name of the shared library stem names: "librfc32.dll" on Windows.
std::string SharedLibraryFileName(std::string_view stem);

// The Windows system folder, ending in "\"; empty on other systems.
std::string SystemFolder();

// What a file offered as a shared library is, read from its header, compared
// with the running program. Told only after the library failed to load: a
// run that loads it reads no header.
struct LibraryFileFacts {
  enum class Kind { Missing, Unreadable, NotALibrary, OtherBitness, Library } kind = Kind::Missing;
  int bits = 0;  // of the library: 32 or 64, when known
};
LibraryFileFacts InspectLibraryFile(const std::string& path);
int ProgramBits();

// Loads the library at exactly this path, the libraries it needs from beside
// it (Windows). Null with the system's reason when it does not load. The
// library stays loaded for the whole process.
void* LoadSharedLibrary(const std::string& path, std::string& reason);
void* LibraryRoutine(void* library, const char* name);

}  // namespace tavorine
