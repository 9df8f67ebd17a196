#include "config/profile_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>

#include "config/password_codec.h"
#include "config/profile_key.h"

namespace tavorine {
namespace {

using std::string_literals::operator""s;

const std::string kEncodedSecret = EncodePassword("secret", 7);

// The encoded value with its two length digits replaced; the check digit
// covers only the body, so the value still decodes.
std::string WithLengthDigits(std::string value, std::string_view digits) {
  value[2] = static_cast<char>(digits[0] ^ kProfileKey[2]);
  value[3] = static_cast<char>(digits[1] ^ kProfileKey[3]);
  return value;
}

// The value with another check digit.
std::string WithWrongCheckDigit(std::string value) {
  const char digit = static_cast<char>(value[0] ^ kProfileKey[0]);
  value[0] = static_cast<char>((digit == '9' ? '0' : digit + 1) ^ kProfileKey[0]);
  return value;
}

std::string Line(std::string_view label, std::string_view value) {
  return std::string(label) + " " + std::string(value);
}

// A profile the sensor accepts, one line each, in the usual order.
std::vector<std::string> ValidLines() {
  return {Line("Extcompany.:", "Tavorine"), Line("Destination:", "SYS"),          Line("Client.....:", "100"),
          Line("User.......:", "monitor"),  Line("Password...:", kEncodedSecret), Line("Language...:", "E"),
          Line("Mode.......:", "A3x"),      Line("Hostname...:", "host1"),        Line("Sysnr......:", "00"),
          Line("Gwhost.....:", "gw1"),      Line("Gwservice..:", "sapgw00")};
}

std::string Joined(const std::vector<std::string>& lines, std::string_view lineEnd = "\n") {
  std::string text;
  for (const std::string& line : lines) text += line + std::string(lineEnd);
  return text;
}

// The valid profile with extra lines after it.
std::string ValidWith(const std::vector<std::string>& extra) {
  std::vector<std::string> lines = ValidLines();
  lines.insert(lines.end(), extra.begin(), extra.end());
  return Joined(lines);
}

// The valid profile without the line of one label.
std::vector<std::string> ValidWithout(std::string_view label) {
  std::vector<std::string> lines;
  for (const std::string& line : ValidLines()) {
    if (line.rfind(label, 0) != 0) lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> Reversed(std::vector<std::string> lines) {
  std::reverse(lines.begin(), lines.end());
  return lines;
}

using Expected = std::pair<std::string ProfileData::*, std::string>;

struct ReaderCase {
  std::string name;
  std::string text;
  std::string message;  // empty: accepted
  std::vector<Expected> fields;
  PasswordFaultHandling handling = PasswordFaultHandling::StopReading;
};

const std::string k1003 = "Error 1003: Invalid Parameter(s) at X.P00 found...";
const std::string k1004 = "Error 1004: Invalid Password in Profile X.P00 found...";
const std::string k1005 = "Error 1005: Wrong Password in Profile X.P00 found...";
const std::string k1006 = "Error 1006: Username in Profile X.P00 is missing...";
const std::string k1007 = "Error 1007: Password in Profile X.P00 is missing...";

std::vector<ReaderCase> Cases() {
  const std::string bad23 = Line("Password...:", kEncodedSecret.substr(0, 23));
  const std::string bad25 = Line("Password...:", kEncodedSecret + "A");
  const std::string longLine = std::string(159, 'x') + Line("Gwservice..:", "sapgw99");
  return {
      {"usual order",
       ValidWith({}),
       "",
       {{&ProfileData::Extcompany, "Tavorine"},
        {&ProfileData::Destination, "SYS"},
        {&ProfileData::Client, "100"},
        {&ProfileData::User, "MONITOR"},
        {&ProfileData::Password, "secret"},
        {&ProfileData::Language, "E"},
        {&ProfileData::Mode, "A3x"},
        {&ProfileData::Hostname, "host1"},
        {&ProfileData::Sysnr, "00"},
        {&ProfileData::Gwhost, "gw1"},
        {&ProfileData::Gwservice, "sapgw00"}}},
      {"any order, comments and blank lines",
       Joined({"* comment", ""}) + Joined(Reversed(ValidLines())) + "# end\n",
       "",
       {{&ProfileData::Client, "100"}, {&ProfileData::Password, "secret"}, {&ProfileData::Extcompany, "Tavorine"}}},
      {"CR LF line ends", Joined(ValidLines(), "\r\n"), "", {{&ProfileData::Gwservice, "sapgw00"}}},
      {"no final line end",
       ValidWith({}).substr(0, ValidWith({}).size() - 1),
       "",
       {{&ProfileData::Gwservice, "sapgw00"}}},
      {"empty file", "", k1006, {}},
      {"missing Gwservice", Joined(ValidWithout("Gwservice")), k1003, {{&ProfileData::Gwservice, ""}}},
      {"no separator eats a character", ValidWith({"Client.....:100"}), k1003, {{&ProfileData::Client, "00"}}},
      {"lower-case label ignored", ValidWith({"client.....: 999"}), "", {{&ProfileData::Client, "100"}}},
      {"trailing blank kept", ValidWith({"Language...: D "}), "", {{&ProfileData::Language, "D "}}},
      {"leading blanks kept and counted", ValidWith({"Client.....:  10"}), "", {{&ProfileData::Client, " 10"}}},
      {"repeated label, last wins",
       ValidWith({"Sysnr......: 01", "Sysnr......: 02"}),
       "",
       {{&ProfileData::Sysnr, "02"}}},
      {"field at its capacity",
       ValidWith({"Destination: ABCDEFGHIJK"}),
       "",
       {{&ProfileData::Destination, "ABCDEFGHIJK"}}},
      {"field beyond its capacity refused", ValidWith({"Destination: ABCDEFGHIJKL"}), k1003, {}},
      {"value beyond character 73 ignored",
       ValidWith({"Extcompany.: " + std::string(60, 'e') + "ZZZ"}),
       "",
       {{&ProfileData::Extcompany, std::string(60, 'e')}}},
      {"long line read in pieces", ValidWith({longLine}), "", {{&ProfileData::Gwservice, "sapgw99"}}},
      {"short line has empty value", ValidWith({"Hostname...:"}), k1003, {{&ProfileData::Hostname, ""}}},
      {"NUL ends the line's text", ValidWith({"Hostname...: ho\0st"s}), "", {{&ProfileData::Hostname, "ho"}}},
      {"binary junk lines ignored",
       ValidWith({"\x01\xFF\x80\x7F junk \0\0\r"s}),
       "",
       {{&ProfileData::User, "MONITOR"}}},
      {"empty password value",
       Joined(ValidWithout("Password")) + "Password...:\n",
       k1007,
       {{&ProfileData::Password, ""}}},
      {"empty password line clears", ValidWith({"Password...: "}), k1007, {}},
      {"empty password repaired later", ValidWith({"Password...: ", Line("Password...:", kEncodedSecret)}), "", {}},
      {"password of 23 characters",
       Joined({bad23, Line("Password...:", kEncodedSecret), Line("User.......:", "u1")}),
       k1004,
       {{&ProfileData::User, ""}}},
      {"password of 25 characters", ValidWith({bad25, "Sysnr......: 99"}), k1004, {{&ProfileData::Sysnr, "00"}}},
      {"wrong check digit", ValidWith({Line("Password...:", WithWrongCheckDigit(kEncodedSecret))}), k1005, {}},
      {"length digits 00", ValidWith({Line("Password...:", WithLengthDigits(kEncodedSecret, "00"))}), k1007, {}},
      {"length digits 01",
       ValidWith({Line("Password...:", WithLengthDigits(kEncodedSecret, "01"))}),
       k1003,
       {{&ProfileData::Password, "s"}}},
      {"bad password, reading on",
       ValidWith({bad23, "Sysnr......: 99"}),
       k1004,
       {{&ProfileData::Password, "secret"}, {&ProfileData::Sysnr, "99"}},
       PasswordFaultHandling::ReadOn},
  };
}

ProfileReading Read(const std::string& text, PasswordFaultHandling handling) {
  TextStream stream(text);
  return ReadProfile(stream, kSingleProfilePieceLength, handling);
}

std::string MessageOf(const ProfileReading& reading) {
  return reading.fault ? ProfileFaultMessage(*reading.fault, "X.P00").message : "";
}

TEST(ProfileReader, Grammar) {
  for (const ReaderCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    const ProfileReading reading = Read(c.text, c.handling);
    EXPECT_EQ(MessageOf(reading), c.message);
    for (const auto& [member, value] : c.fields) EXPECT_EQ(reading.data.*member, value);
  }
}

// Whatever the bytes, the reader ends with fields within their capacities or
// a numbered message; it never reads or writes out of bounds.
TEST(ProfileReader, SurvivesRandomBytes) {
  std::mt19937 random(1003);
  const std::string valid = ValidWith({});
  for (int round = 0; round < 2000; ++round) {
    std::string text = valid;
    for (int flips = 0; flips < 8; ++flips) {
      text[std::uniform_int_distribution<std::size_t>(0, text.size() - 1)(random)] = static_cast<char>(random());
    }
    const ProfileReading reading = Read(text, PasswordFaultHandling::StopReading);
    if (reading.fault) {
      EXPECT_EQ(MessageOf(reading).rfind("Error 100", 0), 0U) << MessageOf(reading);
    } else {
      EXPECT_LE(reading.data.Destination.size(), 11U);
    }
  }
}

}  // namespace
}  // namespace tavorine
