// xdg-open as the desktop's "open". It is started without waiting for the program it opens:
// within the first moments it either fails (no program for the type, no such file) or has
// handed over; a run that goes on longer is taken as a success and reaped in the background.
// Its exit codes become errno values, each with the reason in the user's words:
//   1 (bad arguments) EINVAL, 2 (no such file) ENOENT, 3 (no program for the type: no tool it
//   could hand the file to) and 4 (the program it chose failed) EOPNOTSUPP.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/shell_open.h"

extern char** environ;

namespace rsf::platform {
namespace {

constexpr const char* kOpener = "xdg-open";
constexpr std::chrono::milliseconds kVerdictWait(1500);
constexpr std::chrono::milliseconds kPollInterval(10);

OpenOutcome OutcomeOfExitStatus(int status) {
  if (WIFEXITED(status)) {
    switch (WEXITSTATUS(status)) {
      case 0: return {};
      case 1: return {EINVAL, "打开文件的命令参数有误"};
      case 2: return {ENOENT, "文件不存在"};
      case 3: return {EOPNOTSUPP, "没有与这类文件关联的程序"};
      default: break;
    }
  }
  return {EOPNOTSUPP, "关联的程序未能打开这个文件"};
}

}  // namespace

OpenOutcome OpenWithAssociatedProgram(const std::string& path) {
  if (path.empty()) return {ENOENT, {}};
  std::string program = kOpener;
  std::string argument = path;
  char* arguments[] = {program.data(), argument.data(), nullptr};
  pid_t child = 0;
  const int spawned = ::posix_spawnp(&child, kOpener, nullptr, nullptr, arguments, environ);
  if (spawned != 0) return {static_cast<std::uint32_t>(spawned), {}};

  const auto deadline = std::chrono::steady_clock::now() + kVerdictWait;
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    const pid_t done = ::waitpid(child, &status, WNOHANG);
    if (done == child) return OutcomeOfExitStatus(status);
    if (done < 0 && errno != EINTR) return {};  // reaped elsewhere: it ran, nothing more to learn
    std::this_thread::sleep_for(kPollInterval);
  }
  std::thread([child] {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return {};
}

}  // namespace rsf::platform
