// The Win32 shell answers on the window's thread, through its messages, once the opener's
// thread is done; a document nothing can open comes back with the system's reason.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include "win32/shell.h"

namespace rsf::win32 {
namespace {

TEST(Win32ShellTest, AnswersThroughTheMessageLoopWithTheReason) {
  Win32Shell shell;
  std::optional<platform::OpenOutcome> outcome;
  shell.OpenDocument("C:\\no-such-folder-of-rsf-tests\\clip.avi",
                     [&](const platform::OpenOutcome& answer) { outcome = answer; });
  EXPECT_FALSE(outcome) << "the answer never comes during the call";
  for (int round = 0; round < 1000 && !outcome; ++round) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    ::Sleep(10);
  }
  ASSERT_TRUE(outcome);
  EXPECT_NE(outcome->error, 0u);
}

}  // namespace
}  // namespace rsf::win32
