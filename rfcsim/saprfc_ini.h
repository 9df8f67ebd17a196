#pragma once
// The library's configuration file SapRfc.ini and the connect string of
// RfcOpenEx, which names a destination described there.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "description.h"

namespace rfcsim {

struct IniDestination {
  std::string name;
  std::string type = "A";  // A: R/3 application server; any other: no host to check
  std::optional<std::string> ashost;
  std::optional<int32_t> sysnr;
  std::optional<std::string> gwhost;
  std::optional<std::string> gwserv;
};

struct IniFile {
  std::vector<IniDestination> destinations;
  std::vector<DescriptionProblem> problems;

  const IniDestination* Find(std::string_view destination) const;
};

// Entries begin with DEST=name; the KEY=value lines after it belong to it.
// Keys the simulator has no use for are passed over, as the library does.
IniFile ParseSapRfcIni(std::string_view text);

struct ConnectString {
  std::string client;
  std::string user;
  std::string password;
  std::string language;
  std::string destination;
};

// "CLIENT=c USER=u PASSWD=p LANG=l DEST=d", the password taken up to the last
// " LANG=", so that a password with blanks still reads whole.
std::optional<ConnectString> ParseConnectString(std::string_view text);

}  // namespace rfcsim
