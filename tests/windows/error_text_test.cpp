// The system's message texts through FormatMessageA: a known code has one, an unknown one none.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/error_text.h"

namespace {

TEST(WindowsErrorTextTest, KnownCodesHaveTheSystemsTextUnknownOnesNone) {
  const auto known = rsf::platform::SystemErrorMessage(ERROR_FILE_NOT_FOUND);
  ASSERT_TRUE(known.has_value());
  EXPECT_FALSE(known->empty());
  EXPECT_FALSE(rsf::platform::SystemErrorMessage(0x2F3E4D5Cu).has_value())
      << "an unknown code has no message, so the window shows \"未知错误\"";
}

}  // namespace
