#include "config/password_codec.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

#include "config/profile_key.h"

namespace tavorine {
namespace {

// The order in which the decoder takes the 20 body bytes, written out rather
// than computed so that a slip in the codec's index arithmetic shows.
constexpr std::array<std::size_t, 20> kReadOrder = {0, 19, 1, 18, 2, 17, 3, 16, 4, 15,
                                                    5, 14, 6, 13, 7, 12, 8, 11, 9, 10};

// A "Password...:" value built by hand: header is the plain 4-character
// header (check digit, key offset, two length digits); read holds the body
// bytes in reading order (missing ones are zero).
std::string HandEncoded(std::string_view header, std::string_view read) {
  std::array<char, 20> body{};
  for (std::size_t i = 0; i < read.size(); ++i) body[kReadOrder[i]] = read[i];
  const std::size_t offset = static_cast<std::size_t>(header[1] - '0');
  std::string value;
  for (std::size_t i = 0; i < 4; ++i) value += static_cast<char>(header[i] ^ kProfileKey[i]);
  for (std::size_t i = 0; i < 20; ++i) value += static_cast<char>(body[i] ^ kProfileKey[offset + i]);
  return value;
}

struct DecodeCase {
  std::string name;
  std::string value;
  std::variant<std::string, PasswordFault> expected;
};

TEST(PasswordCodec, DecodesHandBuiltValues) {
  using std::string_literals::operator""s;
  const std::vector<DecodeCase> cases = {
      // 'p' 112 + 'w' 119 = 231: check digit 1.
      {"two characters", HandEncoded("1002", "pw"), "pw"s},
      {"other key offset", HandEncoded("1902", "pw"), "pw"s},
      // 'a' 97 + 'b' 98 + 'c' 99 = 294.
      {"zero body bytes are skipped", HandEncoded("4003", "a\0b\0\0c"s), "abc"s},
      {"length beyond the body gives all of it", HandEncoded("3099", "xyz"), "xyz"s},
      {"length 00 gives the empty password", HandEncoded("5000", "ab"), ""s},
      // The filler after the password counts for the check digit: 97+98+49+50 = 294.
      {"filler counts for the check digit", HandEncoded("4502", "ab12"), "ab"s},
      // Only digits and letters count: 97 + 98 = 195.
      {"other characters do not count", HandEncoded("5003", "a!b"), "a!b"s},
      // 'A' 65 to 'T' 84: 1490.
      {"full body", HandEncoded("0320", "ABCDEFGHIJKLMNOPQRST"), "ABCDEFGHIJKLMNOPQRST"s},
      {"wrong check digit", HandEncoded("2002", "pw"), PasswordFault::Wrong},
      {"length 23", HandEncoded("1002", "pw").substr(0, 23), PasswordFault::Invalid},
      {"length 25", HandEncoded("1002", "pw") + "A", PasswordFault::Invalid},
      {"empty", "", PasswordFault::Invalid},
      {"check digit no digit", HandEncoded("x002", "pw"), PasswordFault::Invalid},
      {"offset no digit", HandEncoded("1:02", "pw"), PasswordFault::Invalid},
      {"length digit no digit", HandEncoded("100 ", "pw"), PasswordFault::Invalid},
      {"plain text", "abcdefghijklmnopqrstuvwx", PasswordFault::Invalid},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DecodePassword(c.value), c.expected);
  }
}

TEST(PasswordCodec, KeyKeepsEncodedValuesPrintable) {
  for (const std::uint8_t byte : kProfileKey) EXPECT_TRUE(byte == 0x01 || byte == 0x1F);
}

std::string RandomPassword(std::mt19937& random) {
  std::string password(std::uniform_int_distribution<std::size_t>(2, 20)(random), ' ');
  std::uniform_int_distribution<int> character(0x20, 0x7E);
  for (char& c : password) {
    do c = static_cast<char>(character(random));
    while (c == '~' || c == '`');
  }
  return password;
}

TEST(PasswordCodec, EncodedPasswordsArePrintableAndDecode) {
  std::mt19937 random(20220829);
  for (int round = 0; round < 5000; ++round) {
    const std::string password = RandomPassword(random);
    const auto seed = static_cast<std::uint32_t>(random());
    SCOPED_TRACE(password + " seed " + std::to_string(seed));
    ASSERT_EQ(PasswordRefusal(password), "");
    const std::string value = EncodePassword(password, seed);
    ASSERT_EQ(value.size(), kEncodedPasswordLength);
    for (const char c : value) ASSERT_TRUE(c >= 0x20 && c <= 0x7E) << static_cast<int>(c);
    ASSERT_EQ(DecodePassword(value), (std::variant<std::string, PasswordFault>(password)));
  }
}

TEST(PasswordCodec, RefusesWhatAProfileCannotHold) {
  EXPECT_NE(PasswordRefusal(""), "");
  EXPECT_NE(PasswordRefusal("x"), "");
  EXPECT_NE(PasswordRefusal(std::string(21, 'a')), "");
  EXPECT_EQ(PasswordRefusal(std::string(20, 'a')), "");
  EXPECT_EQ(PasswordRefusal(" !}{|Zz09"), "");
  using std::string_literals::operator""s;
  for (const std::string& bad : {"a~b"s, "`"s, "tab\there"s, "del\x7F"s, "caf\xC3\xA9"s, "nul\0"s}) {
    SCOPED_TRACE(bad);
    EXPECT_NE(PasswordRefusal(bad), "");
  }
}

}  // namespace
}  // namespace tavorine
