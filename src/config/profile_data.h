#pragma once
#include <string>

namespace tavorine {

// The eleven connection fields of one profile, as the profile reader leaves
// them: User upper-cased, Password decoded, the rest as read.
struct ProfileData {
  std::string Extcompany;
  std::string Destination;
  std::string Client;
  std::string User;
  std::string Password;
  std::string Language;
  std::string Mode;
  std::string Hostname;
  std::string Sysnr;
  std::string Gwhost;
  std::string Gwservice;
};

}  // namespace tavorine
