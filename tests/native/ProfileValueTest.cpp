#include "core/ProfileValue.h"

#include <gtest/gtest.h>

namespace {

struct IntCase {
  const char* text;
  int32_t expected;  // read with default 77
};

TEST(ProfileValue, IntegersInDecimalAndHexadecimal) {
  const IntCase cases[] = {
      {"1000", 1000},       {"-20", -20},           {"+5", 5},
      {"$3E8", 1000},       {"0x3e8", 1000},        {"0X3E8", 1000},
      {"$FFFFFFFF", -1},    {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"", 77},             {"abc", 77},            {"12a", 77},
      {"0x", 77},           {"$", 77},              {"2147483648", 77},
      {"$100000000", 77},   {"1 000", 77},          {"-", 77},
      {"0", 0},             {"00012", 12},          {"$0", 0},
      // A sign belongs to decimal numbers only: hexadecimal begins with its prefix.
      {"-$10", 77},         {"+$10", 77},           {"-0x10", 77},
      {"+0X10", 77},        {"$-10", 77},           {"0x-1", 77},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(profile::ReadInt(c.text, 77), c.expected) << '"' << c.text << '"';
  }
}

TEST(ProfileValue, BooleansAreIntegersThatAreTrueWhenNotZero) {
  EXPECT_TRUE(profile::ReadBool("1", false));
  EXPECT_TRUE(profile::ReadBool("2", false));
  EXPECT_TRUE(profile::ReadBool("-1", false));
  EXPECT_TRUE(profile::ReadBool("$10", false));
  EXPECT_FALSE(profile::ReadBool("0", true));
  EXPECT_TRUE(profile::ReadBool("yes", true));    // a word gives the default
  EXPECT_FALSE(profile::ReadBool("true", false));
  EXPECT_FALSE(profile::ReadBool("", false));
  EXPECT_EQ(profile::FormatBool(true), "1");
  EXPECT_EQ(profile::FormatInt(-5), "-5");
}

}  // namespace
