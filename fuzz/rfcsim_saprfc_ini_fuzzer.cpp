// The simulator's reading of SapRfc.ini and of RfcOpenEx's connect string.
// The input is the file; its first line is also read as a connect string.
#include "fuzz_input.h"
#include "saprfc_ini.h"

namespace {

void ReadConnectString(std::string_view text) {
  const auto parts = rfcsim::ParseConnectString(text);
  if (!parts) return;
  const std::size_t pieces = parts->client.size() + parts->user.size() + parts->password.size() +
                             parts->language.size() + parts->destination.size();
  fuzz::Check(pieces + 33 == text.size(), "the connect string's parts and words make up the whole text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::Text(data, size);
  const rfcsim::IniFile ini = rfcsim::ParseSapRfcIni(text);
  for (const rfcsim::IniDestination& destination : ini.destinations) {
    fuzz::Check(!destination.name.empty(), "a destination has a name");
    fuzz::Check(ini.Find(destination.name) != nullptr, "a destination is found by its name");
    fuzz::Check(!destination.sysnr || (*destination.sysnr >= 0 && *destination.sysnr <= 99), "sysnr 00 to 99");
  }
  ReadConnectString(text.substr(0, text.find('\n')));
  return 0;
}
