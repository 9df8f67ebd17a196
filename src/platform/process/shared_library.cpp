#include "platform/process/shared_library.h"

#include <cstdint>
#include <filesystem>
#include <optional>

#include "platform/files/input_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace tavorine {

namespace {

constexpr std::size_t kHeaderBytes = 4096;

// The first bytes of the file; none when it does not open.
std::optional<std::string> Header(const std::string& path) {
  const std::optional<InputFile> file = InputFile::OpenNative(path);
  if (!file) return std::nullopt;
  return file->ReadAt(0, kHeaderBytes);
}

struct ImageKind {
  bool image = false;  // the bytes are an executable image of the platform's format
  bool library = false;
  int bits = 0;
  unsigned machine = 0;
};

unsigned LittleEndian(const std::string& bytes, std::size_t at, std::size_t width) {
  unsigned value = 0;
  for (std::size_t i = width; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

#ifdef _WIN32

std::string ProgramPath() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, length);
}

// What a PE image's header tells: the machine it is built for, and whether
// it is a DLL.
ImageKind KindOf(const std::string& header) {
  if (header.size() < 0x40 || header.compare(0, 2, "MZ") != 0) return {};
  const std::size_t pe = LittleEndian(header, 0x3C, 4);
  if (pe + 24 > header.size() || header.compare(pe, 4, std::string("PE\0\0", 4)) != 0) return {};
  constexpr unsigned kDllFlag = 0x2000;
  constexpr unsigned kI386 = 0x14C;
  const unsigned machine = LittleEndian(header, pe + 4, 2);
  return {true, (LittleEndian(header, pe + 22, 2) & kDllFlag) != 0, machine == kI386 ? 32 : 64, machine};
}

#else

// Grown as needed, as the working directory is: PATH_MAX on the stack would
// reach a page further down than anything else the call does.
std::string ProgramPath() {
  std::string path(256, '\0');
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0) return {};
    if (static_cast<std::size_t>(length) < path.size()) return path.substr(0, static_cast<std::size_t>(length));
    path.resize(path.size() * 2);
  }
}

// What an ELF file's header tells: its class (1 for 32-bit) and machine,
// and whether it can be loaded as a library.
ImageKind KindOf(const std::string& header) {
  if (header.size() < 20 || header.compare(0, 4, "\x7F" "ELF") != 0) return {};
  constexpr unsigned kSharedObject = 3;
  return {true, LittleEndian(header, 16, 2) == kSharedObject, header[4] == 1 ? 32 : 64, LittleEndian(header, 18, 2)};
}

#endif

}  // namespace

int ProgramBits() { return static_cast<int>(sizeof(void*) * 8); }

LibraryFileFacts InspectLibraryFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return {};
  const std::optional<std::string> header = Header(path);
  // Out of file handles, say: the loader's own reason tells more than a guess.
  if (!header) return {LibraryFileFacts::Kind::Unreadable, 0};
  const ImageKind image = KindOf(*header);
  const ImageKind program = KindOf(Header(ProgramPath()).value_or(""));
  if (!image.image || !image.library) return {LibraryFileFacts::Kind::NotALibrary, 0};
  const bool fits = image.bits == program.bits && image.machine == program.machine;
  return {fits ? LibraryFileFacts::Kind::Library : LibraryFileFacts::Kind::OtherBitness, image.bits};
}

std::string ProgramFolder() {
  const std::string path = ProgramPath();
  return path.substr(0, path.find_last_of("\\/") + 1);
}

#ifdef _WIN32

std::string SharedLibraryFileName(std::string_view stem) { return std::string(stem) + ".dll"; }

std::string SystemFolder() {
  char folder[MAX_PATH];
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::string(folder, length) + "\\";
}

void* LoadSharedLibrary(const std::string& path, std::string& reason) {
  // No "cannot find DLL" dialog box: a sensor runs without anyone at the screen.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE library = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (library == nullptr) reason = "Windows error " + std::to_string(GetLastError());
  return reinterpret_cast<void*>(library);
}

void* LibraryRoutine(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

#else

std::string SharedLibraryFileName(std::string_view stem) { return std::string(stem) + ".so"; }

std::string SystemFolder() { return {}; }

void* LoadSharedLibrary(const std::string& path, std::string& reason) {
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* error = dlerror();
    reason = error != nullptr ? error : "the loader gave no reason";
  }
  return library;
}

void* LibraryRoutine(void* library, const char* name) { return dlsym(library, name); }

#endif

}  // namespace tavorine
