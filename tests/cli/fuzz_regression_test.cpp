// Every input the rsfx option fuzz target found to crash or exhaust rsfx, rebuilt in code.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "cli/option_parsing.h"

namespace rsf::cli {
namespace {

// rsfx_options_fuzzer: "--only" lists of many ranges of up to a million numbers each ran for
// minutes and took gigabytes (each range was bounded, their total was not).
TEST(FuzzRegression, ClipNumberRangesWithoutATotalBound) {
  std::string list;
  for (std::size_t range = 0; range < 400; ++range) {
    if (!list.empty()) list += ",";
    list += std::to_string(range * 1'000'000 + 1) + "-" + std::to_string(range * 1'000'000 + 999'999);
  }
  std::string error;
  EXPECT_FALSE(ParseClipNumbers(list, error));
  EXPECT_EQ(error, "too many clip numbers (at most 1000000)");

  // Up to a million numbers in all are taken, repeats counted as named.
  error.clear();
  const auto most = ParseClipNumbers("1-500000,500001-1000000", error);
  ASSERT_TRUE(most) << error;
  EXPECT_EQ(most->size(), 1'000'000u);
  EXPECT_FALSE(ParseClipNumbers("1-500000,1-500000,7", error));
}

// rsfx_options_fuzzer: "--only 000018446744073709551615", the largest number a clip number can
// hold: the loop over the range 18446744073709551615-18446744073709551615 wrapped to 0 and went
// on inserting numbers until memory ran out.
TEST(FuzzRegression, LargestClipNumber) {
  std::string error;
  const auto one = ParseClipNumbers("000018446744073709551615", error);
  ASSERT_TRUE(one) << error;
  EXPECT_EQ(*one, (std::set<std::size_t>{18446744073709551615u}));
  const auto last = ParseClipNumbers("18446744073709551610-18446744073709551615", error);
  ASSERT_TRUE(last) << error;
  EXPECT_EQ(last->size(), 6u);
  EXPECT_EQ(*last->rbegin(), 18446744073709551615u);
  EXPECT_FALSE(ParseClipNumbers("18446744073709551616", error)) << "one more does not fit";
}

}  // namespace
}  // namespace rsf::cli
