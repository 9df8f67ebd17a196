#include "field_value.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "packed_decimal.h"

namespace rfcsim {
namespace {

std::string Bytes(std::initializer_list<unsigned> values) {
  std::string bytes;
  for (unsigned value : values) bytes += static_cast<char>(value);
  return bytes;
}

struct PackedCase {
  std::string text;
  uint32_t length;
  uint32_t decimals;
  std::optional<std::string> expected;
};

TEST(EncodePacked, DigitsTwoPerByteWithSignNibbleLast) {
  const std::vector<PackedCase> cases = {
      {"0", 8, 0, Bytes({0, 0, 0, 0, 0, 0, 0, 0x0C})},
      {"12345", 3, 0, Bytes({0x12, 0x34, 0x5C})},
      {"-12345", 3, 0, Bytes({0x12, 0x34, 0x5D})},
      {"-12.5", 6, 1, Bytes({0, 0, 0, 0, 0x12, 0x5D})},
      {"12.5", 6, 2, Bytes({0, 0, 0, 0x01, 0x25, 0x0C})},
      {"0.00125", 8, 5, Bytes({0, 0, 0, 0, 0, 0, 0x12, 0x5C})},
      {"1.5", 8, 5, Bytes({0, 0, 0, 0, 0x01, 0x50, 0x00, 0x0C})},
      {"-0", 2, 0, Bytes({0x00, 0x0C})},
      {"007", 1, 0, Bytes({0x7C})},
      {"999999999999999", 8, 0, Bytes({0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x9C})},
      {"1000000000000000", 8, 0, std::nullopt},
      {"100", 1, 0, std::nullopt},
      {"1.25", 6, 1, std::nullopt},
      {"1.", 6, 1, std::nullopt},
      {".5", 6, 1, Bytes({0, 0, 0, 0, 0, 0x5C})},
      {"", 6, 1, std::nullopt},
      {"-", 6, 1, std::nullopt},
      {"1e3", 6, 1, std::nullopt},
      {"+1", 6, 1, std::nullopt},
      {" 1", 6, 1, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text + " in " + std::to_string(c.length) + "," + std::to_string(c.decimals));
    EXPECT_EQ(EncodePacked(c.text, c.length, c.decimals), c.expected);
  }
}

TEST(EncodeField, CharactersDatesAndTimesAreBlankPaddedText) {
  const KnownField chars{"DBSYS", 0, 10, 0, 0, ""};
  const KnownField date{"FS_A_DATE", 1, 8, 0, 10, ""};
  const KnownField time{"FS_A_TIME", 3, 6, 0, 18, ""};
  EXPECT_EQ(EncodeField(chars, "DB4").bytes, "DB4       ");
  EXPECT_EQ(EncodeField(chars, "").bytes, std::string(10, ' '));
  EXPECT_EQ(EncodeField(chars, "ABCDEFGHIJK").problem, "11 characters, at most 10 fit");
  EXPECT_EQ(EncodeField(date, "20221208").bytes, "20221208");
  EXPECT_EQ(EncodeField(date, "").bytes, std::string(8, ' '));
  EXPECT_FALSE(EncodeField(date, "2022-12-08").problem.empty());
  EXPECT_FALSE(EncodeField(date, "2022120").problem.empty());
  EXPECT_EQ(EncodeField(time, "175418").bytes, "175418");
  EXPECT_FALSE(EncodeField(time, "17:54").problem.empty());
}

TEST(EncodeField, IntegersInTheMachinesOwnOrderAndRange) {
  const KnownField int4{"TAB_MIS_DD", 8, 4, 0, 84, ""};
  const KnownField int2{"TYPE", 9, 2, 0, 0, ""};
  int32_t four = 0;
  std::memcpy(&four, EncodeField(int4, "-7").bytes.data(), 4);
  EXPECT_EQ(four, -7);
  std::memcpy(&four, EncodeField(int4, "2147483647").bytes.data(), 4);
  EXPECT_EQ(four, 2147483647);
  int16_t two = 0;
  std::memcpy(&two, EncodeField(int2, "-32768").bytes.data(), 2);
  EXPECT_EQ(two, -32768);
  EXPECT_EQ(EncodeField(int2, "12").bytes.size(), 2u);
  for (const char* bad : {"2147483648", "", "1.5", "x", "12 "}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(EncodeField(int4, bad).problem.empty());
  }
  EXPECT_FALSE(EncodeField(int2, "32768").problem.empty());
}

}  // namespace
}  // namespace rfcsim
