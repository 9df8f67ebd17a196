#include "rfc/rfc_library.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#endif

namespace tavorine {

namespace {

#ifdef _WIN32
constexpr const char* kLibraryName = "librfc32.dll";
using LibraryHandle = HMODULE;

std::string ProgramFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

LibraryHandle OpenLibrary(const std::string& path) {
  // No "cannot find DLL" dialog box: a sensor runs without anyone at the screen.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  return LoadLibraryExA(path.c_str(), nullptr, path.find('\\') == std::string::npos ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH);
}

void* Routine(LibraryHandle library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(library, name));
}
#else
constexpr const char* kLibraryName = "librfc32.so";
using LibraryHandle = void*;

std::string ProgramFolder() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  if (length <= 0) return {};
  std::string folder(path, static_cast<std::size_t>(length));
  return folder.substr(0, folder.rfind('/') + 1);
}

LibraryHandle OpenLibrary(const std::string& path) { return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }

void* Routine(LibraryHandle library, const char* name) { return dlsym(library, name); }
#endif

template <typename Function>
void Bind(LibraryHandle library, const char* name, Function& function, std::string& missing) {
  function = reinterpret_cast<Function>(Routine(library, name));
  if (function == nullptr && missing.empty()) missing = name;
}

}  // namespace

std::variant<RfcLibrary, RunFailure> LoadRfcLibrary() {
  LibraryHandle library = OpenLibrary(ProgramFolder() + kLibraryName);
  if (library == nullptr) library = OpenLibrary(kLibraryName);
  if (library == nullptr) {
    return RunFailure{std::string("Error 1041: RFC library ") + kLibraryName + " not found beside the program..."};
  }
  RfcLibrary rfc;
  std::string missing;
  Bind(library, "RfcEnvironment", rfc.RfcEnvironment, missing);
  Bind(library, "RfcOpen", rfc.RfcOpen, missing);
  Bind(library, "RfcOpenEx", rfc.RfcOpenEx, missing);
  Bind(library, "RfcInstallStructure", rfc.RfcInstallStructure, missing);
  Bind(library, "RfcCall", rfc.RfcCall, missing);
  Bind(library, "RfcReceive", rfc.RfcReceive, missing);
  Bind(library, "RfcLastError", rfc.RfcLastError, missing);
  Bind(library, "RfcClose", rfc.RfcClose, missing);
  Bind(library, "ItCreate", rfc.ItCreate, missing);
  Bind(library, "ItFill", rfc.ItFill, missing);
  Bind(library, "ItGetLine", rfc.ItGetLine, missing);
  Bind(library, "ItDelete", rfc.ItDelete, missing);
  if (!missing.empty()) {
    return RunFailure{std::string("Error 1042: RFC library ") + kLibraryName + " lacks the routine " + missing + "..."};
  }
  return rfc;
}

}  // namespace tavorine
