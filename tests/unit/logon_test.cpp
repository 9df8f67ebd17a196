#include "rfc/logon.h"

#include <gtest/gtest.h>

#include "driver/run/option_words.h"

namespace tavorine {
namespace {

ProfileData Profile() {
  ProfileData profile;
  profile.Destination = "QAS";
  profile.Client = "100";
  profile.User = "MONI";
  profile.Password = "secret";
  profile.Language = "E";
  profile.Mode = "R/3";
  profile.Hostname = "qashost";
  profile.Sysnr = "12";
  profile.Gwhost = "gw";
  profile.Gwservice = "sapgw12";
  return profile;
}

TEST(Logon, ConnectStringUsesUnpaddedValuesAndLanguageD) {
  EXPECT_EQ(ConnectString(Profile()), "CLIENT=100 USER=MONI PASSWD=secret LANG=D DEST=QAS");
}

TEST(Logon, OpenOptionsPadUserTo12AndPasswordTo10) {
  LogonRecords records;
  ProfileData profile = Profile();
  FillOpenOptions(profile, {}, records);
  EXPECT_STREQ(records.OpenOptions.user, "MONI        ");
  EXPECT_STREQ(records.OpenOptions.password, "secret    ");
  profile.User = "TWELVECHARSX";
  profile.Password = "elevenchars";
  FillOpenOptions(profile, {}, records);
  EXPECT_STREQ(records.OpenOptions.user, "TWELVECHARSX");
  EXPECT_STREQ(records.OpenOptions.password, "elevenchars");
  EXPECT_EQ(records.OpenOptions.trace, 0);
  EXPECT_STREQ(records.OpenOptions.destination, "QAS");
  EXPECT_STREQ(records.OpenOptions.client, "100");
  EXPECT_STREQ(records.OpenOptions.language, "E");
}

TEST(Logon, ModeR2SelectsTheGatewayRecord) {
  const std::vector<std::pair<std::string, int>> modes = {{"R/2", 1}, {"R/3", 0}, {"r/2", 0}, {"", 0}};
  for (const auto& [mode, expected] : modes) {
    SCOPED_TRACE(mode);
    LogonRecords records;
    ProfileData profile = Profile();
    profile.Mode = mode;
    FillOpenOptions(profile, {}, records);
    EXPECT_EQ(records.OpenOptions.mode, expected);
    if (expected == 1) {
      EXPECT_EQ(records.OpenOptions.connopt, &records.GatewayParams);
      EXPECT_STREQ(records.GatewayParams.gateway_service, "sapgw12");
    } else {
      EXPECT_EQ(records.OpenOptions.connopt, &records.ServerParams);
      EXPECT_STREQ(records.ServerParams.hostname, "qashost");
    }
  }
}

TEST(Logon, EmptyTextsAreNoneAndEmptySysnrIsZeroWhateverCameBefore) {
  LogonRecords records;
  ProfileData profile = Profile();
  FillOpenOptions(profile, {}, records);
  EXPECT_EQ(records.ServerParams.sysnr, 12);
  profile.Hostname.clear();
  profile.Gwhost.clear();
  profile.Gwservice.clear();
  profile.Sysnr.clear();
  FillOpenOptions(profile, {}, records);
  EXPECT_EQ(records.ServerParams.hostname, nullptr);
  EXPECT_EQ(records.ServerParams.gateway_host, nullptr);
  EXPECT_EQ(records.ServerParams.gateway_service, nullptr);
  EXPECT_EQ(records.ServerParams.sysnr, 0);
}

TEST(Logon, HostAndNumberOptionsOverrideTheProfile) {
  const std::vector<std::tuple<std::string, std::string, int>> cases = {
      {"X,HOST=OtherHost,NO=07", "OtherHost", 7},
      {",host=lower ,no=3", "lower", 3},
      {",NO=05", "qashost", 5},
      {"HOST=x NO=9", "qashost", 12},
  };
  for (const auto& [options, host, number] : cases) {
    SCOPED_TRACE(options);
    LogonRecords records;
    FillOpenOptions(Profile(), std::get<OptionWords>(ReadOptionWords(options)).logon, records);
    EXPECT_STREQ(records.ServerParams.hostname, host.c_str());
    EXPECT_EQ(records.ServerParams.sysnr, number);
  }
}

}  // namespace
}  // namespace tavorine
