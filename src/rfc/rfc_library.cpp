#include "rfc/rfc_library.h"

#include "output/messages.h"

namespace tavorine {

namespace {

constexpr std::string_view kLibraryStem = "librfc32";

std::vector<std::string> PlacesToLook() {
  const std::string name = SharedLibraryFileName(kLibraryStem);
  std::vector<std::string> places{ProgramFolder() + name};
  if (const std::string system = SystemFolder(); !system.empty()) places.push_back(system + name);
  return places;
}

// Binds each routine to its name in the library, in order; missing names the
// first one the library lacks.
void Bind(void*, std::string&) {}

template <typename Function, typename... Rest>
void Bind(void* library, std::string& missing, const char* name, Function& function, Rest&... rest) {
  function = reinterpret_cast<Function>(LibraryRoutine(library, name));
  if (function == nullptr && missing.empty()) missing = name;
  Bind(library, missing, rest...);
}

// The routines of a loaded library; the name of the first one it lacks.
std::string BindRoutines(void* handle, RfcLibrary& rfc) {
  std::string missing;
  Bind(handle, missing, "RfcEnvironment", rfc.RfcEnvironment, "RfcOpen", rfc.RfcOpen, "RfcOpenEx", rfc.RfcOpenEx,
       "RfcInstallStructure", rfc.RfcInstallStructure, "RfcCall", rfc.RfcCall, "RfcReceive", rfc.RfcReceive,
       "RfcLastError", rfc.RfcLastError, "RfcClose", rfc.RfcClose, "ItCreate", rfc.ItCreate, "ItFill", rfc.ItFill,
       "ItGetLine", rfc.ItGetLine, "ItDelete", rfc.ItDelete);
  return missing;
}

}  // namespace

std::string WhyNotLoaded(const LibraryPlace& place) {
  switch (place.facts.kind) {
    case LibraryFileFacts::Kind::Missing:
      return "there is no such file";
    case LibraryFileFacts::Kind::NotALibrary:
      return "it is not a library";
    case LibraryFileFacts::Kind::OtherBitness:
      if (place.facts.bits == ProgramBits()) return "it is built for another kind of processor than the program";
      return "it is a " + std::to_string(place.facts.bits) + "-bit library, the program is " +
             std::to_string(ProgramBits()) + "-bit";
    case LibraryFileFacts::Kind::Unreadable:
    case LibraryFileFacts::Kind::Library:
      break;
  }
  return place.loadError;
}

RfcLibraryLoading LoadRfcLibrary() {
  RfcLibraryLoading loading;
  std::vector<std::string> looked;
  for (const std::string& path : PlacesToLook()) {
    LibraryPlace& place = loading.places.emplace_back(LibraryPlace{path, {LibraryFileFacts::Kind::Library, 0}, {}});
    looked.push_back(path);
    void* handle = LoadSharedLibrary(path, place.loadError);
    if (handle == nullptr) {
      place.facts = InspectLibraryFile(path);
      if (place.facts.kind == LibraryFileFacts::Kind::Missing) continue;
      loading.failure = messages::LibraryNotLoaded(path, WhyNotLoaded(place));
      return loading;
    }
    auto library = std::make_unique<RfcLibrary>();
    library->path = path;
    if (const std::string missing = BindRoutines(handle, *library); !missing.empty()) {
      place.loadError = "it lacks the routine " + missing;
      loading.failure = messages::LibraryLacksRoutine(path, missing);
      return loading;
    }
    loading.library = std::move(library);
    return loading;
  }
  loading.failure = messages::LibraryNotFound(SharedLibraryFileName(kLibraryStem), looked);
  return loading;
}

}  // namespace tavorine
